#include "filehead.h"

#include <QDir>
#include <QDirIterator>
#include <QString>

#include <cstring>

#include <windows.h>

namespace {

HANDLE asHandle(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

constexpr DWORD Sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr int DirectMost = 4096;

// Opens a regular file and says how it went: a directory's refusal reads as a denied access, so
// its attributes tell it apart.
HANDLE openForReading(const QString &path, DWORD flags, FileHead::Outcome &result)
{
    const QString native = QDir::toNativeSeparators(path);
    const auto name = reinterpret_cast<const wchar_t *>(native.utf16());
    HANDLE file = CreateFileW(name, GENERIC_READ, Sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | flags, nullptr);
    result = FileHead::Outcome::Opened;
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(name);
        result = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileHead::Outcome::Missing
                 : attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                     ? FileHead::Outcome::Directory
                 : error == ERROR_ACCESS_DENIED ? FileHead::Outcome::Denied
                                                : FileHead::Outcome::Failed;
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
        result = FileHead::Outcome::NotRegular;
    }
    return file;
}

} // namespace

// FILE_FLAG_RANDOM_ACCESS turns the cache manager's readahead off for this handle. Directories
// cannot be opened without FILE_FLAG_BACKUP_SEMANTICS; pipes and devices fail the type check.
FileHead::FileHead(const QString &path)
    : handle(reinterpret_cast<qintptr>(openForReading(path, FILE_FLAG_RANDOM_ACCESS, result)))
{
}

FileHead::FileHead(const FileFolder &folder, const QString &name)
    : handle(reinterpret_cast<qintptr>(INVALID_HANDLE_VALUE))
    , folder(&folder)
    , unbuffered(folder.readsDirect(0))
{
    const QString path = folder.path + QLatin1Char('/') + name;
    handle = reinterpret_cast<qintptr>(openForReading(path, unbuffered ? FILE_FLAG_NO_BUFFERING
                                                                       : FILE_FLAG_RANDOM_ACCESS, result));
}

// Windows cannot tell whether a file is cached: the cache is passed by on removable disks only,
// the instrument's kind, where the bytes cost most; fixed disks keep their cache.
FileFolder::FileFolder(const QString &path)
    : path(path)
    , handle(-1)
{
    wchar_t volume[MAX_PATH + 1];
    const QString native = QDir::toNativeSeparators(QDir(path).absolutePath());
    if (!GetVolumePathNameW(reinterpret_cast<const wchar_t *>(native.utf16()), volume, MAX_PATH + 1))
        return;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    direct = GetDriveTypeW(volume) == DRIVE_REMOVABLE
             && GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)
             && bytesPerSector > 0 && bytesPerSector <= DWORD(DirectMost);
    if (direct)
        sector = int(bytesPerSector);
}

bool FileFolder::readsDirect(qintptr) const
{
    if (mode != Reads::Auto)
        return mode == Reads::Direct;
    return direct && !refused;
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

qint64 FileHead::readStart(char *buffer, qint64 size)
{
    if (unbuffered && isOpen()) {
        const qint64 got = size <= DirectMost ? readDirect(buffer, size) : -1;
        if (got == size)
            return got;
        if (got < 0)
            folder->refused = true;
        // Reading past the cache needs sector-aligned reads: the fallback opens the file again.
        HANDLE again = ReOpenFile(asHandle(handle), GENERIC_READ, Sharing, FILE_FLAG_RANDOM_ACCESS);
        CloseHandle(asHandle(handle));
        handle = reinterpret_cast<qintptr>(again);
        unbuffered = false;
    }
    return read(buffer, size);
}

// One read of whole sectors at the start into a buffer aligned to a page, as unbuffered reads
// need; -1 when it is refused.
qint64 FileHead::readDirect(char *buffer, qint64 size)
{
    alignas(DirectMost) char sectors[DirectMost];
    const qint64 sector = folder->sector;
    const DWORD span = DWORD((size + sector - 1) / sector * sector);
    DWORD got = 0;
    if (span > DWORD(DirectMost) || !ReadFile(asHandle(handle), sectors, span, &got, nullptr))
        return -1;
    if (qint64(got) >= size)
        std::memcpy(buffer, sectors, size_t(size));
    return qMin<qint64>(got, size);
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
