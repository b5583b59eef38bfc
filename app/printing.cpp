// The main window's printed report.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QPrinter>
#include <QTextDocument>

#include "app/dialogs.h"
#include "output/reportdetails.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"

void CDataManager::slot_printSelectedData()
{
    ReportDetailsTab tab(loadReportDetails());
    if (!Dialogs::current().execPrintDialog(printer, this, {&tab}))
        return;
    saveReportDetails(tab.details());
    QStringList paths;
    ui->fileListWidget->selectedFiles(paths);
    if (paths.isEmpty())
        return;
    printReport(paths, tab.details());

    if (readRecord(paths.first()) != 0)
        fillSettingsTable();
    else
        ui->tableWidget->clear();
}

void CDataManager::printReport(const QStringList &paths, const ReportDetails &details)
{
    const QString detailsHtml = reportDetailsHtml(details);
    const auto fill = [&](int record, QTextDocument &document) {
        const QString &path = paths.at(record);
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
        page.details = detailsHtml;
        document.setHtml(reportPageHtml(page));
        addReportPicture(document, path);
    };
    ::printReport(printer, {paths, details.fitOnSheet, QDateTime::currentDateTime()}, fill);
}
