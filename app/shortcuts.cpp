// The main window's keyboard habits and the question before a long print.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QKeySequence>

#include "app/dialogs.h"
#include "records/globals.h"

namespace {

// A report is a page per record. A day's work on the instrument is some tens of records; a few
// hundred pages are most likely a Ctrl+A over a whole card, and cost a ream of paper's worth.
constexpr int LargePrintRecords = 200;

} // namespace

void CDataManager::addShortcuts()
{
    // Pressed, a shortcut clicks its button: a disabled button ignores it as it ignores the mouse.
    const QList<QPair<QToolButton *, QKeySequence::StandardKey>> keys = {
        {ui->tbtn_open, QKeySequence::Open}, {ui->tbtn_save, QKeySequence::Save}, {ui->tbtn_print, QKeySequence::Print}};
    for (const auto &key : keys) {
        key.first->setShortcut(QKeySequence(key.second));
        key.first->setToolTip(tr("%1 (%2)").arg(key.first->toolTip(),
                                                key.first->shortcut().toString(QKeySequence::NativeText)));
    }
}

void CDataManager::slot_printRequested()
{
    const int count = ui->fileListWidget->selectionModel()->selectedIndexes().size();
    if (count > LargePrintRecords
        && Dialogs::current().question(this, productName,
                                       tr("Print %n records, one page each?", nullptr, count)) != QMessageBox::Yes)
        return;
    slot_printSelectedData();
}
