#ifndef INFOFORMAT_H
#define INFOFORMAT_H

#include <QString>
#include <QStringList>
#include <QVector>

#include "records/settingsrows.h"

// What the inspector knows of one file.
struct FileInfo
{
    // Record: read in full; the rest say what went wrong, worst first.
    enum Kind { Record, TitleOnly, NotAscan, Missing, Directory, Unreadable };
    QString file;                // the argument as given
    Kind kind = NotAscan;
    QString title;
    QString configuration;
    QVector<SettingsRow> rows;   // the settings table's rows, when the record was read
};

FileInfo inspectFile(const QString &path);
// The arguments with each folder replaced by its A-scans in the window's strip order (a folder
// without any stays, and is reported as a directory).
QStringList expandFolders(const QStringList &arguments);
// What went wrong, as the error field says it; empty for a record read in full.
QString errorText(FileInfo::Kind kind);

QString textEntry(const FileInfo &info);
QString jsonEntry(const FileInfo &info);
QString jsonString(const QString &text);

// Fixed CSV columns: file, title, configuration, date, time, one per setting, then error.
QStringList csvColumns();
QString csvHeader();
QString csvLine(const FileInfo &info);
QString csvField(const QString &text);

#endif // INFOFORMAT_H
