// The main window's printed report.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QPrinter>
#include <QTextDocument>

#include "app/dialogs.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"

void CDataManager::slot_printSelectedData()
{
    if (!Dialogs::current().execPrintDialog(printer, this))
        return;
    QStringList paths;
    ui->fileListWidget->selectedFiles(paths);
    if (paths.isEmpty())
        return;
    printReport(paths);

    if (readRecord(paths.first()) != 0)
        fillSettingsTable();
    else
        ui->tableWidget->clear();
}

void CDataManager::printReport(const QStringList &paths)
{
    ReportPrinter report(printer);
    QTextDocument document;
    for (const QString &path : paths) {
        const bool read = readRecord(path) != 0;
        if (read)
            fillSettingsTable();
        ReportPage page;
        page.filePath = path;
        page.settingsMissing = !read;
        page.logoPath = logoPath;
        // A page shows its own file's title even when the record cannot be read; the record
        // still in the window belongs to another file.
        page.title = read ? settings.title : readTitle(path);
        page.configurationName = read ? settings.configurationName : QString();
        if (read)
            page.settingsTable = settingsHtml(ui->tableWidget);
        document.setHtml(reportPageHtml(page));
        addReportPicture(document, path);
        report.printDocument(document);
    }
}
