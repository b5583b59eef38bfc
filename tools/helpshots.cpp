// scanlet-helpshots: draws the help pages' pictures of the main window, its toolbar and its strip
// from the real window in one language; with --dialogs it instead shows the window on the screen
// with its file dialog and its overwrite question open and saves the whole screen each time (run
// under Xvfb). Usage: scanlet-helpshots en|ru OUTDIR [--dialogs]
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QTextStream>
#include <QTimer>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanwriter.h"
#include "output/reportdetails.h"
#include "ui_cdatamanager.h"

namespace {

// The A-scans the pictures show: numbered with gaps, titled in the picture's language.
const int Numbers[] = {1, 2, 5, 12, 13, 20, 21, 30};

bool writeFolder(const QString &folder, bool russian)
{
    for (int i = 0; i < 8; ++i) {
        AscanFields ascan;
        ascan.title = (russian ? QStringLiteral("Шов %1, зона %2") : QStringLiteral("Weld %1, zone %2"))
                          .arg(Numbers[i] / 5 + 1).arg(Numbers[i]).toUtf8();
        ascan.configurationName = russian ? QByteArray("Трубы 159") : QByteArray("Pipes 159");
        ascan.probeType = quint8(i % 2);
        ascan.referenceSwitch = 0;
        ascan.referenceLevel = qint16(423 - 10 * i);
        ascan.correctionStandard = 11;
        ascan.correctionRoughness = 23;
        ascan.scaleMode = quint8(i % 3);
        ascan.thicknessMm = 5023;
        ascan.time[0] = quint16(9 + i);
        if (!writeAscan(QDir(folder).filePath(QStringLiteral("%1.jpg").arg(Numbers[i])), ascan))
            return false;
    }
    return true;
}

// Answers the first "Open File" with the prepared folder and every directory question with a folder
// that already holds the files; anything else is the real dialog.
class ShotDialogs : public Dialogs
{
public:
    QString firstFile, saveFolder;
    QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return firstFile.isEmpty() ? Dialogs::getOpenFileName(parent, caption, dir, filter) : std::exchange(firstFile, QString());
    }
    QString getExistingDirectory(QWidget *, const QString &, const QString &) override { return saveFolder; }
};

// The toolbar with each button's number beneath it, as the help's table refers to them.
QImage numberedToolbar(Ui::CDataManagerTempl *ui)
{
    const QPixmap bar = ui->grpb_buttons->grab();
    QImage image(bar.width(), bar.height() + 18, QImage::Format_RGB32);
    image.fill(ui->grpb_buttons->palette().window().color());
    QPainter painter(&image);
    painter.drawPixmap(0, 0, bar);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1f, 0x4e, 0x8c));
    int number = 1;
    for (QWidget *button : {ui->tbtn_gotoDevice, ui->tbtn_open, ui->tbtn_save, ui->tbtn_print, ui->tbtn_help, ui->tbtn_info})
        painter.drawText(QRect(button->x(), bar.height() - 4, button->width(), 18), Qt::AlignCenter, QString::number(number++));
    return image;
}

// Saved with a palette, as the help's pictures are kept small.
bool savePicture(const QImage &image, const QString &path)
{
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither).save(path);
}

// The Report Details dialog, filled in as an inspector would.
QImage reportDetails(QWidget *parent)
{
    const bool russian = parent->property("russian").toBool();
    ReportDetails details;
    details.reportNumber = QStringLiteral("R-2026/117");
    details.inspectionDate = QDate(2026, 12, 7);
    details.object = russian ? QStringLiteral("Мост №7, пролёт 3") : QStringLiteral("Bridge 7, span 3");
    details.operatorName = russian ? QStringLiteral("И. Петров") : QStringLiteral("I. Petrov");
    details.certificationLevel = QStringLiteral("UT 2");
    saveReportDetails(details);
    ReportDetailsDialog dialog(parent);
    dialog.adjustSize();
    return dialog.grab().toImage();
}

// Grabs the screen once the modal dialog is up, then closes it.
void shootModal(const QString &path)
{
    QTimer::singleShot(800, [path] {
        QApplication::primaryScreen()->grabWindow(0).save(path);
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    QTextStream err(stderr);
    if (args.size() < 3 || (args.at(1) != QLatin1String("en") && args.at(1) != QLatin1String("ru"))) {
        err << "Usage: scanlet-helpshots en|ru OUTDIR [--dialogs]\n";
        return 2;
    }
    const bool russian = args.at(1) == QLatin1String("ru"), dialogs = args.contains(QStringLiteral("--dialogs"));
    const QDir out(args.at(2));
    if (russian)
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (russian && !installCatalogues(QStringLiteral(SCANLET_QM_DIR), &application)) {
        err << "scanlet-helpshots: the Russian catalogue is not in " SCANLET_QM_DIR "\n";
        return 1;
    }
    // A fixed place, as the window shows the folder's path.
    QDir temp(QDir::temp().filePath(QStringLiteral("Scanlet")));
    temp.removeRecursively();
    const QString folder = temp.filePath(russian ? QStringLiteral("А-сканы") : QStringLiteral("A-scans"));
    const QString saved = temp.filePath(russian ? QStringLiteral("Отчёт") : QStringLiteral("Report"));
    if (!QDir().mkpath(folder) || !QDir().mkpath(saved) || !writeFolder(folder, russian) || !writeFolder(saved, russian)) {
        err << "scanlet-helpshots: cannot write the A-scans\n";
        return 1;
    }
    auto *shotDialogs = new ShotDialogs;
    shotDialogs->firstFile = QDir(folder).filePath(QStringLiteral("1.jpg"));
    shotDialogs->saveFolder = saved;
    Dialogs::install(shotDialogs);
    // The dialog's details go to a settings file of the run's own, not the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, temp.filePath(QStringLiteral("settings")));
    CDataManager window(nullptr, Qt::WindowFlags(), russian);
    window.setProperty("russian", russian);
    window.show();
    QMetaObject::invokeMethod(&window, "slot_loadDataDir");
    Ui::CDataManagerTempl *ui = window.form();
    ui->fileListWidget->clearSelection();
    for (int row : {0, 2})
        ui->fileListWidget->item(row)->setSelected(true);
    QApplication::processEvents();
    const QString suffix = russian ? QStringLiteral("_ru") : QString();
    if (!dialogs) {
        const bool ok = savePicture(window.grab().toImage(), out.filePath("mainwindow" + suffix + ".png"))
                        && (russian || savePicture(numberedToolbar(ui), out.filePath("toolbar.png")))   // no words in it
                        && savePicture(ui->grpb_listWidget->grab().toImage(), out.filePath("strip" + suffix + ".png"))
                        && savePicture(reportDetails(&window), out.filePath("reportdetails" + suffix + ".png"));
        Dialogs::install(nullptr);
        temp.removeRecursively();
        return ok ? 0 : 1;
    }
    shootModal(out.filePath("dialog-open" + suffix + ".png"));
    QMetaObject::invokeMethod(&window, "slot_loadDataDir");
    shootModal(out.filePath("dialog-overwrite" + suffix + ".png"));
    QMetaObject::invokeMethod(&window, "slot_saveSelectedData");
    Dialogs::install(nullptr);
    temp.removeRecursively();
    return 0;
}
