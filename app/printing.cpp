// The main window's printed report, its preview and its details.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTextDocument>

#include "app/dialogs.h"
#include "output/reportdetails.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"
#include "records/globals.h"

QPrinter *CDataManager::reportPrinter()
{
    // Made when first needed: it loads the platform's printing support, which start-up does not need.
    if (!printer) {
        printer = new QPrinter(QPrinter::ScreenResolution);
        printer->setPageOrientation(QPageLayout::Portrait);
    }
    return printer;
}

void CDataManager::slot_printSelectedData()
{
    ReportDetailsTab tab(loadReportDetails());
    QPrinter *output = reportPrinter();
#ifndef Q_OS_WIN
    // The toolkit's own dialog offers the printer's file name for "Print to File (PDF)"; the report's
    // name is offered until the user picks another. A PDF chosen last time stays chosen.
    const QString proposed = reportFileName(saveDir.isEmpty() ? dataDir : saveDir, QDate::currentDate());
    if (output->outputFileName().isEmpty() || output->outputFileName() == proposedReportFile) {
        const bool native = output->outputFormat() == QPrinter::NativeFormat;
        const QString printerName = output->printerName();
        output->setOutputFileName(proposed);
        if (native) {
            output->setOutputFormat(QPrinter::NativeFormat);
            output->setPrinterName(printerName);
        }
        proposedReportFile = proposed;
    }
#endif
    if (!Dialogs::current().execPrintDialog(output, this, {&tab}))
        return;
    saveReportDetails(tab.details());
    QStringList paths;
    ui->fileListWidget->selectedFiles(paths);
    if (paths.isEmpty())
        return;

    QProgressDialog progress(tr("Printing…"), tr("Cancel"), 0, 1, this);
    progress.setObjectName(QStringLiteral("dlg_printing"));
    progress.setWindowTitle(productName);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    const auto step = [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    bool cancelled = false;
    const int sent = printReport(output, paths, tab.details(), step, &cancelled);
    progress.close();
    if (cancelled && sent > 0)
        Dialogs::current().warning(this, productName, tr("Printing was cancelled; the %n sheet(s) made before "
                                                         "it may still be printed.", nullptr, sent));
    restoreFirstRecord(paths);
}

void CDataManager::slot_previewReport()
{
    QStringList paths;
    if (ui->fileListWidget->selectedFiles(paths) == 0)
        return;
    QPrintPreviewDialog preview(reportPrinter(), this);
    preview.setObjectName(QStringLiteral("dlg_printPreview"));
    preview.setWindowTitle(tr("Print Preview"));
    const ReportDetails details = loadReportDetails();
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter *onto) { printReport(onto, paths, details, ReportProgress()); });
    Dialogs::current().exec(preview);
    restoreFirstRecord(paths);
}

void CDataManager::slot_editReportDetails()
{
    ReportDetailsDialog dialog(this);
    Dialogs::current().exec(dialog);
}

void CDataManager::restoreFirstRecord(const QStringList &paths)
{
    if (readRecord(paths.first()) != 0)
        fillSettingsTable();
    else
        ui->tableWidget->clear();
}

int CDataManager::printReport(QPrinter *onto, const QStringList &paths, const ReportDetails &details,
                              const ReportProgress &progress, bool *cancelled)
{
    const QString detailsHtml = reportDetailsHtml(details), signatures = signatureHtml(details);
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
        page.signatures = signatures;
        document.setHtml(reportPageHtml(page));
    };
    ReportJob job;
    job.fileNames = paths;
    job.fitOnSheet = details.fitOnSheet;
    job.printedAt = QDateTime::currentDateTime();
    if (!logoPath.isEmpty())
        job.logo = QImage(logoPath);
    job.title = paths.size() == 1 ? QFileInfo(paths.first()).fileName() : tr("Scanlet report");
    return ::printReport(onto, job, fill, progress, cancelled);
}
