// The main window's saving of selected files.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

#include "records/fileorder.h"
#include "app/dialogs.h"
#include "records/globals.h"
#include "output/filecopy.h"
#include "output/savingdialog.h"

void CDataManager::slot_saveSelectedData()
{
    QString dirPath = Dialogs::current().getExistingDirectory(this, tr("Select Directory"), saveDir);
    if (dirPath.isEmpty())
        return;
    saveDir = dirPath;
    dirPath += QDir::separator();
    showSavingDialog();

    QStringList paths;
    const int total = ui->fileListWidget->selectedFiles(paths);
    int saved = 0;
    for (const QString &path : paths) {
        if (copyFileToDir(path, dirPath))
            ++saved;
        if (dlg_infoSave) {
            prgb_saving->setValue(progressPercent(saved, total));
            QCoreApplication::processEvents();
        }
    }
    delete dlg_infoSave;
    dlg_infoSave = nullptr;

    if (saved != total) {
        Dialogs::current().warning(this, productName, saved == 0 ? tr("Unable to save data!")
                                                                 : tr("A number of data couldn't be saved!"));
    }
}

bool CDataManager::copyFileToDir(const QString &filePath, const QString &dirPath)
{
    const QString destination = dirPath + QFileInfo(filePath).fileName();
    // Copied as a replacement of nothing: only a regular source, opened without blocking.
    if (!QFileInfo::exists(destination) && !QFileInfo(destination).isSymLink())
        return replaceWithCopy(filePath, destination) == ReplaceResult::Replaced;
    // Saving a file onto itself: it is already there, and removing it would lose it.
    if (isSameFile(filePath, destination))
        return true;
    const QMessageBox::StandardButton answer = Dialogs::current().question(
        this, productName,
        tr("The file \"") + destination + tr("\" already exists!\nDo you want to rewrite it?"));
    if (answer != QMessageBox::Yes)
        return false;
    const ReplaceResult result = replaceWithCopy(filePath, destination);
    if (result == ReplaceResult::CannotReplace) {
        Dialogs::current().warning(this, productName,
                                   tr("Couldn't delete file \"") + destination + tr("\"!"));
    }
    return result == ReplaceResult::Replaced;
}

void CDataManager::showSavingDialog()
{
    delete dlg_infoSave;
    const SavingDialogWidgets widgets = buildSavingDialog();
    dlg_infoSave = widgets.dialog;
    lbl_infoSaving = widgets.label;
    prgb_saving = widgets.progress;
    dlg_infoSave->show();
}
