#include "cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QCloseEvent>
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLocale>
#include <QPrinter>
#include <QToolButton>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTextStream>

#include <cmath>

#include "acquisition/devicewatcher.h"
#include "app/dialogs.h"
#include "app/programfiles.h"
#include "records/globals.h"
#include "acquisition/instrumentplatform.h"
#include "output/filecopy.h"
#include "output/savedirstore.h"
#include "records/ascanfile.h"
#include "records/recordsummary.h"

CDataManager::CDataManager(QWidget *parent, Qt::WindowFlags flags, bool translationLoaded)
    : QMainWindow(parent, flags)
    , ui(new Ui::CDataManagerTempl)
{
    ui->setupUi(this);
    // The icon file is looked for in the working directory; started from the desktop menu there is
    // none, so the compiled-in copy of the same picture stands in.
    if (!QFileInfo::exists(QStringLiteral("tarnwell.ico")))
        setWindowIcon(QIcon(QStringLiteral(":/scanlet/images/tarnwell.ico")));
    // The styles live as long as the application, which deletes them at exit.
    auto *windowStyle = new QProxyStyle(QStyleFactory::create(QStringLiteral("fusion")));
    windowStyle->setParent(QCoreApplication::instance());
    setStyle(windowStyle);
    auto *stripStyle = new QProxyStyle(QStyleFactory::create(QStringLiteral("windows")));
    stripStyle->setParent(QCoreApplication::instance());
    ui->fileListWidget->setStyle(stripStyle);
    ui->fileListWidget->setSelectionMode(QAbstractItemView::ExtendedSelection);

    loadingDialog = nullptr;
    dlg_infoSave = nullptr;
    devicePath.clear();
    isLoading = false;
    this->translationLoaded = translationLoaded;

    readSaveDir();
    logoPath = programFilesDir() + QStringLiteral("/TARNWELL_logo_bw.bmp");
    if (!QFileInfo::exists(logoPath))
        logoPath.clear();
    resetSettings(settings);

    createConnections();
    setToolTips();
    setAccessibleNames();
    addShortcuts();

    platform = makeInstrumentPlatform();
    deviceWatcher = createDeviceWatcher(this);
    connect(deviceWatcher, SIGNAL(deviceArrived()), this, SLOT(slot_deviceArrived()));
    connect(deviceWatcher, SIGNAL(deviceRemoved()), this, SLOT(slot_deviceRemoved()));

    if (detectInstrument()) {
        loadFromDevice();
        updateDeviceButton();
    }
}

CDataManager::~CDataManager()
{
    delete loadingDialog;
    delete dlg_infoSave;
    delete printer;
    delete ui;
}

void CDataManager::createConnections()
{
    connect(ui->tbtn_gotoDevice, SIGNAL(clicked()), this, SLOT(slot_loadDataFromDevice()));
    connect(ui->tbtn_open, SIGNAL(clicked()), this, SLOT(slot_loadDataDir()));
    connect(ui->tbtn_save, SIGNAL(clicked()), this, SLOT(slot_saveSelectedData()));
    connect(ui->tbtn_print, SIGNAL(clicked()), this, SLOT(slot_printRequested()));
    connect(ui->btn_shiftRight, SIGNAL(clicked()), ui->fileListWidget, SLOT(slot_btn_shiftRight_clicked()));
    connect(ui->btn_shiftLeft, SIGNAL(clicked()), ui->fileListWidget, SLOT(slot_btn_shiftLeft_clicked()));
    connect(ui->fileListWidget->horizontalScrollBar(), SIGNAL(valueChanged(int)), this,
            SLOT(slot_fileListScrollBarChanged(int)));
    connect(ui->fileListWidget->horizontalScrollBar(), SIGNAL(rangeChanged(int,int)), this,
            SLOT(slot_fileListScrollBarRangeChanged(int,int)));
    connect(ui->fileListWidget, SIGNAL(filesSelectionChanged(QString)), this,
            SLOT(slot_filesSelectionChanged(QString)));
    connect(ui->tbtn_help, SIGNAL(clicked()), this, SLOT(slot_showHelp()));
    connect(ui->tbtn_info, SIGNAL(clicked()), this, SLOT(slot_showInfoAbout()));
    connect(ui->fileListWidget->copySettingsAction(), SIGNAL(triggered()), this, SLOT(slot_copySettings()));
    connect(ui->fileListWidget->exportSettingsAction(), SIGNAL(triggered()), this, SLOT(slot_exportSettings()));
    connect(ui->fileListWidget->printPreviewAction(), SIGNAL(triggered()), this, SLOT(slot_previewReport()));
    connect(ui->fileListWidget->reportDetailsAction(), SIGNAL(triggered()), this, SLOT(slot_editReportDetails()));
    // Beside the print button, where printing starts, the same details on every platform.
    auto *details = new QToolButton(ui->grpb_buttons);
    details->setObjectName(QStringLiteral("tbtn_reportDetails"));
    details->setDefaultAction(ui->fileListWidget->reportDetailsAction());
    details->setAutoRaise(true);
    details->setGeometry(210, 10, details->sizeHint().width() + 8, 40);
}

void CDataManager::setToolTips()
{
    ui->tbtn_gotoDevice->setToolTip(tr("Load Data From Connected Device"));
    ui->tbtn_open->setToolTip(tr("Open File"));
    ui->tbtn_save->setToolTip(tr("Save Selected Files"));
    ui->tbtn_print->setToolTip(tr("Print Selected Files"));
    ui->tbtn_help->setToolTip(tr("View Help"));
    ui->tbtn_info->setToolTip(tr("About Program"));
}

void CDataManager::setAccessibleNames()
{
    // The buttons show only icons: screen readers read these names.
    for (QToolButton *button : {ui->tbtn_gotoDevice, ui->tbtn_open, ui->tbtn_save, ui->tbtn_print,
                                ui->tbtn_help, ui->tbtn_info})
        button->setAccessibleName(button->toolTip());
    ui->btn_shiftLeft->setAccessibleName(tr("Previous"));
    ui->btn_shiftRight->setAccessibleName(tr("Next"));
}

QString CDataManager::saveDirFilePath()
{
    // Installed system-wide, the program's folder is no place for a user's file, even for root.
    if (!programFilesBeside())
        return QString();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/scanlet_savedir");
}

QString CDataManager::userSaveDirFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/scanlet_savedir");
}

void CDataManager::readSaveDir()
{
    saveDir.clear();
    const QString line = readSaveDirLine(saveDirFilePath(), userSaveDirFilePath());
    if (!line.isEmpty() && QDir(line).exists())
        saveDir = line;
    dataDir = saveDir;
}

void CDataManager::writeLine(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QTextStream out(&file);
    out << text << '\n';
    out.flush();
    file.close();
}

int CDataManager::computeRowHeight(int height, int lineWidth, int rows)
{
    const double d = double(height - lineWidth * (rows - 1)) / rows;
    int r;
    if (d >= 0) {
        r = int(d + 0.5);
    } else {
        const int t = int(d - 1);
        r = int(d - t + 0.5) + t;
    }
    const int e = rows * r - height;
    if (std::abs(e) <= 10)
        return r;
    return e > 0 ? r - 1 : r + 1;
}

void CDataManager::enableOutputButtons(bool enable)
{
    ui->tbtn_save->setEnabled(enable);
    ui->tbtn_print->setEnabled(enable);
}

void CDataManager::updateDeviceButton()
{
    ui->tbtn_gotoDevice->setEnabled(!devicePath.isEmpty());
}

void CDataManager::updateShiftButtons()
{
    CListWidgetHeir *strip = ui->fileListWidget;
    ui->btn_shiftLeft->setEnabled(strip->scrollValue >= 1);
    ui->btn_shiftRight->setEnabled(strip->horizontalScrollBar()->maximum() > strip->scrollValue);
}

void CDataManager::slot_fileListScrollBarChanged(int value)
{
    ui->fileListWidget->scrollValue = value;
    updateShiftButtons();
}

void CDataManager::slot_fileListScrollBarRangeChanged(int, int max)
{
    if (max != 0)
        updateShiftButtons();
}

QString CDataManager::readTitle(const QString &path) const
{
    return ::readTitle(path);
}

int CDataManager::readRecord(const QString &path)
{
    return ::readRecord(path, settings);
}

void CDataManager::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        slot_showHelp();
}

void CDataManager::resizeEvent(QResizeEvent *)
{
    QTableWidget *table = ui->tableWidget;
    const int lineWidth = table->lineWidth();
    table->setColumnWidth(0, table->width() - lineWidth - 120);
    table->setColumnWidth(1, 120);
    const int rows = table->rowCount();
    const int rowHeight = computeRowHeight(table->height(), lineWidth, rows);
    for (int row = 0; row < rows; ++row)
        table->setRowHeight(row, rowHeight);
}

void CDataManager::closeEvent(QCloseEvent *event)
{
    writeSaveDirLine(saveDirFilePath(), userSaveDirFilePath(), saveDir);
    event->accept();
}

bool CDataManager::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    switch (decodeNativeDeviceEvent(eventType, message)) {
    case DeviceChange::Arrival: handleDeviceArrival(); break;
    case DeviceChange::Removal: handleDeviceRemoval(); break;
    case DeviceChange::None: break;
    }
    return QWidget::nativeEvent(eventType, message, result);
}

void CDataManager::slot_deviceArrived()
{
    handleDeviceArrival();
}

void CDataManager::slot_deviceRemoved()
{
    handleDeviceRemoval();
}

void CDataManager::slot_copySettings()
{
    // Numbers in the locale's form, so they paste as numbers and not as dates.
    const QStringList paths = ui->fileListWidget->selectedFilesInStripOrder();
    if (!paths.isEmpty())
        QGuiApplication::clipboard()->setText(spreadsheetTable(paths, {QLocale(), QLatin1Char('\t')}));
}

void CDataManager::slot_exportSettings()
{
    const QStringList paths = ui->fileListWidget->selectedFilesInStripOrder();
    if (paths.isEmpty())
        return;
    const QString start = (saveDir.isEmpty() ? dataDir : saveDir) + QStringLiteral("/settings.csv");
    const QString spreadsheet = tr("CSV for spreadsheets (*.csv)"), programs = tr("CSV (RFC 4180) (*.csv)");
    QString kind = spreadsheet;
    const QString path = Dialogs::current().getSaveFileName(this, tr("Export Settings"), start,
                                                            spreadsheet + QStringLiteral(";;") + programs, &kind);
    if (path.isEmpty())
        return;
    const QByteArray contents = kind == programs ? settingsTable(paths).toUtf8() : spreadsheetFile(paths);
    if (!writeFileSafely(path, contents))
        Dialogs::current().warning(this, productName, tr("Couldn't write the file \"%1\"!").arg(path));
}
