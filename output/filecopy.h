#ifndef FILECOPY_H
#define FILECOPY_H

#include <QByteArray>
#include <QFile>
#include <QString>

// Opens `file` on `path` for reading when, and only when, it is a regular file (or a link to
// one): a named pipe or a device is refused at once, never waited on or read.
bool openRegularFile(QFile &file, const QString &path);

// True when both paths name the same existing directory entry, whatever the spelling of their
// folders. A symbolic link is an entry of its own, never the file it points at.
bool isSameFile(const QString &first, const QString &second);

// Replaces `destination` by a copy of `source` without ever losing the old file: the copy is
// written to a temporary file beside the destination and renamed over it only when complete.
// On failure the destination is unchanged and no temporary file is left. CannotReplace means
// the destination's place could not be written at all (the counterpart of a failed removal).
// A destination that is a symbolic link is replaced itself; its target is left alone. Only a
// regular file is copied: any other source is a failed copy.
enum class ReplaceResult { Replaced, CopyFailed, CannotReplace };
ReplaceResult replaceWithCopy(const QString &source, const QString &destination);

// Writes `bytes` to `path` through a temporary file renamed over it only when complete: on
// failure an existing file keeps its contents.
bool writeFileSafely(const QString &path, const QByteArray &bytes);

#endif // FILECOPY_H
