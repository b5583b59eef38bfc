#include "filecopy.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>

bool isSameFile(const QString &first, const QString &second)
{
    // From UTF-8: a wide string would be converted through the C++ locale, which is "C" in the
    // program, and a Cyrillic name would throw.
    std::error_code error;
    const bool same = std::filesystem::equivalent(std::filesystem::u8path(first.toStdString()),
                                                  std::filesystem::u8path(second.toStdString()), error);
    return !error && same;
}

ReplaceResult replaceWithCopy(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return ReplaceResult::CopyFailed;
    QSaveFile out(destination);
    out.setDirectWriteFallback(false);
    // Unbuffered, so a full disk shows at the write that hits it, not at the rename.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return ReplaceResult::CannotReplace;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0 || out.write(buffer, got) != got) {
            out.cancelWriting();
            return ReplaceResult::CopyFailed;
        }
    }
    // A copy carries the source's permissions, as QFile::copy gives them.
    const QFile::Permissions permissions = in.permissions();
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
