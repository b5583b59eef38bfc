#ifndef INFOFORMAT_H
#define INFOFORMAT_H

#include <QString>
#include <QStringList>

#include "records/recordsummary.h"

// The arguments with each folder replaced by its A-scans in the window's strip order (a folder
// without any stays, and is reported as a directory).
QStringList expandFolders(const QStringList &arguments);

// Text for a terminal: a control character from a file (an escape sequence can clear or
// retitle the terminal) is shown as \xHH instead.
QString shown(const QString &text);

// The inspector's text and JSON forms; its CSV form is shared with the window.
QString textEntry(const FileInfo &info);
QString jsonEntry(const FileInfo &info);
QString jsonString(const QString &text);

#endif // INFOFORMAT_H
