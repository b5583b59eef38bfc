#ifndef INFOFORMAT_H
#define INFOFORMAT_H

#include <QString>
#include <QStringList>
#include <QVector>

#include "records/settingsrows.h"

// What the inspector knows of one file.
struct FileInfo
{
    enum Kind { Record, TitleOnly, NotAscan };
    QString file;                // the argument as given
    Kind kind = NotAscan;
    QString title;
    QString configuration;
    QVector<SettingsRow> rows;   // the settings table's rows, when the record was read
};

FileInfo inspectFile(const QString &path);

QString textEntry(const FileInfo &info);
QString jsonEntry(const FileInfo &info);
QString jsonString(const QString &text);

// Fixed CSV columns: file, title, configuration, date, time, then one per setting.
QStringList csvColumns();
QString csvHeader();
QString csvLine(const FileInfo &info);
QString csvField(const QString &text);

#endif // INFOFORMAT_H
