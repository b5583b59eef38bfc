#include "reportprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

ReportPrinter::ReportPrinter(QPrinter *printer)
    : printer(printer)
{
    // As QTextDocument::print: a printer without margins gets 2 mm, so nothing lies on the edge.
    const QMarginsF margins = printer->pageLayout().margins(QPageLayout::Millimeter);
    if (margins.isNull())
        printer->setPageMargins(QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter);
    painter.begin(printer);
}

ReportPrinter::~ReportPrinter()
{
    if (painter.isActive())
        painter.end();
}

void ReportPrinter::printDocument(const QTextDocument &document)
{
    if (!painter.isActive())
        return;
    std::unique_ptr<QTextDocument> doc(document.clone());
    doc->documentLayout()->setPaintDevice(printer);
    const int dpiY = printer->logicalDpiY();
    const int margin = int((2 / 2.54) * dpiY);
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setMargin(margin);
    doc->rootFrame()->setFrameFormat(frame);
    const QRectF body(0, 0, printer->width(), printer->height());
    doc->setPageSize(body.size());
    const QPointF pageNumberPos(body.width() - margin,
                                body.height() - margin
                                    + QFontMetrics(doc->defaultFont(), printer).ascent() + 5 * dpiY / 72.0);

    const int pages = doc->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (!firstSheet && !printer->newPage())
            return;
        firstSheet = false;
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        const QRectF view(0, page * body.height(), body.width(), body.height());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        // Paper is white: the screen palette's text colour may be light (a dark desktop theme).
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        painter.save();
        painter.setFont(doc->defaultFont());
        const QString number = QString::number(page + 1);
        painter.drawText(pageNumberPos - QPointF(painter.fontMetrics().horizontalAdvance(number), 0), number);
        painter.restore();
    }
}
