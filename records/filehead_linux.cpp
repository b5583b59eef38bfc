#include "filehead.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// open, fstat, fadvise, the reads, close: nothing else per file. O_NONBLOCK keeps the open of a
// named pipe without a writer from blocking; it changes nothing for a regular file.
FileHead::FileHead(const QString &path)
    : handle(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK))
{
    struct stat info;
    if (handle >= 0 && (::fstat(int(handle), &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(int(handle));
        handle = -1;
    }
    if (handle >= 0)
        ::posix_fadvise(int(handle), 0, 0, POSIX_FADV_RANDOM);
}

FileHead::~FileHead()
{
    if (handle >= 0)
        ::close(int(handle));
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
