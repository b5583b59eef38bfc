#ifndef REPORTPRINTER_H
#define REPORTPRINTER_H

#include <QPainter>

class QPrinter;
class QTextDocument;

// Prints report pages one document after another in a single print job, each document starting
// on a new sheet and laid out as QTextDocument::print lays it out (2 cm margins, page numbers).
// One job keeps every page: a second QTextDocument::print on a PDF printer would overwrite
// the file with only its own pages.
class ReportPrinter
{
public:
    explicit ReportPrinter(QPrinter *printer);
    ~ReportPrinter();

    bool isActive() const { return painter.isActive(); }
    void printDocument(const QTextDocument &document);

private:
    QPrinter *printer;
    QPainter painter;
    bool firstSheet = true;
};

#endif // REPORTPRINTER_H
