// The main window's record display: the picture, the group titles and the settings table.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QDir>
#include <QFileInfo>

#include "records/settingsrows.h"

namespace {

// The record's title and its file's name; when both do not fit the box, the title is shortened
// there and shown whole in the box's tooltip.
void showPictureTitle(QGroupBox *box, const QString &title, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const QString joined = CDataManager::tr("%1 — %2");
    const int room = box->width() - 2 * box->fontMetrics().averageCharWidth()
                     - box->fontMetrics().horizontalAdvance(joined.arg(QString(), name));
    box->setTitle(title.isEmpty() ? name : joined.arg(box->fontMetrics().elidedText(title, Qt::ElideRight, room), name));
    box->setToolTip(title.isEmpty() ? name : joined.arg(title, name));
}

} // namespace

void CDataManager::slot_filesSelectionChanged(const QString &filename)
{
    ui->tableWidget->clearContents();
    if (!filename.isEmpty()) {
        ui->frameGraph->loadImage(filename);
        ui->frameGraph->update();
        if (readRecord(filename) != 0) {
            showPictureTitle(ui->grpb_ascan, settings.title, filename);
            ui->grpb_table->setTitle(tr("Configuration ") + settings.configurationName);
            fillSettingsTable();
        } else {
            showPictureTitle(ui->grpb_ascan, readTitle(filename), filename);
            ui->grpb_table->setTitle(tr("Instrument Settings"));
        }
        enableOutputButtons(true);
    } else {
        ui->grpb_ascan->setTitle(QString());
        ui->grpb_ascan->setToolTip(QString());
        ui->grpb_table->setTitle(tr("Instrument Settings"));
        ui->frameGraph->clearImage();
        ui->frameGraph->update();
        enableOutputButtons(false);
    }
    updateStripTitle();
}

void CDataManager::updateStripTitle()
{
    const CListWidgetHeir *strip = ui->fileListWidget;
    QString title;
    if (strip->count() > 0) {
        title = QDir::toNativeSeparators(dataDir);
        const int selected = strip->selectionModel()->selectedIndexes().size();
        if (selected > 1)
            title += tr(" — %n selected", nullptr, selected);
    }
    ui->grpb_listWidget->setTitle(title);
}

void CDataManager::fillSettingsTable()
{
    ui->tableWidget->clearContents();
    const QVector<SettingsRow> rows = settingsTableRows(settings);
    for (int row = 0; row < rows.size(); ++row) {
        setTableCell(row, 0, rows.at(row).caption);
        setTableCell(row, 1, rows.at(row).value);
    }
}

void CDataManager::setTableCell(int row, int column, const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(column == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                       : int(Qt::AlignHCenter | Qt::AlignVCenter));
    item->setFlags(Qt::ItemIsSelectable);
    // Not enabled, yet read in the normal text colour: the style's disabled grey is too faint.
    item->setForeground(ui->tableWidget->palette().brush(QPalette::Active, QPalette::Text));
    ui->tableWidget->setItem(row, column, item);
}

void CDataManager::resetView()
{
    ui->grpb_ascan->setTitle(QString());
    ui->grpb_ascan->setToolTip(QString());
    ui->frameGraph->clearImage();
    ui->frameGraph->update();
    ui->grpb_table->setTitle(tr("Instrument Settings"));
    ui->tableWidget->clearContents();
    ui->fileListWidget->clearFiles();
    updateShiftButtons();
    ui->grpb_listWidget->setTitle(QString());
}
