#ifndef REPORTHTML_H
#define REPORTHTML_H

#include <QString>

class QTableWidget;
class QTextStream;

struct ReportPage
{
    QString filePath;
    bool settingsMissing = false;
    QString logoPath;            // empty: no letterhead
    QString title;
    QString configurationName;
    QString settingsTable;       // settingsHtml() of the page's table; used unless settingsMissing
    QString details;             // reportDetailsHtml(), under the letterhead; empty: nothing
};

// One report page. Texts from the file are escaped, so they print exactly as they are written.
QString reportPageHtml(const ReportPage &page);
QString settingsHtml(QTableWidget *table);
QString tableHtml(QTableWidget *table, const QString &caption);
QTextStream &tableRowHtml(QTextStream &out, const QString &left, const QString &right);

// A local file path as the value of an HTML src attribute.
QString imageSource(const QString &path);

#endif // REPORTHTML_H
