// The main window's record display: the picture, the group titles and the settings table.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include "records/settingsrows.h"

void CDataManager::slot_filesSelectionChanged(const QString &filename)
{
    ui->tableWidget->clearContents();
    if (!filename.isEmpty()) {
        ui->frameGraph->loadImage(filename);
        ui->frameGraph->update();
        if (readRecord(filename) != 0) {
            ui->grpb_ascan->setTitle(settings.title);
            ui->grpb_table->setTitle(tr("Configuration ") + settings.configurationName);
            fillSettingsTable();
        } else {
            ui->grpb_ascan->setTitle(readTitle(filename));
            ui->grpb_table->setTitle(tr("Instrument Settings"));
        }
        enableOutputButtons(true);
    } else {
        ui->grpb_ascan->setTitle(QString());
        ui->grpb_table->setTitle(tr("Instrument Settings"));
        ui->frameGraph->clearImage();
        ui->frameGraph->update();
        enableOutputButtons(false);
    }
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
    ui->frameGraph->clearImage();
    ui->frameGraph->update();
    ui->grpb_table->setTitle(tr("Instrument Settings"));
    ui->tableWidget->clearContents();
    ui->fileListWidget->clearFiles();
    updateShiftButtons();
    ui->grpb_listWidget->setTitle(QString());
}
