#include "filehead.h"

#include <QDir>
#include <QDirIterator>
#include <QString>

#include <windows.h>

namespace {

HANDLE asHandle(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

// FILE_FLAG_RANDOM_ACCESS turns the cache manager's readahead off for this handle. Directories
// cannot be opened without FILE_FLAG_BACKUP_SEMANTICS; pipes and devices fail the type check.
FileHead::FileHead(const QString &path)
    : handle(reinterpret_cast<qintptr>(INVALID_HANDLE_VALUE))
{
    const QString native = QDir::toNativeSeparators(path);
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    result = Outcome::Opened;
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A directory cannot be opened so: its refusal reads as a denied access.
        const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t *>(native.utf16()));
        result = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Outcome::Missing
                 : attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                     ? Outcome::Directory
                 : error == ERROR_ACCESS_DENIED ? Outcome::Denied
                                                : Outcome::Failed;
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
        result = Outcome::NotRegular;
    }
    handle = reinterpret_cast<qintptr>(file);
}

FileHead::FileHead(const FileFolder &folder, const QString &name)
    : FileHead(folder.path + QLatin1Char('/') + name)
{
}

FileFolder::FileFolder(const QString &path)
    : path(path)
    , handle(-1)
{
}

FileFolder::~FileFolder() = default;

FileHead::~FileHead()
{
    if (isOpen())
        CloseHandle(asHandle(handle));
}

FileHead::Outcome FileHead::outcome() const
{
    return result;
}

bool FileHead::isOpen() const
{
    return asHandle(handle) != INVALID_HANDLE_VALUE;
}

qint64 FileHead::read(char *buffer, qint64 size)
{
    if (!isOpen())
        return -1;
    qint64 done = 0;
    while (done < size) {
        DWORD got = 0;
        const DWORD wanted = DWORD(qMin<qint64>(size - done, 1 << 30));
        if (!ReadFile(asHandle(handle), buffer + done, wanted, &got, nullptr))
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

QStringList regularFileNames(const QString &directory, const QString &suffix)
{
    QStringList names;
    QDirIterator it(directory, QStringList(QLatin1Char('*') + suffix), QDir::Files);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    return names;
}
