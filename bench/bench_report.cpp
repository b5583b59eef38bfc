// Time and size of a printed report through the real window, printed to PDF.
//   bench_report COUNT [--ru] [--details] [--no-fit] [--big | --noise] [--keep FILE.pdf]
// COUNT generated A-scans are loaded, all selected and printed; --big gives each the instrument's
// screen enlarged to 3464 x 4618 (16 megapixels), --noise a 4000 x 4000 pattern that compresses
// as badly as a picture can. Prints the wall time and the PDF's size.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reportdetails.h"
#include "ui_cdatamanager.h"

namespace {

// A picture that compresses as a real screen does not: lines over a fine pattern.
QImage noisePicture()
{
    QImage image(4000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x * 7 + y) & 255, (x ^ y) & 255, (x * y) & 255);
    }
    QPainter(&image).drawEllipse(500, 500, 3000, 3000);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.value(1).toInt();
    if (count <= 0) {
        std::fprintf(stderr, "usage: bench_report COUNT [--ru] [--details] [--no-fit] [--big | --noise] [--keep FILE.pdf]\n");
        return 2;
    }
    const bool russian = args.contains("--ru");
    if (russian) {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        installCatalogues(QStringLiteral(SCANLET_QM_DIR), &app);
    }
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    ReportDetails details;
    if (args.contains("--details")) {
        details.organisation = russian ? "ООО «Мостострой» & К°" : "Bridgeworks & Sons <Ltd>";
        details.object = russian ? "Мост №7, пролёт 3" : "Bridge 7, span 3";
        details.operatorName = russian ? "И. Петров" : "I. Petrov";
        details.notes = russian ? "Сварные швы нижнего пояса.\nВторая строка." : "Welds of the lower chord.\nSecond line.";
        details.reportNumber = "R-2026/117";
        details.inspectionDate = QDate(2026, 12, 7);
        details.place = russian ? "Тверь, депо №2" : "Tver, depot 2";
        details.instrumentSerial = "SN 04172";
        details.procedure = russian ? "ГОСТ Р 55724-2013" : "EN ISO 17640";
        details.acceptanceCriterion = russian ? "Уровень 2" : "Level 2";
        details.certificationLevel = "UT 2";
        details.reviewer = russian ? "А. Сидорова" : "A. Sidorova";
    }
    details.fitOnSheet = !args.contains("--no-fit");
    saveReportDetails(details);
    AscanFields ascan;
    if (args.contains("--big"))
        ascan.picture = instrumentScreen(1, QString()).scaled(3464, 4618, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (args.contains("--noise"))
        ascan.picture = noisePicture();
    for (int i = 1; i <= count; ++i) {
        ascan.title = (russian ? QStringLiteral("Шов %1, зона А") : QStringLiteral("Weld %1, zone A")).arg(i).toUtf8();
        ascan.referenceSwitch = i % 2;
        ascan.frequencyIndex = quint8(i % 16);
        if (!writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), ascan))
            return 1;
    }
    FakeEnvironment environment;
    CDataManager window(nullptr, Qt::WindowFlags(), russian);
    environment.dialogs->openAnswer = dir.filePath("1.jpg");
    QMetaObject::invokeMethod(&window, "slot_loadDataDir");
    window.form()->fileListWidget->selectAll();
    const int keep = args.indexOf("--keep");
    const QString pdf = keep > 0 ? args.value(keep + 1) : dir.filePath("report.pdf");
    environment.dialogs->pdfPath = pdf;

    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&window, "slot_printSelectedData");
    const qint64 ms = clock.elapsed();
    std::printf("%d records%s: %lld ms, PDF %lld bytes\n", count, args.contains("--big") || args.contains("--noise") ? " (16 MP)" : "",
                static_cast<long long>(ms), static_cast<long long>(QFileInfo(pdf).size()));
    return 0;
}
