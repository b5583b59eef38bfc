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

// Folder names as users have them; markup in a text that must print as written.
#ifdef Q_OS_WIN
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & (A)");   // no quotes in Windows names
#else
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & \"A\"");
#endif
const QString Target = QStringLiteral("Отчёт & #2 %20");
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

// What a file of the save's folder is afterwards: absent, the old copy there before, the copy
// saved.
enum FileState { Absent, OldCopy, Saved };

// A save of 1.jpg..3.jpg into `target` (in the temporary folder; empty: the directory dialog
// cancelled), answering Yes to each question: over a copy of 2.jpg and a link named 3.jpg to a
// copy outside the folder when `overOld`; 1.jpg a named pipe and 2.jpg a folder when `notFiles`.
struct Saving
{
    QString target;
    bool overOld = false;
    bool notFiles = false;
    QVector<FileState> after{Saved, Saved, Saved};
    QStringList warnings;
    QList<int> progress{0, 33, 67, 100};   // the saving bar's values, from its first showing
};

// A print of the rows selected in turn with the printer's range, copies and collation and the
// remembered details, or its print dialog cancelled; per sheet a pattern of its simplified text.
struct Print
{
    QList<int> selected{0};
    int from = 0;
    int to = 0;
    int copies = 1;
    bool collate = false;
    ReportDetails details;
    QStringList sheets;
    bool cancelled = false;
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
        const QStringList paths{dir + "/1.jpg", dir + "/2.jpg", dir + "/3.jpg"};
        // A file not written does not load: the count below tells.
        QDir().mkpath(dir);
        writeAscan(paths[0], {.title = "Alpha weld"});
        writeAscan(paths[1], {.title = "A<B " + Markup,
                              .configurationName = Markup,
                              .referenceSwitch = 0});
        writeAscan(paths[2], {.segmentLength = 752});
        f->env.dialogs->openAnswer = paths.first();
        f->env.dialogs->questionAnswer = QMessageBox::Yes;
        QMetaObject::invokeMethod(&f->window, "slot_loadDataDir");
        CListWidgetHeir *strip = f->window.form()->fileListWidget;
        strip->clearSelection();
        if (strip->count() != 3)
            return QStringList();
        for (int row : selected)
            strip->item(row)->setSelected(true);
        return paths;
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
        const QString beside = f->temp.filePath("beside");
        const QString config = f->temp.filePath("config");
        QVERIFY(writeBytes(config, "first\n"));
        QFile older(config);
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
        older.close();
        QCOMPARE(writeSaveDirLine(beside, config, "second"), beside);
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));
    }

    // The cells print as written.
    void settingsTable()
    {
        QTableWidget table(1, 2);
        table.setItem(0, 0, new QTableWidgetItem(QString(Markup)));
        QTextDocument document;
        document.setHtml(settingsHtml(&table));
        QCOMPARE(document.toPlainText().simplified(), "SETTINGS " + Markup);
    }

    void saving_data()
    {
        QTest::addColumn<Saving>("c");
        // A link is replaced itself; the file it points at, outside the folder, stays as it was.
        QTest::newRow("over a file and a link") << Saving{
            .target = Target,
            .overOld = true};
        // Nothing waits on the pipe (a hang ends at the suite's time limit); a failed replacing
        // copy leaves the old file as it was.
        QTest::newRow("a pipe and a folder in place of files") << Saving{
            .target = Target,
            .overOld = true,
            .notFiles = true,
            .after = {Absent, OldCopy, Saved},
            .warnings = {"A number of data couldn't be saved!"},
            .progress = {0, 33}};
        // The files are there already, however the folder is spelled: no question, nothing removed.
#ifdef Q_OS_UNIX
        QTest::newRow("source folder through a link") << Saving{.target = "link/."};
#endif
        QTest::newRow("directory dialog cancelled") << Saving{
            .after = {Absent, Absent, Absent},
            .progress = {}};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path();
        const QString chosen = base + '/' + c.target;
        const QStringList sources = load(base + '/' + Source, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        QVERIFY(QFile::link(base + '/' + Source, base + "/link"));
        QVERIFY(QDir().mkpath(chosen));
        const QString old = base + "/old.jpg";
        if (c.overOld) {
            QVERIFY(writeBytes(old, "old copy"));
            QVERIFY(QFile::copy(old, chosen + "/2.jpg"));
            QVERIFY(QFile::link(old, chosen + "/3.jpg"));
        }
        if (c.notFiles) {
            QVERIFY(QFile::remove(sources[0]));
#ifdef Q_OS_UNIX
            QCOMPARE(::mkfifo(QFile::encodeName(sources[0]).constData(), 0600), 0);
#else
            QVERIFY(QDir().mkpath(sources[0]));   // no named pipes: another folder
#endif
            QVERIFY(QFile::remove(sources[1]) && QDir().mkpath(sources[1]));
        }
        f->env.dialogs->directoryAnswers = QStringList{c.target.isEmpty() ? QString() : chosen};

        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");

        QCOMPARE(f->env.dialogs->questions.size(), c.overOld ? 2 : 0);
        QCOMPARE(f->env.dialogs->warnings, c.warnings);
        QCOMPARE(f->watcher.progress, c.progress);
        QCOMPARE(contents(old), c.overOld ? "old copy" : "<missing>");
        const QByteArray states[] = {"<missing>", "old copy"};
        for (int i = 0; i < 3; ++i) {
            const QString saved = chosen + QStringLiteral("/%1.jpg").arg(i + 1);
            const QByteArray expected
                = c.after[i] == Saved ? contents(sources[i]) : states[c.after[i]];
            QCOMPARE(contents(saved), expected);
        }
    }

    void printing_data()
    {
        QTest::addColumn<Print>("c");
        // The fields filled on every sheet under the letterhead, escaped, a blank one left out;
        // a signature line for each person named.
        const ReportDetails filled{
            .organisation = "ACME & Sons",
            .object = " ",
            .operatorName = "I. Petrov",
            .notes = Markup + "\nline 2",
            .reportNumber = "R-7 <&>",
            .certificationLevel = "UT 2",
            .reviewer = "A. <i>S</i>"};
        const QString details = "Scanlet.*Report No.: R-7 <&> Organisation: ACME & Sons "
                                "Operator: I. Petrov Certification level: UT 2 "
                                "Reviewer: A. <i>S</i> Notes: "
            + Markup + " line 2 ";
        const QString signatures = ".*Operator: I. Petrov Signature: _+ Date: _+ "
                                   "Reviewer: A. <i>S</i> Signature: _+ Date: _+ ";
        // Each sheet's footer: its file, the time of printing, its number of all.
        QTest::newRow("selection order, details") << Print{
            .selected = {1, 0},
            .details = filled,
            .sheets = {"^(?!.*(Alpha|Object:))" + details + "A<B " + Markup + ".*Configuration: "
                           + Markup + ".*SETTINGS.*Acceptance level, dB" + signatures
                           + "2\\.jpg \\d.* page 1 of 2$",
                       "^(?!.*(A<B|Acceptance level|Object:))" + details
                           + "Alpha weld.*Configuration: Weld 12 mm.*Reference level, dB"
                           + signatures + "1\\.jpg \\d.* page 2 of 2$"}};
        // Sheets 2 and 3 of three (the range is cut at the last), each copy whole before the next.
        const QString second = "A<B.* 2\\.jpg \\d.* page 2 of 3$";
        const QString third = "A-scan.* 3\\.jpg \\d.* page 3 of 3$";
        QTest::newRow("range 2-9, 2 copies collated") << Print{
            .selected = {0, 1, 2},
            .from = 2,
            .to = 9,
            .copies = 2,
            .collate = true,
            .sheets = {second, third, second, third}};
        // A page taller than a sheet runs on to the next when it is not to be fitted.
        QTest::newRow("not fitted: runs on") << Print{
            .details = {.notes = QString("a line of notes\n").repeated(8), .fitOnSheet = false},
            .sheets = {"Alpha weld.* 1\\.jpg \\d.* page 1 of 2$",
                       "12:30.* 1\\.jpg \\d.* page 2 of 2$"}};
        QTest::newRow("print dialog cancelled") << Print{.cancelled = true};
    }

    // The printer is made only now, offering the report's own PDF name.
    void printing()
    {
        QFETCH(Print, c);
        QCOMPARE(load(f->temp.filePath("print #1 %41"), c.selected).size(), 3);
        const QString pdfPath = f->temp.filePath("report.pdf");
        saveReportDetails(c.details);
        QVERIFY(!f->window.hasPrinter());
        QPrinter *printer = f->window.reportPrinter();
        // As a print before this one left it.
        printer->setFromTo(c.from, c.to);
        printer->setCopyCount(c.copies);
        printer->setCollateCopies(c.collate);
        f->env.dialogs->pdfPath = c.cancelled ? QString() : pdfPath;

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");
        // Cancelled or another file chosen: nothing is written under the name offered.
        QVERIFY(!QFileInfo::exists(f->env.dialogs->offeredPdf));

#ifdef Q_OS_WIN
        // The native dialog offers its own file; the sheets are read with Linux's PDF tools.
        QCOMPARE(QFileInfo::exists(pdfPath), !c.cancelled);
        return;
#endif
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(QFileInfo(f->env.dialogs->offeredPdf).fileName(),
                 "Scanlet report " + today + ".pdf");
        const QStringList printed
            = run("pdftotext", {"-layout", pdfPath, "-"}).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), c.sheets.size());
        for (int i = 0; i < printed.size(); ++i) {
            const QRegularExpression sheet(c.sheets.at(i));
            QVERIFY2(sheet.match(printed.at(i).simplified()).hasMatch(), qPrintable(printed.at(i)));
        }
    }

    // The preview from the strip's menu shows the selection's sheet.
    void preview()
    {
        QCOMPARE(load(f->temp.filePath("preview"), {1}).size(), 3);
        f->window.form()->fileListWidget->printPreviewAction()->trigger();
        QCOMPARE(f->env.dialogs->previewPages, 1);
    }

    // Read back from the settings, the notes are a few lines within their limit.
    void reportDetailsBounded()
    {
        QSettings settings("Tarnwell", "Scanlet");
        settings.setValue("report/notes", QString("line\n").repeated(30) + QString(1000, 'n'));
        settings.sync();
        const ReportDetails details = loadReportDetails();
        QCOMPARE(details.notes.count('\n'), ReportLimits::NotesLines - 1);
        QCOMPARE(details.notes.size(), ReportLimits::NotesLimit);
    }

    // Pictures go in at 300 dpi at most, the logo once for all sheets, and the PDF is titled;
    // cancelled while laying out or painting, nothing is printed and no PDF is left.
    void printedPdf_data()
    {
        QTest::addColumn<int>("cancelAt");   // the progress step that cancels
        QTest::addColumn<int>("sheets");
        QTest::newRow("cancelled laying out") << 1 << 0;
        QTest::newRow("cancelled painting") << 3 << 0;
        QTest::newRow("not cancelled") << 100 << 2;
    }

    void printedPdf()
    {
        QFETCH(int, cancelAt);
        AscanFields large{.picture = QImage(2000, 2000, QImage::Format_RGB32)};
        large.picture.fill(Qt::darkBlue);
        // A folder name that is not a valid URL as it stands: the picture must still be found.
        const QString file = f->temp.filePath("print #1 %41/1.jpg");
        QVERIFY(QDir().mkpath(f->temp.filePath("print #1 %41")) && writeAscan(file, large));
        const QString pdf = f->temp.filePath("pictures.pdf");
        QPrinter printer;
        printer.setOutputFileName(pdf);
        QImage logo(180, 135, QImage::Format_RGB32);
        logo.fill(Qt::red);
        const auto fill = [](int, QTextDocument &document) {
            document.setHtml(reportPageHtml({.settingsMissing = true, .logoPath = "logo"}));
        };
        const ReportJob job{.fileNames = {file, file}, .logo = logo, .title = "Bridge #7"};
        const auto progress = [&](int done, int) { return done < cancelAt; };
        bool cancelled = true;
        const int sheets = printReport(&printer, job, fill, progress, &cancelled);
        QTEST(sheets, "sheets");
        QCOMPARE(cancelled, sheets == 0);
        QCOMPARE(QFileInfo::exists(pdf), sheets > 0);
#ifdef Q_OS_WIN
        return;   // read with Linux's PDF tools
#endif
        if (cancelled)
            return;
        // The logo's object on both sheets; the pictures, 2000 pixels square, at 300 dpi in their
        // box. Per image: page num type width height color comp bpc enc interp object ID ...
        const QRegularExpression images(" 1 +0 +image +180 +135 +(?:\\S+ +){5}(\\d+) .*\\n"
                                        " +1 +1 +image +937 +1249 .*\\n"
                                        " +2 +2 +image +180 +135 +(?:\\S+ +){5}\\1 .*\\n"
                                        " +2 +3 +image +937 +1249 [^\\n]*\\n$");
        const QString listed = run("pdfimages", {"-list", pdf});
        QVERIFY2(images.match(listed).hasMatch(), qPrintable(listed));
        QVERIFY(run("pdfinfo", {pdf}).contains(QRegularExpression("Title: +Bridge #7\n")));
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
