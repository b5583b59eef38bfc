// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QAction>
#include <QPrinter>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>

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
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & \"A\""),
              Target = QStringLiteral("Отчёт & #2 %20");
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
    return process.waitForFinished(60000) ? QString::fromUtf8(process.readAllStandardOutput())
                                                .normalized(QString::NormalizationForm_KC)
                                          : QString();
}

// What a file of the save's folder is before and after: absent, an old copy, a link to an old
// copy outside the folder, the copy saved.
enum FileState { Absent, OldCopy, LinkToOld, Saved };

// A save of 1.jpg..3.jpg into `target` (in the temporary folder; "full" is a small full tmpfs;
// empty: the directory dialog cancelled) answering the questions with `answer`.
struct Saving
{
    QString target;
    QVector<FileState> before;
    int answer = QMessageBox::Yes;
    QVector<FileState> after;
    QStringList warnings;
    QList<int> progress;   // the saving bar's values, from its first showing
};

// A print of the rows selected in turn with the printer's range, copies and collation and the
// remembered details; per sheet a pattern of what it shows; the table's row 8 afterwards.
struct Print
{
    QList<int> selected;
    int from = 0;
    int to = 0;
    int copies = 1;
    bool collate = false;
    ReportDetails details;
    QStringList sheets;
    QString row8;
    bool cancelled = false;
    int images = -1;   // the logos and pictures printed; -1: two a sheet
};

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

    // Writes into dir 1.jpg, 2.jpg (markup in its texts, reference level in use) and 3.jpg
    // (unreadable), loads them into the strip and selects these rows in turn.
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
            writeAscan(paths[i],
                       files[i]); // a file not written does not load: the count below tells
        f->env.dialogs->openAnswer = paths.first();
        QMetaObject::invokeMethod(&f->window, "slot_loadDataDir");
        f->window.form()->fileListWidget->clearSelection();
        for (int row : selected)
            f->window.form()->fileListWidget->item(row)->setSelected(true);
        return f->window.form()->fileListWidget->count() == 3 ? paths : QStringList();
    }

private slots:
    // The Report tab's remembered details go to a settings folder of the test's own.
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    }
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // Of the line beside the program and the one in the configuration folder, the newer is read
    // back.
    void saveDirStore()
    {
        const QString beside = f->temp.filePath("beside"), config = f->temp.filePath("config");
        QFile older(config);
        QVERIFY(writeBytes(config, Target.toUtf8() + '\n') && older.open(QIODevice::ReadWrite)
                && older.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                     QFileDevice::FileModificationTime));
        QCOMPARE(writeSaveDirLine(beside, config, "second"), beside);
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));
    }

    // The cells print as written; a row without a caption and a third column never show.
    void settingsTable()
    {
        QTableWidget table(2, 3);
        for (int cell : {0, 1, 2, 4})
            table.setItem(cell / 3, cell % 3,
                          new QTableWidgetItem(QString(Markup) + QString::number(cell)));
        QTextDocument document;
        document.setHtml(settingsHtml(&table));
        QCOMPARE(
            document.toPlainText().split(QRegularExpression("\\s*\\n\\s*"), Qt::SkipEmptyParts),
            (QStringList{"SETTINGS", Markup + "0", Markup + "1"}));
    }

    void saving_data()
    {
        QTest::addColumn<Saving>("c");
        const QStringList none{"Unable to save data!"}, some{"A number of data couldn't be saved!"};
        // A link is replaced itself; the file it points at, outside the folder, stays as it was.
        QTest::newRow("a file and a link there, Yes") << Saving{
            .target = Target,
            .before = {Absent, OldCopy, LinkToOld},
            .after = {Saved, Saved, Saved},
            .progress = {0, 33, 67, 100}};
        QTest::newRow("a file and a link there, No") << Saving{
            .target = Target,
            .before = {Absent, OldCopy, LinkToOld},
            .answer = QMessageBox::No,
            .after = {Saved, OldCopy, LinkToOld},
            .warnings = some,
            .progress = {0, 33}};
        // The files are there already, however the folder is spelled: no question, nothing removed.
        QTest::newRow("source folder through a link") << Saving{
            .target = "link/.",
            .before = {Absent, Absent, Absent},
            .after = {Saved, Saved, Saved},
            .progress = {0, 33, 67, 100}};
        // A replacing copy that fails leaves the old file as it was.
        QTest::newRow("replacing on a full disk") << Saving{
            .target = "full",
            .before = {Absent, OldCopy, Absent},
            .after = {Absent, OldCopy, Absent},
            .warnings = none,
            .progress = {0}};
        QTest::newRow("directory dialog cancelled") << Saving{
            .before = {Absent, Absent, Absent},
            .after = {Absent, Absent, Absent}};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path();
        const QString chosen = c.target.isEmpty() ? base + "/never" : base + "/" + c.target;
        const QString saveDir = c.target.isEmpty() ? f->window.saveDirectory() : chosen;
        const QStringList sources = load(base + '/' + Source, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        const QList<QByteArray> before{contents(sources[0]), contents(sources[1]),
                                       contents(sources[2])};
        QVERIFY(QFile::link(base + '/' + Source, base + "/link"));
        QVERIFY(QFileInfo::exists(chosen) || QDir().mkpath(chosen));
        const bool full = c.target == "full";
        const QStringList mount{"-t", "tmpfs", "-o", "size=1m", "tmpfs", chosen};
        if (full && !(privateMounts && QProcess::execute("mount", mount) == 0))
            QSKIP("needs root to mount a small tmpfs of its own");
        const auto unmount = qScopeGuard([&] { if (full) run("umount", {chosen}); });
        const auto old = [&](int i) { return base + QStringLiteral("/old %1.jpg").arg(i + 1); };
        const auto saved = [&](int i) { return chosen + QStringLiteral("/%1.jpg").arg(i + 1); };
        const auto stateOf = [&](int i) {
            const QByteArray bytes = contents(saved(i));
            if (bytes == "<missing>")
                return Absent;
            if (bytes == before.at(i))
                return Saved;
            return QFileInfo(saved(i)).isSymLink() ? LinkToOld : OldCopy;
        };
        QStringList questions;
        for (int i = 0; i < 3; ++i) {
            if (c.before[i] == Absent)
                continue;
            QVERIFY(writeBytes(old(i), "old copy"));
            QVERIFY(c.before[i] == LinkToOld ? QFile::link(old(i), saved(i))
                                             : QFile::copy(old(i), saved(i)));
            questions << QStringLiteral(
                             "The file \"%1\" already exists!\nDo you want to rewrite it?")
                             .arg(saved(i));
        }
        QVERIFY(!full || !writeBytes(chosen + "/filler", QByteArray(2 << 20, 'x')));   // fills it
        f->env.dialogs->directoryAnswers = QStringList{c.target.isEmpty() ? QString() : chosen};
        f->env.dialogs->questionAnswer = QMessageBox::StandardButton(c.answer);

        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");

        QCOMPARE(f->window.saveDirectory(), saveDir);
        QCOMPARE(f->env.dialogs->questions, questions);
        QCOMPARE(f->env.dialogs->warnings, c.warnings);
        QCOMPARE(f->watcher.progress, c.progress);
        QVERIFY(!f->window.savingWindow() && f->watcher.dialogs.value(0).isNull());
        QVector<FileState> after;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents(sources.at(i)), before.at(i));
            QCOMPARE(contents(old(i)),
                     QByteArray(c.before[i] == Absent ? "<missing>" : "old copy"));
            after << stateOf(i);
        }
        QCOMPARE(after, c.after);
    }

    void printing_data()
    {
        QTest::addColumn<Print>("c");
        const auto sheet = [](const QString &shows, int file, int n, int of) {
            return shows
                + QString("[^\\f]*%1\\.jpg +\\d[^\\f]* page %2 of %3\\s*$")
                      .arg(file)
                      .arg(n)
                      .arg(of);
        };
        const QString details
            = ".*Scanlet.*Organisation:.*ACME & Sons.*Notes:.*" + Markup + ".*line 2.*";
        // Details on every sheet under the letterhead, escaped, only the fields filled.
        ReportDetails filled;
        filled.organisation = "ACME & Sons";
        filled.object = " ";
        filled.notes = Markup + "\nline 2";
        QTest::newRow("selection order, details")
            << Print{.selected = {1, 0},
                     .details = filled,
                     .sheets = {sheet("^(?!.*(Alpha|Object:|Operator:))" + details + "A<B " + Markup
                                          + ".*Configuration: " + Markup
                                          + ".*SETTINGS.*Acceptance level, dB",
                                      2, 1, 2),
                                sheet("^(?!.*(A<B|Acceptance))" + details
                                          + "Alpha weld.*Configuration: Weld 12 mm"
                                            ".*Reference level, dB",
                                      1, 2, 2)},
                     .row8 = "Acceptance level, dB"};
        // Sheets 2 and 3 of three (the range is cut at the last), each copy whole before the next.
        const QString second = sheet("A<B", 2, 2, 3), third = sheet("A-scan", 3, 3, 3);
        QTest::newRow("range 2-9, 2 copies collated") << Print{
            .selected = {0, 1, 2},
            .from = 2,
            .to = 9,
            .copies = 2,
            .collate = true,
            .sheets = {second, third, second, third},
            .row8 = "Readings discreteness"};
        // A page taller than a sheet runs on to the next when it is not to be fitted.
        ReportDetails tall;
        tall.notes = QString("a line of notes\n").repeated(8);
        tall.fitOnSheet = false;
        QTest::newRow("not fitted: runs on") << Print{
            .selected = {0},
            .details = tall,
            .sheets = {sheet("Alpha weld", 1, 1, 2), sheet("12:30", 1, 2, 2)},
            .row8 = "Readings discreteness",
            .images = 2};
        QTest::newRow("print dialog cancelled") << Print{
            .selected = {0},
            .row8 = "Readings discreteness",
            .cancelled = true};
    }

    void printing()
    {
        QFETCH(Print, c);
        // A folder name that is not a valid URL as it stands: the pictures must still be found.
        QCOMPARE(load(f->temp.filePath("print #1 %41"), c.selected).size(), 3);
        const QString pdfPath = f->temp.filePath("report.pdf");
        saveReportDetails(c.details);
        QPrinter *printer = f->window.reportPrinter();
        // As a print before this one left it.
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setFromTo(c.from, c.to);
        printer->setCopyCount(c.copies);
        printer->setCollateCopies(c.collate);
        f->env.dialogs->pdfPath = c.cancelled ? QString() : pdfPath;

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        const QString text = run("pdftotext", {"-layout", pdfPath, "-"});
        const QStringList printed = text.split('\f', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), c.sheets.size());
        // The logo and the picture; pdfimages lists them after two header lines.
        const int images = run("pdfimages", {"-list", pdfPath}).count('\n') - 2;
        QCOMPARE(std::max(images, 0), c.images < 0 ? 2 * printed.size() : c.images);
        for (int i = 0; i < printed.size(); ++i) {
            const QRegularExpression sheet(c.sheets.at(i),
                                           QRegularExpression::DotMatchesEverythingOption);
            QVERIFY2(sheet.match(printed.at(i)).hasMatch(), qPrintable(printed.at(i)));
        }
        // The table shows the first selected file again, not the last one printed.
        const QTableWidget *table = f->window.form()->tableWidget;
        QCOMPARE(table->item(8, 0) ? table->item(8, 0)->text() : QString(), c.row8);
    }

    // Named pipes and a device where files were: each is a failed file or unused, and nothing
    // waits on them (a hang ends at the suite's time limit).
    void pipesInPlaceOfFiles()
    {
        const QString base = f->temp.path(), chosen = base + "/saved";
        const QStringList sources = load(base + '/' + Source, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        const auto fifo = [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; };
        QVERIFY(QFile::remove(sources[0]) && fifo(sources[0]));
        QVERIFY(QFile::remove(sources[1]) && QFile::link("/dev/zero", sources[1]) && QDir().mkpath(chosen));
        f->env.dialogs->directoryAnswers = QStringList{chosen};
        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");
        QCOMPARE(f->env.dialogs->warnings, QStringList{"A number of data couldn't be saved!"});
        QCOMPARE(QDir(chosen).entryList(QDir::Files | QDir::System), QStringList{"3.jpg"});

        const QString beside = base + "/beside", config = base + "/config";
        QVERIFY(fifo(beside) && writeBytes(config, "older\n"));
        QCOMPARE(readSaveDirLine(beside, QString()), QString());
        QCOMPARE(writeSaveDirLine(beside, config, "second"), config);
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));

        const QString settings = this->config.filePath("Tarnwell/Scanlet.conf");
        QFile::remove(settings);
        QVERIFY(QDir().mkpath(this->config.filePath("Tarnwell")) && fifo(settings));
        const auto removeFifo = qScopeGuard([&] { QFile::remove(settings); });
        ReportDetails acme;
        acme.organisation = "ACME";
        acme.fitOnSheet = false;
        saveReportDetails(acme);
        QCOMPARE(loadReportDetails().organisation, QString());
        QVERIFY(loadReportDetails().fitOnSheet);
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
