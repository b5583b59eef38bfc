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
    QString signatures;          // signatureHtml(), at the page's end; empty: nothing
};

// The page's picture is not a file URL, which the document would read with no limit and in
// whatever format the contents suggest: it is decoded as the window decodes it and handed to
// the document under this name. Its box has a fixed size, so a page is laid out, and its
// sheets counted, without decoding the picture.
constexpr char ReportPictureName[] = "scanlet-picture:ascan";
const QSize ReportPictureBox(300, 400);
// The letterhead's logo, one image for every page, so that a PDF holds it once.
constexpr char ReportLogoName[] = "scanlet-picture:logo";
// The picture of an A-scan file as printed, in the box's proportions (a picture of others is
// centred on white) and at most `maxHeight` pixels high (0: as large as it is); a picture that
// cannot be shown is a blank box.
QImage reportPicture(const QString &path, int maxHeight = 0);
void addReportPicture(QTextDocument &document, const QString &path, int maxHeight = 0);

// One report page. Texts from the file are escaped, so they print exactly as they are written.
QString reportPageHtml(const ReportPage &page);
QString settingsHtml(QTableWidget *table);
QString tableHtml(QTableWidget *table, const QString &caption);
QTextStream &tableRowHtml(QTextStream &out, const QString &left, const QString &right);

#endif // REPORTHTML_H
