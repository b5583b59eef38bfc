// The main window's data loading: a directory's A-scans into the strip under a progress dialog.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "records/fileorder.h"
#include "acquisition/loadingdialog.h"
#include "app/dialogs.h"
#include "records/globals.h"
#include "views/thumbnailiconengine.h"

namespace {

// After every item appended, the strip lays out all its items again and repaints, which makes
// a loading of thousands quadratic and spends most of its time painting. While a loading runs,
// the strip is laid out and painted at most once a frame: between frames its updates are off
// and its timers (the delayed layout among them) are held back; a held-back QBasicTimer comes
// again, as it repeats until stopped. Items are still appended one by one, the dialog still
// repaints and the event loop still runs after each file.
class StripPacer : public QObject
{
public:
    explicit StripPacer(QAbstractItemView *strip)
        : strip(strip)
        , outer(active)
    {
        active = this;
        strip->installEventFilter(this);
        ThumbnailIconEngine::holdDecoding(true);
    }
    ~StripPacer() override
    {
        active = outer;
        if (!outer)
            ThumbnailIconEngine::holdDecoding(false);
        if (strip) {
            strip->removeEventFilter(this);
            strip->setUpdatesEnabled(true);
            strip->viewport()->update(); // the thumbnails held back during the loading
        }
    }

    // Called before each event pass of the loading.
    void beginPass()
    {
        open = !clock.isValid() || clock.nsecsElapsed() >= frameNs;
        if (open)
            clock.start();
        if (!strip)
            return;
        if (strip->updatesEnabled() != open)
            strip->setUpdatesEnabled(open);
        // Laid out now, so that this pass paints the items rather than a strip whose layout
        // the last insertion cleared. A layout walks every item: frames are spaced so that
        // layouts take at most a tenth of the loading, which keeps it linear.
        if (open) {
            strip->doItemsLayout();
            frameNs = qMax(FrameMs * 1000000, 10 * clock.nsecsElapsed());
        }
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // A nested loading paces the strip on its own; the outer one stands aside meanwhile.
        return event->type() == QEvent::Timer && active == this && !open;
    }

private:
    static constexpr qint64 FrameMs = 40;
    static StripPacer *active;
    QPointer<QAbstractItemView> strip;
    StripPacer *outer;
    QElapsedTimer clock;
    qint64 frameNs = FrameMs * 1000000;
    bool open = true;
};

StripPacer *StripPacer::active = nullptr;

} // namespace

void CDataManager::slot_loadDataDir()
{
    const QString path = Dialogs::current().getOpenFileName(this, tr("Open File"), dataDir,
                                                            tr("A-scans (*.jpg)"));
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    if (fileNumber(name) == 0) {
        Dialogs::current().warning(this, productName,
                                   tr("Incorrect file name \"") + name + tr("\"!\nYou should enter another one!"));
        return;
    }
    dataDir = QFileInfo(path).absolutePath();
    resetView();
    loadFiles(name, QString());
}

void CDataManager::slot_loadDataFromDevice()
{
    if (dataDir == devicePath)
        return;
    resetView();
    loadFromDevice();
}

void CDataManager::loadFromDevice()
{
    dataDir = devicePath;
    loadFiles(QStringLiteral(""),
              tr("An inserted ultrasonic defectoscope was detected. The program is looking for\n"
                 "available data. Please, wait."));
}

void CDataManager::loadFiles(const QString &selectName, const QString &message)
{
    const bool selecting = !selectName.isEmpty();
    showLoadingDialog(message);
    QCoreApplication::processEvents(QEventLoop::AllEvents);

    // Paths are built from the folder this loading started on, whatever dataDir becomes.
    const QString source = dataDir;
    const QStringList workList = ascanWorkList(source);
    const int total = workList.size();
    QCoreApplication::processEvents(QEventLoop::AllEvents);

    CListWidgetHeir *strip = ui->fileListWidget;
    StripPacer pacer(strip);
    int counter = 0;
    int selectRow = 0;
    for (const QString &name : workList) {
        if (!isLoading)
            return;
        const QString path = source + QDir::separator() + name;
        const QIcon icon = stripThumbnailIcon(path);
        const QString title = readTitle(path);
        if (!title.isEmpty()) {
            // Appended without a parent: given one, the item would look its own row up among all.
            auto *item = new QListWidgetItem(title);
            item->setData(Qt::DecorationRole, icon);
            strip->addItem(item);
            strip->addFilePath(path);
            if (selecting && selectName == name)
                selectRow = strip->count() - 1;
        }
        if (counter == 0)
            lbl_infoLoading->setText(tr("Data are being loaded. Loaded:"));
        ++counter;
        prgb_loading->setValue(progressPercent(counter, total));
        pacer.beginPass();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    if (QListWidgetItem *item = strip->item(selectRow)) {
        item->setSelected(true);
        if (selectRow != 0)
            strip->scrollToItem(item, QAbstractItemView::EnsureVisible);
        ui->grpb_listWidget->setTitle(QDir::toNativeSeparators(dataDir));
    }
    if (isLoading)
        closeLoadingDialog();
    updateShiftButtons();
}

void CDataManager::showLoadingDialog(const QString &message)
{
    if (loadingDialog) {
        loadingDialog->hide();
        loadingDialog->deleteLater();
    }
    const LoadingDialogWidgets widgets = buildLoadingDialog();
    loadingDialog = widgets.dialog;
    lbl_infoLoading = widgets.label;
    prgb_loading = widgets.progress;
    btn_cancel = widgets.cancel;
    connect(loadingDialog, SIGNAL(rejected()), this, SLOT(slot_dataLoadingRejected()));
    lbl_infoLoading->setText(message.isNull()
                                 ? tr("The program is loading available data. Please, wait.")
                                 : message);
    loadingDialog->show();
    isLoading = true;
}

void CDataManager::closeLoadingDialog()
{
    if (loadingDialog) {
        loadingDialog->hide();
        loadingDialog->deleteLater();
    }
    loadingDialog = nullptr;
    isLoading = false;
}

void CDataManager::slot_dataLoadingRejected()
{
    resetView();
    // The dialog is still emitting rejected(): it is deleted once control is back in the loop.
    closeLoadingDialog();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
