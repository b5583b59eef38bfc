#ifndef RECORDSUMMARY_H
#define RECORDSUMMARY_H

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include "records/settingsrows.h"

// What is known of one file without its picture: its title and its settings table's rows.
struct FileInfo
{
    // Record: read in full; the rest say what went wrong. NoAscans: a folder without any.
    enum Kind { Record, TitleOnly, NotAscan, Missing, Directory, Unreadable, NotRegular, NoAscans };
    QString file;                // the path as given
    Kind kind = NotAscan;
    QString title;
    QString configuration;
    QVector<SettingsRow> rows;   // the settings table's rows, when the record was read
};

FileInfo inspectFile(const QString &path);
// What went wrong, as the error field says it; empty for a record read in full.
QString errorText(FileInfo::Kind kind);

// Fixed columns: file, title, configuration, date, time, one per setting, then error. Lines end in
// CRLF; a field holding the separator or a quote is quoted (RFC 4180). A control character is
// written as \xHH, and a field a spreadsheet would take for a formula (one beginning with =, +,
// -, @, a tab or a carriage return) gets a leading ', unless it is a plain number.
QStringList csvColumns();
QString csvHeader(QChar separator = QLatin1Char(','));
QString csvLine(const FileInfo &info, QChar separator = QLatin1Char(','));
QString csvField(const QString &text, QChar separator = QLatin1Char(','));
// The header and one line per file, in the given order.
QString settingsTable(const QStringList &files, QChar separator = QLatin1Char(','));

// The same table for a spreadsheet in the user's locale: headings and texts as the window shows
// them, numbers with the locale's decimal mark, dates as the locale writes them. Where the decimal
// mark is a comma, fields are separated by ';', as spreadsheets there expect.
struct SpreadsheetDialect
{
    QLocale locale;
    QChar separator;
};
SpreadsheetDialect spreadsheetDialect(const QLocale &locale = QLocale());
QString spreadsheetTable(const QStringList &files, const SpreadsheetDialect &dialect);
// The locale's short form of a date with the year in full: "04.01.2024", "1/4/2024".
QString fullYearDate(const QDate &date, const QLocale &locale);
// The file a spreadsheet opens: UTF-8 with a byte-order mark, without which Cyrillic is misread.
QByteArray spreadsheetFile(const QStringList &files, const SpreadsheetDialect &dialect = spreadsheetDialect());

#endif // RECORDSUMMARY_H
