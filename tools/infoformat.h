#ifndef INFOFORMAT_H
#define INFOFORMAT_H

#include <QByteArray>
#include <QString>

#include "records/recordsummary.h"

// Text for a terminal: a control character from a file (an escape sequence can clear or
// retitle the terminal) is shown as \xHH, a character that reorders or breaks the line around
// it (bidirectional overrides and isolates, line and paragraph separators) as \uHHHH, and a
// backslash as \\, so that a title holding the text "\x0a" is told from one holding a newline.
QString shown(const QString &text);

// The inspector's text and JSON forms, appended as UTF-8; its CSV form is shared with the window.
void appendTextEntry(QByteArray &out, const FileInfo &info);
void appendJsonEntry(QByteArray &out, const FileInfo &info);

#endif // INFOFORMAT_H
