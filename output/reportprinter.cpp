#include "reportprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <vector>

#include "output/reporthtml.h"
#include "records/globals.h"

namespace {

constexpr int MaxPictureDpi = 300;

struct Sheet
{
    int record;
    int page;
};

// The sheet as QTextDocument::print uses it: the printable area, 2 cm frame margins.
struct Geometry
{
    QSizeF size;
    qreal margin;
};

// Lays the document out at `scale`, its frame margins staying 2 cm on paper; returns its pages.
int layOut(QTextDocument &document, QPrinter *printer, const Geometry &sheet, qreal scale)
{
    document.documentLayout()->setPaintDevice(printer);
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(sheet.margin / scale);
    document.rootFrame()->setFrameFormat(frame);
    document.setPageSize(sheet.size / scale);
    return document.pageCount();
}

// The scale at which the record's page fits on one sheet; 1 when it fits as it is, or when it
// would have to shrink below the minimum and therefore runs on.
qreal fittingScale(QTextDocument &document, QPrinter *printer, const Geometry &sheet, bool fit)
{
    if (layOut(document, printer, sheet, 1) == 1 || !fit)
        return 1;
    document.setPageSize(QSizeF(sheet.size.width(), -1));
    const qreal content = document.documentLayout()->documentSize().height() - 2 * sheet.margin;
    // Laid out wider, the content only gets shorter; a few tries absorb rounding at page breaks.
    for (qreal scale = (sheet.size.height() - 2 * sheet.margin) / content; scale >= MinimumReportScale;
         scale *= 0.98) {
        if (layOut(document, printer, sheet, scale) == 1)
            return scale;
    }
    layOut(document, printer, sheet, 1);
    return 1;
}

void paintPage(QPainter &painter, QTextDocument &document, const Geometry &sheet, qreal scale, int page)
{
    const QSizeF size = sheet.size / scale;
    painter.save();
    painter.scale(scale, scale);
    painter.translate(0, -page * size.height());
    const QRectF view(0, page * size.height(), size.width(), size.height());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    // Paper is white: the screen palette's text colour may be light (a dark desktop theme).
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

// File name left, time of printing centred, page number right, in the bottom margin.
void paintFooter(QPainter &painter, QPrinter *printer, const Geometry &sheet, const QStringList &texts)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(QFont(font, printer));
    painter.setPen(Qt::black);
    const qreal width = (sheet.size.width() - 2 * sheet.margin) / texts.size();
    const qreal top = sheet.size.height() - sheet.margin + 5 * printer->logicalDpiY() / 72.0;
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF box(sheet.margin + i * width, top, width, painter.fontMetrics().height());
        const QString text = painter.fontMetrics().elidedText(texts.at(i), Qt::ElideMiddle, int(width) - 8);
        painter.drawText(box, int(alignments[i] | Qt::AlignTop), text);
    }
    painter.restore();
}

void addPicture(QTextDocument &document, const QImage &picture)
{
    document.addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(ReportPictureName)), picture);
}

} // namespace

int reportPictureHeight(QPrinter *printer)
{
    // A PDF takes any resolution; a printer's finest is the most it can show.
    int dpi = MaxPictureDpi;
    if (printer->outputFormat() == QPrinter::NativeFormat) {
        const QList<int> resolutions = printer->supportedResolutions();
        if (!resolutions.isEmpty())
            dpi = std::min(dpi, *std::max_element(resolutions.cbegin(), resolutions.cend()));
    }
    // The document measures the box in pixels of a 96-dpi screen.
    return (ReportPictureBox.height() * dpi + 95) / 96;
}

QString reportFileName(const QString &folder, const QDate &date)
{
    const QString name = QCoreApplication::translate("CDataManager", "Scanlet report %1.pdf")
                             .arg(date.toString(Qt::ISODate));
    return QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name);
}

int printReport(QPrinter *printer, const ReportJob &job, const ReportFill &fill, const ReportProgress &progress,
                bool *cancelled)
{
    // As QTextDocument::print: a printer without margins gets 2 mm, so nothing lies on the edge.
    if (printer->pageLayout().margins(QPageLayout::Millimeter).isNull())
        printer->setPageMargins(QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter);
    const Geometry sheet{QSizeF(printer->width(), printer->height()), (2 / 2.54) * printer->logicalDpiY()};
    const int records = job.fileNames.size();
    const auto stop = [&](int done, int total) {
        const bool stopped = progress && !progress(done, total);
        if (cancelled)
            *cancelled = stopped;
        return stopped;
    };

    // Each record laid out once, without its picture; the layouts are kept for painting.
    QVector<qreal> scales;
    QVector<Sheet> sheets;
    std::vector<std::unique_ptr<QTextDocument>> documents;
    for (int record = 0; record < records; ++record) {
        if (stop(record, 2 * records))
            return 0;
        documents.push_back(std::make_unique<QTextDocument>());
        QTextDocument &document = *documents.back();
        document.addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(ReportLogoName)), job.logo);
        fill(record, document);
        scales << fittingScale(document, printer, sheet, job.fitOnSheet);
        for (int page = 0, pages = document.pageCount(); page < pages; ++page)
            sheets.append({record, page});
    }

    // The page range counts over the whole print, as the toolkit's document printing does.
    const int total = sheets.size();
    int from = printer->fromPage(), to = printer->toPage();
    if (from == 0 && to == 0)
        to = total;
    from = std::max(from, 1);
    to = std::min(to, total);
    if (to < from)
        return 0;
    QVector<int> order;
    for (int number = from; number <= to; ++number)
        order << number;
    if (printer->pageOrder() == QPrinter::LastPageFirst)
        std::reverse(order.begin(), order.end());
    // A printer that makes copies itself gets one; otherwise every copy is painted.
    const int copies = printer->supportsMultipleCopies() ? 1 : std::max(1, printer->copyCount());
    QVector<int> numbers;
    for (int copy = 0; copy < copies && printer->collateCopies(); ++copy)
        numbers += order;
    for (int i = 0; i < order.size() && !printer->collateCopies(); ++i)
        numbers += QVector<int>(copies, order.at(i));

    printer->setDocName(job.title);
    printer->setCreator(QStringLiteral("%1 %2.%3").arg(productName).arg(SCANLET_VERSION_MAJOR).arg(SCANLET_VERSION_MINOR));
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const QString printedAt = QLocale().toString(job.printedAt, QLocale::ShortFormat);
    const int pictureHeight = reportPictureHeight(printer);
    int pictured = -1;
    int printed = 0;
    for (const int number : numbers) {
        if (stop(records + printed, records + numbers.size())) {
            // A half-written PDF is removed; a printer's job is withdrawn where the platform can.
            const bool pdf = printer->outputFormat() == QPrinter::PdfFormat;
            const bool withdrawn = printer->abort();
            painter.end();
            if (pdf && !printer->outputFileName().isEmpty() && QFile::remove(printer->outputFileName()))
                return 0;
            return withdrawn ? 0 : printed;
        }
        if (printed > 0 && !printer->newPage())
            break;
        const Sheet &at = sheets.at(number - 1);
        if (at.record != pictured) {
            // Only the picture of the record being painted is held.
            if (pictured >= 0)
                addPicture(*documents.at(pictured), QImage());
            addReportPicture(*documents.at(at.record), job.fileNames.at(at.record), pictureHeight);
            pictured = at.record;
        }
        paintPage(painter, *documents.at(at.record), sheet, scales.at(at.record), at.page);
        paintFooter(painter, printer, sheet,
                    {QFileInfo(job.fileNames.at(at.record)).fileName(), printedAt,
                     QCoreApplication::translate("CDataManager", "page %1 of %2").arg(number).arg(total)});
        ++printed;
    }
    painter.end();
    return printed;
}
