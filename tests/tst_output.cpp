// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QAction>
#include <QPrinter>
#include <QTextDocument>
#include <QtTest>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reportdetails.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"
#include "output/savedirstore.h"
#include "records/recordsummary.h"
#include "ui_cdatamanager.h"

namespace {

const bool privateMounts = enterPrivateMountNamespace();
// Folder names as users have them; markup in a text that must print as written.
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & \"A\""), Target = QStringLiteral("Отчёт & #2 %20");
const QByteArray Markup("<b>x&amp;y</b> \"q\"");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What a program prints; the fonts' "fi" ligature spelled out by compatibility normalisation.
QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(60000) ? QString::fromUtf8(process.readAllStandardOutput()).normalized(
               QString::NormalizationForm_KC) : QString();
}

// A save into `target` (in the temporary folder; "full" is a small full tmpfs) where each of 1.jpg..3.jpg
// is absent ('-'), an old copy ('f') or a link to one outside ('l'); the answer to the questions, the
// warnings; what each is after: the same, 's' the saved copy, 'm' missing.
struct Saving { QString target; QByteArray there; int answer; QStringList warnings; QByteArray after; };

// A print of the rows selected in turn with the printer's range, copies and collation and the
// remembered details; per sheet a pattern of what it shows; the table's row 8 afterwards.
struct Print { QList<int> selected; int from, to, copies; bool collate; ReportDetails details; QStringList sheets;
               QString row8; };

} // namespace

Q_DECLARE_METATYPE(Saving)
Q_DECLARE_METATYPE(Print)

class TestOutput : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        FakeEnvironment env;
        QTemporaryDir temp;
        CDataManager window;
        ProgressWatcher watcher{QStringLiteral("dlg_infoSave"), true};
    };
    std::unique_ptr<Fixture> f;
    QTemporaryDir config;

    // Writes into dir 1.jpg, 2.jpg (markup in its texts, reference level in use) and 3.jpg (unreadable),
    // loads them into the strip and selects these rows in turn.
    QStringList load(const QString &dir, const QList<int> &selected)
    {
        AscanFields files[3];
        files[0].title = "Alpha weld";
        files[1].title = "A<B " + Markup;
        files[1].configurationName = Markup;
        files[1].referenceSwitch = 0;
        files[2].segmentLength = 752;
        QStringList paths;
        for (int i = 0; i < 3; ++i)
            paths << dir + QStringLiteral("/%1.jpg").arg(i + 1);
        for (int i = 0; i < 3 && QDir().mkpath(dir); ++i)
            writeAscan(paths[i], files[i]);   // a file not written does not load: the count below tells
        f->env.dialogs->openAnswer = paths.first();
        QMetaObject::invokeMethod(&f->window, "slot_loadDataDir");
        f->window.form()->fileListWidget->clearSelection();
        for (int row : selected)
            f->window.form()->fileListWidget->item(row)->setSelected(true);
        return f->window.form()->fileListWidget->count() == 3 ? paths : QStringList();
    }

private slots:
    // The Report tab's remembered details go to a settings folder of the test's own.
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path()); }
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // Of the line beside the program and the one in the configuration folder, the newer is read back.
    void saveDirStore()
    {
        const QString beside = f->temp.filePath("beside"), config = f->temp.filePath("config");
        QFile older(config);
        QVERIFY(writeBytes(config, Target.toUtf8() + '\n') && older.open(QIODevice::ReadWrite)
                && older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        QCOMPARE(writeSaveDirLine(beside, config, "second"), beside);
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));
    }

    // The cells print as written; a row without a caption and a third column never show.
    void settingsTable()
    {
        QTableWidget table(2, 3);
        for (int cell : {0, 1, 2, 4})
            table.setItem(cell / 3, cell % 3, new QTableWidgetItem(QString(Markup) + QString::number(cell)));
        QTextDocument document;
        document.setHtml(settingsHtml(&table));
        QCOMPARE(document.toPlainText().split(QRegularExpression("\\s*\\n\\s*"), Qt::SkipEmptyParts),
                 (QStringList{"SETTINGS", Markup + "0", Markup + "1"}));
    }

    void saving_data()
    {
        QTest::addColumn<Saving>("c");
        const QStringList none{"Unable to save data!"}, some{"A number of data couldn't be saved!"};
        // A link is replaced itself; the file it points at, outside the folder, stays as it was.
        QTest::newRow("a file and a link there, Yes") << Saving{Target, "-fl", QMessageBox::Yes, {}, "sss"};
        QTest::newRow("a file and a link there, No") << Saving{Target, "-fl", QMessageBox::No, some, "sfl"};
        // The files are there already, however the folder is spelled: no question, nothing removed.
        QTest::newRow("source folder through a link") << Saving{"link/.", "---", QMessageBox::Yes, {}, "sss"};
        // A replacing copy that fails leaves the old file as it was.
        QTest::newRow("replacing on a full disk") << Saving{"full", "-f-", QMessageBox::Yes, none, "mfm"};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path(), chosen = base + "/" + c.target;
        const QStringList sources = load(base + '/' + Source, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        const QList<QByteArray> before{contents(sources[0]), contents(sources[1]), contents(sources[2])};
        QVERIFY(QFile::link(base + '/' + Source, base + "/link") && (QFileInfo::exists(chosen) || QDir().mkpath(chosen)));
        const bool full = c.target == "full";
        if (full && !(privateMounts && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", chosen}) == 0))
            QSKIP("needs root to mount a small tmpfs of its own");
        const auto unmount = qScopeGuard([&] { if (full) run("umount", {chosen}); });
        const auto old = [&](int i) { return base + QStringLiteral("/old %1.jpg").arg(i + 1); };
        const auto saved = [&](int i) { return chosen + QStringLiteral("/%1.jpg").arg(i + 1); };
        QStringList questions;
        for (int i = 0; i < 3; ++i) {
            if (c.there[i] == '-')
                continue;
            QVERIFY(writeBytes(old(i), "old copy")
                    && (c.there[i] == 'l' ? QFile::link(old(i), saved(i)) : QFile::copy(old(i), saved(i))));
            questions << QStringLiteral("The file \"%1\" already exists!\nDo you want to rewrite it?").arg(saved(i));
        }
        QVERIFY(!full || !writeBytes(chosen + "/filler", QByteArray(2 << 20, 'x')));   // fills it
        f->env.dialogs->directoryAnswers = QStringList{chosen};
        f->env.dialogs->questionAnswer = QMessageBox::StandardButton(c.answer);

        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");

        QCOMPARE(f->window.saveDirectory(), chosen);
        QCOMPARE(f->env.dialogs->questions, questions);
        QCOMPARE(f->env.dialogs->warnings, c.warnings);
        QVERIFY(!f->window.savingWindow() && f->watcher.dialogs.value(0).isNull());
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents(sources.at(i)), before.at(i));
            QCOMPARE(contents(saved(i)),
                     c.after[i] == 's' ? before.at(i) : QByteArray(c.after[i] == 'm' ? "<missing>" : "old copy"));
            QCOMPARE(contents(old(i)), QByteArray(c.there[i] == '-' ? "<missing>" : "old copy"));
        }
    }

    void printing_data()
    {
        QTest::addColumn<Print>("c");
        const auto sheet = [](const QString &shows, int file, int n, int of) {
            return shows + QString("[^\\f]*%1\\.jpg +\\d[^\\f]* page %2 of %3\\s*$").arg(file).arg(n).arg(of);
        };
        const QString details = ".*Scanlet.*Organisation:.*ACME & Sons.*Notes:.*" + Markup + ".*line 2.*";
        // Details on every sheet under the letterhead, escaped, only the fields filled.
        QTest::newRow("selection order, details") << Print{{1, 0}, 0, 0, 1, false,
            {"ACME & Sons", " ", "", Markup + "\nline 2"},
            {sheet("^(?!.*(Alpha|Object:|Operator:))" + details + "A<B " + Markup + ".*Configuration: " + Markup
                   + ".*SETTINGS.*Acceptance level, dB", 2, 1, 2),
             sheet("^(?!.*(A<B|Acceptance))" + details + "Alpha weld.*Configuration: Weld 12 mm.*Reference level, dB",
                   1, 2, 2)}, "Acceptance level, dB"};
        // Sheets 2 and 3 of three (the range is cut at the last), each copy whole before the next.
        const QString second = sheet("A<B", 2, 2, 3), third = sheet("A-scan", 3, 3, 3);
        QTest::newRow("range 2-9, 2 copies collated, details fitted") << Print{{0, 1, 2}, 2, 9, 2, true,
            {"ACME", "Bridge 7", "I. Petrov", "Notes"}, {second, third, second, third}, "Readings discreteness"};
    }

    void printing()
    {
        QFETCH(Print, c);
        // A folder name that is not a valid URL as it stands: the pictures must still be found.
        QCOMPARE(load(f->temp.filePath("print #1 %41"), c.selected).size(), 3);
        const QString pdfPath = f->temp.filePath("report.pdf");
        saveReportDetails(c.details);
        f->env.dialogs->pdfPath = pdfPath;
        f->window.reportPrinter()->setFromTo(c.from, c.to);
        f->window.reportPrinter()->setCopyCount(c.copies);
        f->window.reportPrinter()->setCollateCopies(c.collate);

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        const QStringList printed = run("pdftotext", {"-layout", pdfPath, "-"}).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), c.sheets.size());
        // The logo and the picture on every sheet; pdfimages lists them after two header lines.
        QCOMPARE(run("pdfimages", {"-list", pdfPath}).count('\n') - 2, 2 * printed.size());
        for (int i = 0; i < printed.size(); ++i)
            QVERIFY(QRegularExpression(c.sheets.at(i), QRegularExpression::DotMatchesEverythingOption)
                        .match(printed.at(i)).hasMatch());
        // The table shows the first selected file again, not the last one printed.
        const QTableWidget *table = f->window.form()->tableWidget;
        QCOMPARE(table->item(8, 0) ? table->item(8, 0)->text() : QString(), c.row8);
    }

    // Every field on the sheet, escaped, with a signature line for each person named; the printer made
    // only now, offering the report's own PDF name; the details and the preview from the strip's menu.
    void printingDetails()
    {
        QCOMPARE(load(f->temp.filePath("details"), {1}).size(), 3);
        ReportDetails details;
        details.reportNumber = "R-7 <&>";
        details.inspectionDate = QDate(2026, 3, 9);
        details.place = "Km 12";
        details.instrumentSerial = "SN 0042";
        details.procedure = "EN ISO 17640";
        details.acceptanceCriterion = "Level 2";
        details.operatorName = "I. Petrov";
        details.certificationLevel = "UT 2";
        details.reviewer = "A. <b>Sidorova</b>";
        saveReportDetails(details);
        QVERIFY(!f->window.hasPrinter());
        f->env.dialogs->pdfPath = f->temp.filePath("details.pdf");

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        const QString folder = f->window.saveDirectory().isEmpty() ? f->window.dataDirectory()
                                                                   : f->window.saveDirectory();
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(f->env.dialogs->offeredPdf, folder + "/Scanlet report " + today + ".pdf");
        const QString printed = run("pdftotext", {"-layout", f->env.dialogs->pdfPath, "-"}).simplified();
        QVERIFY2(printed.contains("Report No.: R-7 <&> Inspection date: " + fullYearDate(details.inspectionDate, QLocale())
                                  + " Place: Km 12 Instrument serial No.: SN 0042 Procedure or standard: EN ISO 17640 "
                                  "Acceptance criterion: Level 2 Operator: I. Petrov Certification level: UT 2 "
                                  "Reviewer: A. <b>Sidorova</b> A<B"), qPrintable(printed));
        QVERIFY(printed.contains(QRegularExpression("Acceptance level, dB.*Operator: I. Petrov Signature: _+ "
                                                   "Date: _+ Reviewer: A. <b>Sidorova</b> Signature: _+ Date: _+")));
        CListWidgetHeir *strip = f->window.form()->fileListWidget;
        strip->printPreviewAction()->trigger();
        f->env.dialogs->acceptDialogs = true;
        strip->reportDetailsAction()->trigger();
        QCOMPARE(f->env.dialogs->dialogs, (QStringList{"dlg_printPreview", "dlg_reportDetails"}));
        QCOMPARE(f->env.dialogs->previewPages, 1);
        QCOMPARE(loadReportDetails().reviewer, details.reviewer);
    }

    // Read back from the settings, a line field is one line within its limit, the notes a few lines.
    void reportDetailsBounded()
    {
        QSettings settings("Tarnwell", "Scanlet");
        settings.setValue("report/place", "a\r\nb" + QString(200, 'p'));
        settings.setValue("report/number", QString(60, '7'));
        settings.setValue("report/notes", QString("line\n").repeated(30) + QString(1000, 'n'));
        settings.sync();
        const ReportDetails details = loadReportDetails();
        QCOMPARE(details.place, ("a b" + QString(200, 'p')).left(ReportLimits::LineLimit));
        QCOMPARE(details.reportNumber, QString(ReportLimits::CodeLimit, '7'));
        QCOMPARE(details.notes.count('\n'), ReportLimits::NotesLines - 1);
        QCOMPARE(details.notes.size(), ReportLimits::NotesLimit);
    }

    // A large picture goes in at 300 dpi at most, the logo once for all sheets; the PDF is titled.
    void printedPictures()
    {
        AscanFields large;
        large.picture = QImage(2000, 2000, QImage::Format_RGB32);
        large.picture.fill(Qt::darkBlue);
        const QStringList files{f->temp.filePath("1.jpg"), f->temp.filePath("2.jpg")};
        QVERIFY(writeAscan(files[0], large) && writeAscan(files[1], large));
        QPrinter printer;
        printer.setOutputFileName(f->temp.filePath("pictures.pdf"));
        QImage logo(180, 135, QImage::Format_RGB32);
        logo.fill(Qt::red);
        ReportPage page;
        page.settingsMissing = true;
        page.logoPath = "logo";
        const auto fill = [&](int, QTextDocument &document) { document.setHtml(reportPageHtml(page)); };
        ReportJob job;
        job.fileNames = files;
        job.logo = logo;
        job.title = "Bridge #7";
        QCOMPARE(printReport(&printer, job, fill), 2);
        // page num type width height color comp bpc enc interp object ID ...
        QStringList images = run("pdfimages", {"-list", printer.outputFileName()}).split('\n').mid(2);
        images.removeAll("");
        QCOMPARE(images.size(), 4);
        const auto column = [&](int image, int at) { return images.at(image).simplified().split(' ').at(at); };
        QCOMPARE(column(0, 10), column(2, 10));
        QVERIFY(column(1, 10) != column(3, 10));
        QCOMPARE(column(1, 4).toInt(), 1249);
        const QString info = run("pdfinfo", {printer.outputFileName()});
        QVERIFY(info.contains(QRegularExpression("Title: +Bridge #7\n")) && info.contains("Scanlet 1.14"));
    }

    // Cancelled while laying out or painting: nothing printed, no PDF left; not cancelled: every sheet.
    void printCancelled_data()
    {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<int>("sheets");
        QTest::newRow("laying out") << 1 << 0;
        QTest::newRow("painting") << 4 << 0;
        QTest::newRow("never") << 100 << 3;
    }

    void printCancelled()
    {
        QFETCH(int, cancelAt);
        QPrinter printer;
        printer.setOutputFileName(f->temp.filePath("cancelled.pdf"));
        const auto fill = [](int, QTextDocument &document) { document.setHtml("<H1>page</H1>"); };
        ReportJob job;
        job.fileNames = QStringList{"1.jpg", "2.jpg", "3.jpg"};
        bool cancelled = true;
        const int sheets = printReport(&printer, job, fill, [&](int done, int) { return done < cancelAt; }, &cancelled);
        QTEST(sheets, "sheets");
        QCOMPARE(cancelled, sheets == 0);
        QCOMPARE(QFileInfo::exists(printer.outputFileName()), sheets > 0);
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
