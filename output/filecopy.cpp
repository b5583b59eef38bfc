#include "filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The path of the directory entry itself: its folder resolved, its own name kept, so that a
// symbolic link is its own entry and not the file it points at. Empty when nothing is there.
QString entryPath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + info.fileName();
}

// Copies the rest of `in` into `out`; false on any error.
bool copyData(QFile &in, QFileDevice &out)
{
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0 || out.write(buffer, got) != got)
            return false;
    }
}

// A link is replaced by a complete copy written beside it: the link goes only once the copy
// is there, and whatever it points at is never opened for writing.
ReplaceResult replaceLink(QFile &in, QFile::Permissions permissions, const QString &link)
{
    QTemporaryFile part(link);
    if (!part.open())
        return ReplaceResult::CannotReplace;
    if (!copyData(in, part) || !part.flush())
        return ReplaceResult::CopyFailed;
    part.setPermissions(permissions);
    if (!QFile::remove(link))
        return ReplaceResult::CannotReplace;
    part.setAutoRemove(false);
    if (!part.rename(link)) {
        part.remove();
        return ReplaceResult::CopyFailed;
    }
    return ReplaceResult::Replaced;
}

} // namespace

bool openRegularFile(QFile &file, const QString &path)
{
#ifdef Q_OS_WIN
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) && !file.isSequential();
#else
    // Without blocking, as a named pipe without a writer would; checked on the descriptor, so
    // nothing put in the file's place after a check on its path is read.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info{};
    if (descriptor >= 0 && ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode))
        return file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (descriptor >= 0)
        ::close(descriptor);
    return false;
#endif
}

bool isSameFile(const QString &first, const QString &second)
{
    // Compared as Qt resolves them: nothing here leaves QString, whatever the names hold.
    const QString a = entryPath(first);
#ifdef Q_OS_WIN
    return !a.isEmpty() && a.compare(entryPath(second), Qt::CaseInsensitive) == 0;
#else
    return !a.isEmpty() && a == entryPath(second);
#endif
}

ReplaceResult replaceWithCopy(const QString &source, const QString &destination)
{
    QFile in;
    if (!openRegularFile(in, source))
        return ReplaceResult::CopyFailed;
    if (QFileInfo(destination).isSymLink())
        return replaceLink(in, QFileInfo(source).permissions(), destination);
    QSaveFile out(destination);
    out.setDirectWriteFallback(false);
    // Unbuffered, so a full disk shows at the write that hits it, not at the rename.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return ReplaceResult::CannotReplace;
    if (!copyData(in, out)) {
        out.cancelWriting();
        return ReplaceResult::CopyFailed;
    }
    // A copy carries the source's permissions, as QFile::copy gives them.
    const QFile::Permissions permissions = QFileInfo(source).permissions();
    if (!out.commit())
        return ReplaceResult::CannotReplace;
    QFile::setPermissions(destination, permissions);
    return ReplaceResult::Replaced;
}

bool writeFileSafely(const QString &path, const QByteArray &bytes)
{
    QSaveFile out(path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
