#ifndef REPORTPRINTER_H
#define REPORTPRINTER_H

#include <QDateTime>
#include <QImage>
#include <QStringList>

#include <functional>

class QPrinter;
class QTextDocument;

// Puts one record's report page into the document, all but its picture, which the printing adds
// (ReportPictureName) when the record's sheets are painted.
using ReportFill = std::function<void(int record, QTextDocument &document)>;
// Told of each record laid out and each sheet painted, of `total` steps; false cancels the print.
using ReportProgress = std::function<bool(int done, int total)>;

struct ReportJob
{
    QStringList fileNames;   // one per record: its picture, and its name in its sheets' footers
    bool fitOnSheet = true;  // shrink a record's page onto one sheet, down to MinimumReportScale
    QDateTime printedAt;
    QImage logo;             // the letterhead's (ReportLogoName), the same for every page
    QString title;           // the PDF's title
};

constexpr double MinimumReportScale = 0.75;

// Prints every record on sheets of its own, in one print job (a second QTextDocument::print on a
// PDF printer would overwrite the file). Sheets are counted over the whole print; the printer's
// page range, page order, copies and collation select and repeat them. Each sheet carries a
// footer: the file name, the time of printing and "page N of M". Pictures go in at most at the
// printer's resolution, and no finer than 300 dpi. Returns the sheets printed. When the progress
// cancels, `cancelled` is set, a PDF being written is removed and the printer's job withdrawn where
// the platform can; the sheets that still went to the printer are returned.
int printReport(QPrinter *printer, const ReportJob &job, const ReportFill &fill,
                const ReportProgress &progress = ReportProgress(), bool *cancelled = nullptr);
// The height in pixels of a picture printed on this printer.
int reportPictureHeight(QPrinter *printer);
// The file a report is offered to be saved as: "Scanlet report 2026-12-07.pdf" in the folder.
QString reportFileName(const QString &folder, const QDate &date);

#endif // REPORTPRINTER_H
