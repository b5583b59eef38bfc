#ifndef CDATAMANAGER_H
#define CDATAMANAGER_H

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

#include "records/ascansettings.h"

class QDialog;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class DeviceWatcher;
class InstrumentPlatform;
struct ReportDetails;

namespace Ui {
class CDataManagerTempl;
}

// Integer scale factors for high-DPI screens; called before the application is made.
void configureHighDpiScaling();

// The main window: owns all state and receives every user action.
class CDataManager : public QMainWindow
{
    Q_OBJECT

public:
    CDataManager(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags(),
                 bool translationLoaded = false);
    ~CDataManager() override;

    static int computeRowHeight(int height, int lineWidth, int rows);
    static void writeLine(const QString &path, const QString &text);
    static QString saveDirFilePath();
    static QString userSaveDirFilePath();   // where it goes when beside the program cannot be written

    // Reachable without a window elsewhere; the window's own record is the one shown.
    QString readTitle(const QString &path) const;
    int readRecord(const QString &path);
    const AscanSettings &currentSettings() const { return settings; }

    void readSaveDir();
    void enableOutputButtons(bool enable);
    void updateDeviceButton();
    void updateShiftButtons();
    void resetView();
    void fillSettingsTable();
    void setTableCell(int row, int column, const QString &text);

    bool detectInstrument();
    void loadFromDevice();
    void loadFiles(const QString &selectName, const QString &message);
    // From the command line: a folder is loaded; a file is opened as "Open File" opens it.
    void openPath(const QString &path);
    void openFile(const QString &path);
    void showLoadingDialog(const QString &message);
    void closeLoadingDialog();

    // Device changes, from nativeEvent on Windows and from the mount table watcher elsewhere.
    void handleDeviceArrival();
    void handleDeviceRemoval();

    bool copyFileToDir(const QString &filePath, const QString &dirPath);
    void showSavingDialog();

    void showHelpPage(const QString &fileName);
    bool buildAboutWindow();
    QString helpPageName() const;

    // State, read by tests and tools.
    QString dataDirectory() const { return dataDir; }
    QString deviceRoot() const { return devicePath; }
    QString saveDirectory() const { return saveDir; }
    QString reportLogoPath() const { return logoPath; }
    bool loading() const { return isLoading; }
    QDialog *loadingWindow() const { return loadingDialog; }
    QDialog *savingWindow() const { return dlg_infoSave; }
    QWidget *aboutWidget();
    QPrinter *reportPrinter();   // made when first asked for
    bool hasPrinter() const { return printer != nullptr; }
    bool isTranslationLoaded() const { return translationLoaded; }
    Ui::CDataManagerTempl *form() const { return ui; }
    // Where the screen's available area cannot hold the window, the window takes that area and its
    // content scrolls.
    void fitToScreen(const QRect &available);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;

private slots:
    void slot_loadDataFromDevice();
    void slot_loadDataDir();
    void slot_saveSelectedData();
    void slot_printSelectedData();
    void slot_fileListScrollBarChanged(int value);
    void slot_fileListScrollBarRangeChanged(int min, int max);
    virtual void slot_filesSelectionChanged(const QString &filename);
    void slot_dataLoadingRejected();
    void slot_showHelp();
    void slot_showInfoAbout();
    void slot_deviceArrived();
    void slot_deviceRemoved();
    void slot_copySettings();
    void slot_exportSettings();
    void slot_printRequested();
    void slot_previewReport();
    void slot_editReportDetails();

private:
    void createConnections();
    void setToolTips();
    void setAccessibleNames();
    void addShortcuts();
    void updateStripTitle();
    int printReport(QPrinter *onto, const QStringList &paths, const ReportDetails &details,
                    const std::function<bool(int, int)> &progress, bool *cancelled = nullptr);
    void restoreFirstRecord(const QStringList &paths);

    Ui::CDataManagerTempl *ui;
    QLabel *lbl_infoLoading = nullptr;
    QProgressBar *prgb_loading = nullptr;
    QPushButton *btn_cancel = nullptr;
    QLabel *lbl_infoSaving = nullptr;
    QProgressBar *prgb_saving = nullptr;
    QTextBrowser *aboutTBrowser = nullptr;
    QWidget *aboutWindow = nullptr;
    QDialog *loadingDialog = nullptr;
    QDialog *dlg_infoSave = nullptr;
    QString dataDir;
    QString devicePath;
    QString deviceIdentity;   // of the volume at devicePath when it was found
    QString saveDir;
    QString logoPath;
    QPrinter *printer = nullptr;
    QString proposedReportFile;   // the PDF name last offered in the print dialog
    bool isLoading = false;
    bool translationLoaded = false;
    AscanSettings settings;
    std::unique_ptr<InstrumentPlatform> platform;
    DeviceWatcher *deviceWatcher = nullptr;
};

#endif // CDATAMANAGER_H
