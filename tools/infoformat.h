#ifndef INFOFORMAT_H
#define INFOFORMAT_H

#include <QString>
#include <QStringList>
#include <QVector>

#include "records/recordsummary.h"

// The inspector's text and JSON forms; its CSV form is shared with the window.
QString textEntry(const FileInfo &info);
QString jsonEntry(const FileInfo &info);
QString jsonString(const QString &text);

#endif // INFOFORMAT_H
