// The main window's data loading: a directory's A-scans into the strip under a progress dialog.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "records/ascanfile.h"
#include "records/filehead.h"
#include "records/fileorder.h"
#include "acquisition/loadingdialog.h"
#include "app/dialogs.h"
#include "records/globals.h"
#include "views/strippacer.h"

void CDataManager::slot_loadDataDir()
{
    const QString path = Dialogs::current().getOpenFileName(this, tr("Open File"), dataDir,
                                                            tr("A-scans (*.jpg)"));
    if (!path.isEmpty())
        openFile(path);
}

void CDataManager::openPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        dataDir = QDir(path).absolutePath();
        resetView();
        loadFiles(QString(), QString());
    } else if (info.exists()) {
        openFile(info.absoluteFilePath());
    } else {
        Dialogs::current().warning(this, productName, tr("There is no file or folder \"%1\"!").arg(path));
    }
}

void CDataManager::openFile(const QString &path)
{
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
    StripPacer pacer(strip, prgb_loading);
    // The folder is opened once and its files by name: the system does not walk its path again.
    const FileFolder folder(source);
    const QString prefix = source + QDir::separator();
    int counter = 0;
    int selectRow = 0;
    for (const QString &name : workList) {
        if (!isLoading)
            return;
        const QString title = ::readTitle(folder, name);
        if (!title.isEmpty()) {
            strip->addFile(title, prefix, name);
            if (selecting && selectName == name)
                selectRow = strip->count() - 1;
        }
        if (counter == 0)
            lbl_infoLoading->setText(tr("Data are being loaded. Loaded:"));
        ++counter;
        prgb_loading->setValue(progressPercent(counter, total));
        pacer.pass();
    }

    if (QListWidgetItem *item = strip->item(selectRow)) {
        item->setSelected(true);
        if (selectRow != 0)
            strip->scrollToItem(item, QAbstractItemView::EnsureVisible);
        updateStripTitle();
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
