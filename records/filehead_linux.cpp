#include "filehead.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// O_NONBLOCK keeps the open of a named pipe without a writer from blocking; it changes nothing
// for a regular file.
constexpr int ReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

FileHead::Outcome failedOpen()
{
    switch (errno) {
    case ENOENT:
    case ENOTDIR: return FileHead::Outcome::Missing;
    case EACCES:
    case EPERM: return FileHead::Outcome::Denied;
    default: return FileHead::Outcome::Failed;
    }
}

// fstat, fadvise: nothing else per file besides the open, the reads and the close.
qintptr regularOnly(int descriptor, FileHead::Outcome &outcome)
{
    struct stat info{};
    if (descriptor < 0) {
        outcome = failedOpen();
        return -1;
    }
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        outcome = S_ISDIR(info.st_mode) ? FileHead::Outcome::Directory : FileHead::Outcome::NotRegular;
        ::close(descriptor);
        return -1;
    }
    outcome = FileHead::Outcome::Opened;
    if (descriptor >= 0)
        ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_RANDOM);
    return descriptor;
}

// The smallest read a device takes; a device of larger sectors refuses it, and the read falls back.
constexpr qint64 Sector = 512;
constexpr qint64 DirectMost = 4096;
// Looking at the cache costs a few reads' worth of time, so it is looked at once in so many files.
constexpr int LookEvery = 64;

// Whether the page of the file's first bytes is in the system's cache; mapping it reads nothing.
bool firstPageCached(int descriptor)
{
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    void *map = ::mmap(nullptr, page, PROT_READ, MAP_SHARED, descriptor, 0);
    if (map == MAP_FAILED)
        return false;
    unsigned char resident = 0;
    const bool cached = ::mincore(map, page, &resident) == 0 && (resident & 1) != 0;
    ::munmap(map, page);
    return cached;
}

} // namespace

bool FileFolder::readsDirect(qintptr file) const
{
    if (mode != Reads::Auto)
        return mode == Reads::Direct;
    if (refused)
        return false;
    if (sinceLook++ % LookEvery == 0)
        direct = !firstPageCached(int(file));
    return direct;
}

FileFolder::FileFolder(const QString &path)
    : handle(::open(QFile::encodeName(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

FileFolder::~FileFolder()
{
    if (handle >= 0)
        ::close(int(handle));
}

FileHead::FileHead(const QString &path)
    : handle(regularOnly(::open(QFile::encodeName(path).constData(), ReadFlags), result))
{
}

// A folder that could not be opened has no file to read (openat refuses the descriptor -1).
FileHead::FileHead(const FileFolder &folder, const QString &name)
    : handle(regularOnly(::openat(int(folder.handle), QFile::encodeName(name).constData(), ReadFlags), result))
    , folder(&folder)
{
}

FileHead::~FileHead()
{
    if (handle >= 0)
        ::close(int(handle));
}

FileHead::Outcome FileHead::outcome() const
{
    return result;
}

bool FileHead::isOpen() const
{
    return handle >= 0;
}

qint64 FileHead::read(char *buffer, qint64 size)
{
    if (handle < 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(int(handle), buffer + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

qint64 FileHead::readStart(char *buffer, qint64 size)
{
    if (handle >= 0 && folder && size > 0 && size <= DirectMost && folder->readsDirect(handle)) {
        // A short read is a short file, read again through the cache to tell its end for sure.
        const qint64 got = readDirect(buffer, size);
        if (got == size)
            return got;
        if (got < 0)
            folder->refused = true;
    }
    return read(buffer, size);
}

// One read of whole sectors at the start, into a buffer aligned as the device needs; -1 when it
// is refused. Short of `size`, the descriptor is left as it was for a read through the cache.
qint64 FileHead::readDirect(char *buffer, qint64 size)
{
    const int descriptor = int(handle);
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags | O_DIRECT) != 0)
        return -1;
    alignas(DirectMost) char sectors[DirectMost];
    const qint64 span = (size + Sector - 1) / Sector * Sector;
    ssize_t got;
    do
        got = ::pread(descriptor, sectors, size_t(span), 0);
    while (got < 0 && errno == EINTR);
    if (got < size) {
        ::fcntl(descriptor, F_SETFL, flags);
        return got < 0 ? -1 : got;
    }
    std::memcpy(buffer, sectors, size_t(size));
    return size;
}

QStringList regularFileNames(const QString &directory, const QString &suffix)
{
    QStringList names;
    DIR *entries = ::opendir(QFile::encodeName(directory).constData());
    if (!entries)
        return names;
    const int folder = ::dirfd(entries);
    while (const dirent *entry = ::readdir(entries)) {
        if (entry->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.endsWith(suffix, Qt::CaseInsensitive))
            continue;
        // A link, or a file system that does not tell types: the type of what the name leads to.
        struct stat info;
        if (entry->d_type == DT_REG
            || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
                && ::fstatat(folder, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)))
            names.append(name);
    }
    ::closedir(entries);
    return names;
}
