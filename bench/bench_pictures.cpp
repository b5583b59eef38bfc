// Time and memory of one hostile picture through the frame, a thumbnail or the printed report.
//   bench_pictures frame|thumbnail|report svg-self|svg-fifo|huge|scan-bomb|work-at-limit|truncated|valid
// Run it under /usr/bin/time -v for the peak memory; it prints the wall time and the outcome.
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>
#include <sys/stat.h>

#include "ascanbuilder.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"
#include "views/crespictureframe.h"
#include "views/thumbnailiconengine.h"

namespace {

QByteArray hostile(const QByteArray &kind, const QString &dir)
{
    const QByteArray self = QFile::encodeName(dir + "/1.jpg");
    if (kind == "svg-self")
        return svgInDisguise(self);
    if (kind == "svg-fifo")
        return ::mkfifo(QFile::encodeName(dir + "/fifo").constData(), 0600) == 0
                   ? svgInDisguise(QFile::encodeName(dir + "/fifo")) : QByteArray();
    if (kind == "huge")
        return jpegClaiming(20000, 20000);
    if (kind == "scan-bomb")
        return progressiveJpeg(QSize(4000, 4000), 3000);
    if (kind == "work-at-limit")   // the most scans a grey 4000 x 4000 may still have: 8
        return progressiveJpeg(QSize(4000, 4000), 8);
    AscanFields ascan;
    if (kind == "truncated")
        ascan.truncateAt = 2000;
    return kind == "valid" || kind == "truncated" ? buildAscan(ascan) : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 2 ? argv[1] : "", kind = argc > 2 ? argv[2] : "";
    QTemporaryDir dir;
    const QString path = dir.path() + "/1.jpg";
    const QByteArray bytes = hostile(kind, dir.path());
    if (bytes.isEmpty() || !writeBytes(path, bytes)) {
        std::fprintf(stderr, "usage: bench_pictures frame|thumbnail|report "
                             "svg-self|svg-fifo|huge|scan-bomb|work-at-limit|truncated|valid\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    bool shown = false;
    if (mode == "frame") {
        CResPictureFrame frame;
        shown = frame.loadImage(path);
    } else if (mode == "thumbnail") {
        shown = !thumbnailIcon(path).pixmap(QSize(80, 60)).isNull();
    } else if (mode == "report") {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.path() + "/report.pdf");
        ReportPage page;
        page.filePath = path;
        page.title = QStringLiteral("Bench");
        page.settingsMissing = true;
        shown = printReport(&printer, {{path}, true, QDateTime::currentDateTime()},
                            [&](int, QTextDocument &document) {
                                document.setHtml(reportPageHtml(page));
                                addReportPicture(document, path);
                            }) > 0;
    } else {
        return 2;
    }
    std::printf("%s %s: %lld ms, %s (%d bytes)\n", mode.constData(), kind.constData(),
                static_cast<long long>(clock.elapsed()), shown ? "shown" : "refused", int(bytes.size()));
    return 0;
}
