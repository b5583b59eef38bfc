// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reportdetails.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"
#include "output/savedirstore.h"
#include "ui_cdatamanager.h"

namespace {

const bool privateMounts = enterPrivateMountNamespace();

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The sheets of a PDF as pdftotext reads them, none when pdfinfo counts other pages; `images`: the
// pictures pdfimages lists after its two header lines. The fonts print "fi" as a ligature:
// compatibility normalisation spells it out.
QStringList pdfSheets(const QString &path, int &images)
{
    images = run("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts).size() - 2;
    const QStringList sheets = run("pdftotext", {"-layout", path, "-"}).normalized(QString::NormalizationForm_KC)
                                   .split('\f', Qt::SkipEmptyParts);
    const QRegularExpression pages("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption);
    return pages.match(run("pdfinfo", {path})).captured(1).toInt() == sheets.size() ? sheets : QStringList();
}

bool mountTmpfs(const QString &dir, const QString &options)
{
    return QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", dir}) == 0;
}

AscanFields ascan(const QByteArray &title, const QByteArray &configuration = "Weld 12 mm", quint8 reference = 1)
{
    AscanFields fields;
    fields.title = title;
    fields.configurationName = configuration;
    fields.referenceSwitch = reference;
    return fields;
}

// A save into `target` (in the temporary folder; "full" and "read-only" are a small tmpfs) where
// each of 1.jpg..3.jpg is absent ('-'), an old copy ('f') or a link to one outside ('l'); the
// answer to the questions, the bar's values, the warnings (%1: the folder).
struct Saving { QString target; QByteArray there; int answer; QList<int> bar; QStringList warnings; };

// Folder names as users have them.
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & \"A\""), Target = QStringLiteral("Отчёт & #2 %20");
// Markup in a text that must print as written.
const QByteArray Markup("<b>x&amp;y</b> \"q\"");

// A report: the files, the rows selected in turn, per sheet the texts it shows in this order
// ("!x": x is absent), the table's row 8 afterwards (empty: a cleared table), the Report tab's fields.
struct Report { QList<AscanFields> files; QList<int> selected; QStringList runs; QString row8;
                QStringList details = {"", "", "", ""}; };

// Sheets printed from records with a long table: the printer's choices, then the sheet numbers
// printed in turn (counted over the whole print; none: more sheets than records, as pdftotext finds).
struct Sheets { int records; QPageSize::PageSizeId paper; bool logo; int from, to, copies; bool collate, fit;
                QList<int> numbers; ReportDetails details; };

} // namespace

Q_DECLARE_METATYPE(Saving)
Q_DECLARE_METATYPE(Report)
Q_DECLARE_METATYPE(Sheets)

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

    // Writes 1.jpg, 2.jpg, ... into dir, loads them into the strip and selects these rows in turn.
    QStringList load(const QString &dir, const QList<AscanFields> &ascans, const QList<int> &selected)
    {
        QStringList paths;
        for (int i = 0; i < ascans.size(); ++i) {
            paths << dir + QStringLiteral("/%1.jpg").arg(i + 1);
            if (!QDir().mkpath(dir) || !writeAscan(paths.last(), ascans.at(i)))
                return {};
        }
        f->env.dialogs->openAnswer = paths.first();
        QMetaObject::invokeMethod(&f->window, "slot_loadDataDir");
        f->window.form()->fileListWidget->clearSelection();
        for (int row : selected)
            f->window.form()->fileListWidget->item(row)->setSelected(true);
        return f->window.form()->fileListWidget->count() == ascans.size() ? paths : QStringList();
    }

private slots:
    // The Report tab's remembered details go to a settings folder of the test's own.
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path()); }
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // Beside the program while that place can be written, else in the configuration folder; the
    // line written last is read back.
    void saveDirStore()
    {
        const QString beside = f->temp.filePath("program/dir"), config = f->temp.filePath("config/scanlet/dir");
        const QString first = f->temp.filePath("Папка #1 & 100%");
        QVERIFY(QDir().mkpath(beside));   // a folder in the way: not writable even for root
        QCOMPARE(writeSaveDirLine(beside, config, first), config);
        QCOMPARE(readSaveDirLine(beside, config), first);
        QVERIFY(QDir().rmdir(beside));
        QCOMPARE(writeSaveDirLine(beside, config, "second"), beside);
        QFile older(config);
        QVERIFY(older.open(QIODevice::ReadWrite)
                && older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        older.close();
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));
        QCOMPARE(readSaveDirLine(f->temp.filePath("none"), f->temp.filePath("none2")), QString());
    }

    void saving_data()
    {
        QTest::addColumn<Saving>("c");
        const QStringList none{"Unable to save data!"}, some{"A number of data couldn't be saved!"};
        // A link is replaced itself; the file it points at, outside the folder, stays as it was.
        QTest::newRow("a file and a link there, Yes") << Saving{Target, "-fl", QMessageBox::Yes, {0, 33, 67, 100}, {}};
        QTest::newRow("a file and a link there, No") << Saving{Target, "-fl", QMessageBox::No, {0, 33}, some};
        QTest::newRow("copy fails") << Saving{"plain-file", "---", QMessageBox::Yes, {0}, none};
        // The files are there already, however the folder is spelled: no question, nothing removed.
        QTest::newRow("source folder through a link") << Saving{"link/.", "---", QMessageBox::Yes, {0, 33, 67, 100}, {}};
        // A replacing copy that fails leaves the old file as it was, and no partial file.
        QTest::newRow("replacing on a full disk") << Saving{"full", "-f-", QMessageBox::Yes, {0}, none};
        QTest::newRow("replacing on a read-only disk")
            << Saving{"read-only", "-f-", QMessageBox::Yes, {0}, QStringList{"Couldn't delete file \"%1/2.jpg\"!"} + none};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path(), chosen = base + "/" + c.target;
        const QStringList sources = load(base + '/' + Source, {ascan("One"), ascan("Two"), ascan("Three")}, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        const QList<QByteArray> before{contents(sources[0]), contents(sources[1]), contents(sources[2])};
        QVERIFY(writeBytes(base + "/plain-file", "not a directory") && QFile::link(base + '/' + Source, base + "/link"));
        QVERIFY(QFileInfo::exists(chosen) || QDir().mkpath(chosen));
        const bool tmpfs = c.target == "full" || c.target == "read-only";
        if (tmpfs && !(privateMounts && mountTmpfs(chosen, "size=1m")))
            QSKIP("needs root to mount a small tmpfs of its own");
        const auto unmount = qScopeGuard([&] { if (tmpfs) QProcess::execute("umount", {chosen}); });
        const auto old = [&](int i) { return base + QStringLiteral("/old %1.jpg").arg(i + 1); };
        const auto saved = [&](int i) { return chosen + QStringLiteral("/%1.jpg").arg(i + 1); };
        QStringList questions;
        for (int i = 0; i < 3; ++i) {
            if (c.there[i] == '-')
                continue;
            QVERIFY(writeBytes(old(i), "old copy") && (c.there[i] == 'l' ? QFile::link(old(i), saved(i)) : QFile::copy(old(i), saved(i))));
            questions << QStringLiteral("The file \"%1\" already exists!\nDo you want to rewrite it?").arg(saved(i));
        }
        QFile filler(chosen + "/filler");
        if (c.target == "full" && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) == 4096) {}
        QVERIFY(c.target != "read-only" || mountTmpfs(chosen, "remount,ro"));
        const QString initial = f->window.saveDirectory();
        f->env.dialogs->directoryAnswers = QStringList{chosen, QString()};
        f->env.dialogs->questionAnswer = QMessageBox::StandardButton(c.answer);

        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");
        // Cancelled: starts from the confirmed choice, which stays; nothing is shown.
        QMetaObject::invokeMethod(&f->window, "slot_saveSelectedData");

        QCOMPARE(f->env.dialogs->directoryStarts, (QStringList{initial, chosen}));
        QCOMPARE(f->window.saveDirectory(), chosen);
        QCOMPARE(f->env.dialogs->questions, questions);
        QCOMPARE(f->watcher.progress, c.bar);
        QCOMPARE(f->env.dialogs->warnings, c.warnings.replaceInStrings("%1", chosen));
        QVERIFY(!f->window.savingWindow() && f->watcher.dialogs.value(0).isNull());
        const bool nothingSaved = c.bar == QList<int>{0};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents(sources.at(i)), before.at(i));
            const bool kept = c.there[i] != '-' && (c.answer == QMessageBox::No || nothingSaved);
            if (QFileInfo(chosen).isDir())
                QCOMPARE(contents(saved(i)), kept ? "old copy" : nothingSaved ? "<missing>" : before.at(i));
            QCOMPARE(contents(old(i)), QByteArray(c.there[i] == '-' ? "<missing>" : "old copy"));
            QCOMPARE(QFileInfo(saved(i)).isSymLink(), kept && c.there[i] == 'l');
        }
        // No partial or temporary file is left behind.
        const QRegularExpression other("^(?![123]\\.jpg$|filler$)");
        QVERIFY(QDir(chosen).entryList(QDir::Files | QDir::Hidden).filter(other).isEmpty());
    }

    void report_data()
    {
        QTest::addColumn<Report>("c");
        AscanFields broken = ascan("Broken");
        broken.segmentLength = 752;
        // On every sheet under the letterhead, escaped, only the fields filled; remembered for the next run.
        QTest::newRow("selection order, details") << Report{
            {ascan("Alpha weld"), ascan("Bravo seam"), ascan("Charlie joint", "Weld 12 mm", 0)}, {2, 0},
            {"Scanlet|Organisation:|ACME & Sons|Notes:|" + Markup + "|line 2|Charlie joint|Configuration: Weld 12 mm"
             "|SETTINGS|Acceptance level, dB|!Bravo|!Alpha|!Object:|!Operator:",
             "Scanlet|Organisation:|ACME & Sons|Notes:|" + Markup + "|line 2|Alpha weld|SETTINGS|Reference level, dB"
             "|!Acceptance level|!Bravo|!Charlie"},
            "Acceptance level, dB", {"ACME & Sons", " ", "", Markup + "\nline 2"}};
        // Its own title, not the one the last readable record left behind.
        QTest::newRow("unreadable record first") << Report{
            {ascan("Readable"), broken}, {1, 0},
            {"Scanlet|Broken|Configuration:|!SETTINGS|!Readable|!Weld|!Organisation:", "Scanlet|Readable|SETTINGS"}, {}};
        QTest::newRow("markup in title and configuration") << Report{
            {ascan("A<B " + Markup, Markup)}, {0}, {"Scanlet|A<B " + Markup + "|Configuration: " + Markup + "|SETTINGS"},
            "Readings discreteness"};
    }

    void report()
    {
        QFETCH(Report, c);
        // A folder name that is not a valid URL as it stands: the pictures must still be found.
        QCOMPARE(load(f->temp.path() + "/print #1 %41", c.files, c.selected).size(), c.files.size());
        const QString pdfPath = f->temp.path() + "/report.pdf";
        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");   // cancelled
        QVERIFY(!QFile::exists(pdfPath));
        f->env.dialogs->pdfPath = pdfPath;
        const ReportDetails saved = loadReportDetails();
        QStringList shown;
        f->env.dialogs->printChoices = [&](QPrinter *, const QList<QWidget *> &tabs) {
            for (const char *field : {"organisation", "object", "operator"}) {
                auto *edit = tabs.value(0)->findChild<QLineEdit *>(field);
                shown << edit->text();
                edit->setText(c.details.at(shown.size() - 1));
            }
            tabs.value(0)->findChild<QPlainTextEdit *>("notes")->setPlainText(c.details.at(3));
        };

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        int images = 0;
        const QStringList printed = pdfSheets(pdfPath, images);
        QCOMPARE(printed.size(), c.runs.size());
        QCOMPARE(images, 2 * c.runs.size());   // the logo and the picture of each file
        for (int i = 0; i < c.runs.size(); ++i) {
            int at = 0;
            for (const QString &piece : c.runs.at(i).split('|')) {
                const bool absent = piece.startsWith('!');
                const int found = printed.at(i).indexOf(absent ? piece.mid(1) : piece, absent ? 0 : at);
                QVERIFY2(absent == (found < 0), qPrintable(piece + " in:\n" + printed.at(i)));
                at = absent ? at : found;
            }
        }
        // The tab showed what the last run left; its choices are kept for the next one.
        QCOMPARE(shown, (QStringList{saved.organisation, saved.object, saved.operatorName}));
        QCOMPARE(loadReportDetails().notes, c.details.at(3));
        // The table shows the first selected file again, not the last one printed.
        const QTableWidget *table = f->window.form()->tableWidget;
        QCOMPARE(table->item(8, 0) ? table->item(8, 0)->text() : QString(), c.row8);
        for (int row = 0; c.row8.isEmpty() && row < table->rowCount(); ++row)
            QVERIFY(!table->item(row, 0));
    }

    void sheets_data()
    {
        QTest::addColumn<Sheets>("c");
        const ReportDetails details{"ACME & Sons", "Bridge 7", "I. Petrov", Markup + "\nmore"}, blank{" ", "", "\n", ""};
        for (const auto paper : {QPageSize::A4, QPageSize::Letter}) {
            for (const bool logo : {true, false}) {   // details lengthen the page on the shorter paper
                QTest::addRow("%s, %s", paper == QPageSize::A4 ? "A4, blank details" : "Letter, details",
                              logo ? "logo" : "no logo")
                    << Sheets{3, paper, logo, 0, 0, 1, false, true, {1, 2, 3}, paper == QPageSize::A4 ? blank : details};
            }
        }
        QTest::newRow("range 2-3, 2 copies collated") << Sheets{3, QPageSize::A4, true, 2, 3, 2, true, true, {2, 3, 2, 3}, {}};
        QTest::newRow("range 2-9, 2 copies uncollated")
            << Sheets{3, QPageSize::Letter, true, 2, 9, 2, false, true, {2, 2, 3, 3}, {}};
        QTest::newRow("not fitted runs on") << Sheets{2, QPageSize::Letter, true, 0, 0, 1, false, false, {}, {}};
    }

    // One sheet per record when fitting; the footer numbers sheets over the whole print and names the file.
    void sheets()
    {
        QFETCH(Sheets, c);
        QTableWidget table(18, 3);   // the last row has no caption: it and the third column never show
        for (int row = 0; row < 18; ++row) {
            for (int column = row < 17 ? 0 : 1; column < 3; ++column)
                table.setItem(row, column, new QTableWidgetItem(QString("Setting %1 &amp;|value %1|never %1")
                                                                    .section('|', column, column).arg(row + 1)));
        }
        QStringList files;
        for (int i = 1; i <= c.records; ++i) {
            files << f->temp.filePath(QStringLiteral("scan %1 #%.jpg").arg(i));
            QVERIFY(writeAscan(files.last(), ascan("")));
        }
        const QString logo = f->temp.filePath("logo #1 %41 & 'x'.bmp");
        QVERIFY(QFile::copy(SCANLET_BIN_DIR "/TARNWELL_logo_bw.bmp", logo));
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFileName(f->temp.filePath("sheets.pdf"));   // a .pdf name makes a PDF printer
        printer.setPageSize(QPageSize(c.paper));
        printer.setFromTo(c.from, c.to);
        printer.setCopyCount(c.copies);
        printer.setCollateCopies(c.collate);
        const auto fill = [&](int record, QTextDocument &document) {
            document.setHtml(reportPageHtml({files.at(record), false, c.logo ? logo : QString(),
                                             "Title &lt;" + QString::number(record + 1), "Weld", settingsHtml(&table),
                                             reportDetailsHtml(c.details)}));
            addReportPicture(document, files.at(record));
        };
        const QDateTime printedAt(QDate(2026, 3, 9), QTime(14, 5));
        const int printed = printReport(&printer, {files, c.fit, printedAt}, fill);
        int images = 0;
        const QStringList sheets = pdfSheets(printer.outputFileName(), images);
        QCOMPARE(sheets.size(), printed);
        QCOMPARE(images, (c.logo ? 2 : 1) * (c.numbers.isEmpty() ? c.records : printed));
        QVERIFY2(!c.numbers.isEmpty() || printed > c.records, qPrintable(QString::number(printed)));
        for (int i = 0; i < printed; ++i) {
            const int n = c.numbers.value(i, i + 1), of = c.numbers.isEmpty() ? printed : c.records;
            // The whole record, then its footer: file name, time of printing, number.
            const QString footer = QRegularExpression::escape(QFileInfo(files.value(n - 1)).fileName()) + " +"
                                   + QRegularExpression::escape(QLocale().toString(printedAt, QLocale::ShortFormat));
            const QRegularExpression order(QStringLiteral("Title &lt;%1[^\f]*Setting 17 &amp; +value 17[^\f]*%2 +page %1 of %3\\s*$")
                                               .arg(QString::number(n), footer, QString::number(of)));
            QVERIFY2(c.numbers.isEmpty() ? sheets.at(i).contains(QString("page %1 of %2").arg(n).arg(of))
                                         : order.match(sheets.at(i)).hasMatch(), qPrintable(sheets.at(i)));
            QVERIFY(!sheets.at(i).contains("value 18") && !sheets.at(i).contains("never"));
            QCOMPARE(sheets.at(i).contains("Organisation:"), !c.details.isEmpty());
            for (const QString &value : {c.details.organisation, c.details.object, c.details.operatorName, c.details.notes})
                QVERIFY(sheets.at(i).contains(value.section('\n', 0, 0)) && sheets.at(i).contains(value.section('\n', -1)));
        }
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
