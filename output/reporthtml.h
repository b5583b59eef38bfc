#ifndef REPORTHTML_H
#define REPORTHTML_H

#include <QImage>
#include <QString>

class QTableWidget;
class QTextDocument;
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

// The page's picture is not a file URL, which the document would read with no limit and in
// whatever format the contents suggest: it is decoded as the window decodes it and handed to
// the document under this name.
constexpr char ReportPictureName[] = "scanlet-picture:ascan";
// The picture of an A-scan file as printed: a picture that cannot be shown is a blank box.
QImage reportPicture(const QString &path);
void addReportPicture(QTextDocument &document, const QString &path);

// One report page. Texts from the file are escaped, so they print exactly as they are written.
QString reportPageHtml(const ReportPage &page);
QString settingsHtml(QTableWidget *table);
QString tableHtml(QTableWidget *table, const QString &caption);
QTextStream &tableRowHtml(QTextStream &out, const QString &left, const QString &right);

// A local file path as the value of an HTML src attribute.
QString imageSource(const QString &path);

#endif // REPORTHTML_H
