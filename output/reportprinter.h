#ifndef REPORTPRINTER_H
#define REPORTPRINTER_H

#include <QDateTime>
#include <QStringList>

#include <functional>

class QPrinter;
class QTextDocument;

// Puts one record's report page into the document. Called again for a record whose sheets are
// printed after being counted, so it must give the same page each time.
using ReportFill = std::function<void(int record, QTextDocument &document)>;

struct ReportJob
{
    QStringList fileNames;   // one per record, named in its sheets' footers
    bool fitOnSheet = true;  // shrink a record's page onto one sheet, down to MinimumReportScale
    QDateTime printedAt;
};

constexpr double MinimumReportScale = 0.75;

// Prints every record on sheets of its own, in one print job (a second QTextDocument::print on a
// PDF printer would overwrite the file). Sheets are counted over the whole print; the printer's
// page range, page order, copies and collation select and repeat them. Each sheet carries a
// footer: the file name, the time of printing and "page N of M". Returns the sheets printed.
int printReport(QPrinter *printer, const ReportJob &job, const ReportFill &fill);

#endif // REPORTPRINTER_H
