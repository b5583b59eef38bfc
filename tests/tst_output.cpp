// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSettings>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

#include <unistd.h>

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

// The sheets of a PDF as pdftotext reads them; none when pdfinfo counts other pages. `images` is
// what pdfimages lists (two header lines, one per image).
QStringList pdfSheets(const QString &path, int &images)
{
    const auto run = [](const QString &program, const QStringList &args) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    images = run("pdfimages", {"-list", path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - 2;
    // The fonts print "fi" and "ff" as ligatures; compatibility normalisation spells them out.
    const QStringList sheets = run("pdftotext", {"-layout", path, "-"})
                                   .normalized(QString::NormalizationForm_KC)
                                   .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
    return pages.match(run("pdfinfo", {path})).captured(1).toInt() == sheets.size() ? sheets : QStringList();
}

qint64 bytesReadByProcess()
{
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    const QRegularExpression rchar(QStringLiteral("^rchar: (\\d+)$"), QRegularExpression::MultilineOption);
    return rchar.match(QString::fromLatin1(io.readAll())).captured(1).toLongLong();
}

bool mountTmpfs(const QString &dir, const QString &options)
{
    return QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", options, "tmpfs", dir}) == 0;
}

AscanFields ascan(const QByteArray &title, const QByteArray &configuration = "Weld 12 mm",
                  int referenceSwitch = 1)
{
    AscanFields fields;
    fields.title = title;
    fields.configurationName = configuration;
    fields.referenceSwitch = quint8(referenceSwitch);
    return fields;
}

// The text of the real markup, one entry per paragraph or cell; its pictures as "path @height".
QStringList rendered(const QString &html, QStringList *images = nullptr)
{
    QTextDocument document;
    document.setHtml(html);
    for (QTextBlock block = document.begin(); images && block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (image.isValid())
                *images << (QUrl(image.name()).isLocalFile() ? QUrl(image.name()).toLocalFile() : image.name())
                               + " @" + QString::number(image.height());
        }
    }
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter)
        .split(QRegularExpression("[\\n\\x{2029}\\t]"), Qt::SkipEmptyParts);
}

// A save: the chosen folder in the temporary one ("full" and "read-only" are a small tmpfs), the
// files already there (as links to files outside when `links`), the answer to the question, the
// bar's values, the warnings (%1: the folder).
struct Saving { QString target; QList<int> existing; int answer; QList<int> bar; QStringList warnings; bool links = false; };

// Folder names as users have them.
const QString Source = QStringLiteral("Сканы 'шов' #1 %41 & \"A\""), Target = QStringLiteral("Отчёт & #2 %20");

// A report: the files, the rows selected in turn, per sheet the texts it shows in this order
// ("!x": x is absent), the table's row 8 afterwards (empty: a cleared table), the Report tab's fields.
struct Report { QList<AscanFields> files; QList<int> selected; QStringList runs; QString row8;
                QStringList details = {"", "", "", ""}; };

// Sheets printed from records with a full table: the printer's choices, then the sheet numbers
// printed in turn (counted over the whole print; 0: more sheets than records, as many as pdftotext finds).
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
        return paths;
    }

private slots:
    // The Report tab's remembered details go to a settings folder of the test's own.
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path()); }
    // The save directory goes beside the program while that place can be written, else to the
    // configuration folder; the line written last is the one read back.
    void saveDirStore()
    {
        QTemporaryDir temp;
        const QString beside = temp.filePath("program/scanlet_savedir"), config = temp.filePath("config/scanlet/scanlet_savedir");
        const QString first = temp.filePath("Папка #1 & 100%"), second = temp.filePath("second");
        QVERIFY(QDir().mkpath(beside));   // a folder in the way: not writable even for root
        QCOMPARE(writeSaveDirLine(beside, config, first), config);
        QCOMPARE(readSaveDirLine(beside, config), first);
        QVERIFY(QDir().rmdir(beside));
        QCOMPARE(writeSaveDirLine(beside, config, second), beside);
        QFile older(config);
        QVERIFY(older.open(QIODevice::ReadWrite) && older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        older.close();
        QCOMPARE(readSaveDirLine(beside, config), second);
        QCOMPARE(readSaveDirLine(temp.filePath("none"), temp.filePath("none2")), QString());
    }

    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    void saving_data()
    {
        QTest::addColumn<Saving>("c");
        const QList<int> all{0, 33, 67, 100};
        const QStringList none{"Unable to save data!"};
        const QStringList some{"A number of data couldn't be saved!"};
        QTest::newRow("second exists, answer No") << Saving{Target, {1}, QMessageBox::No, {0, 33, 67}, some};
        QTest::newRow("second exists, answer Yes") << Saving{Target, {1}, QMessageBox::Yes, all, {}};
        // A link is replaced itself; the file it points at, outside the folder, stays as it was.
        QTest::newRow("links exist, answer Yes") << Saving{Target, {0, 2}, QMessageBox::Yes, all, {}, true};
        QTest::newRow("links exist, answer No") << Saving{Target, {0, 2}, QMessageBox::No, {0, 33}, some, true};
        QTest::newRow("copy fails") << Saving{"plain-file", {}, QMessageBox::Yes, {0}, none};
        // The files are there already, however the folder is spelled: no question, nothing removed.
        QTest::newRow("source folder") << Saving{Source, {}, QMessageBox::Yes, all, {}};
        QTest::newRow("source folder, dot segment") << Saving{Source + "/.", {}, QMessageBox::Yes, all, {}};
        QTest::newRow("source folder through a symlink") << Saving{"link", {}, QMessageBox::Yes, all, {}};
        // A replacing copy that fails leaves the old file as it was, and no partial file.
        QTest::newRow("replacing on a full disk") << Saving{"full", {1}, QMessageBox::Yes, {0}, none};
        QTest::newRow("replacing on a read-only disk")
            << Saving{"read-only", {1}, QMessageBox::Yes, {0},
                      QStringList{"Couldn't delete file \"%1/2.jpg\"!"} + none};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path(), chosen = base + "/" + c.target;
        const QStringList sources = load(base + '/' + Source, {ascan("One"), ascan("Two"), ascan("Three")}, {0, 1, 2});
        QCOMPARE(f->window.form()->fileListWidget->count(), 3);
        QList<QByteArray> before;
        for (const QString &source : sources)
            before << contents(source);
        for (const QString &folder : {Target, QString("full"), QString("read-only")})
            QVERIFY(QDir().mkpath(base + '/' + folder));
        QVERIFY(writeBytes(base + "/plain-file", "not a directory") && QFile::link(base + '/' + Source, base + "/link"));
        const bool tmpfs = c.target == "full" || c.target == "read-only";
        if (tmpfs && !(privateMounts && mountTmpfs(chosen, "size=1m")))
            QSKIP("needs root to mount a small tmpfs of its own");
        const auto unmount = qScopeGuard([&] { if (tmpfs) QProcess::execute("umount", {chosen}); });
        QStringList questions;
        const auto outside = [&](int i) { return base + QStringLiteral("/outside %1.jpg").arg(i + 1); };
        for (int i : c.existing) {
            const QString existing = chosen + QStringLiteral("/%1.jpg").arg(i + 1);
            QVERIFY(c.links ? writeBytes(outside(i), "old copy") && QFile::link(outside(i), existing)
                            : writeBytes(existing, "old copy"));
            questions << QStringLiteral("The file \"%1/%2.jpg\" already exists!\nDo you want to rewrite it?")
                             .arg(chosen).arg(i + 1);
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
        const bool nothingSaved = c.warnings.contains("Unable to save data!");
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents(sources.at(i)), before.at(i));
            const bool kept = c.existing.contains(i) && (c.answer == QMessageBox::No || nothingSaved);
            if (QFileInfo(chosen).isDir())
                QCOMPARE(contents(chosen + QStringLiteral("/%1.jpg").arg(i + 1)),
                         kept ? "old copy" : nothingSaved ? "<missing>" : before.at(i));
            if (c.links && c.existing.contains(i)) {
                QCOMPARE(contents(outside(i)), "old copy");
                QCOMPARE(QFileInfo(chosen + QStringLiteral("/%1.jpg").arg(i + 1)).isSymLink(), kept);
            }
        }
        // No partial or temporary file is left behind.
        const QRegularExpression other(QStringLiteral("^(?![123]\\.jpg$|filler$)"));
        QVERIFY(QDir(chosen).entryList(QDir::Files | QDir::Hidden).filter(other).isEmpty());
    }

    // Texts and paths come out of the real markup exactly as they went in.
    void reportHtml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("logo");
        QTest::addColumn<bool>("settingsMissing");
        QTest::newRow("less-than, ampersand, quotes") << QStringLiteral("A<B & \"C\" 'd'") << true << false;
        QTest::newRow("image tag, no logo") << QStringLiteral("<img src=\"/dev/zero\">") << false << false;
        QTest::newRow("entities, hash, percent") << QStringLiteral("&amp; #1 %41 ?b=c") << true << true;
        QTest::newRow("closing tags, Cyrillic") << QStringLiteral("</TD></TABLE> шов 1") << true << false;
    }

    void reportHtml()
    {
        QFETCH(QString, text);
        QFETCH(bool, logo);
        QFETCH(bool, settingsMissing);
        QTableWidget table(4, 3);   // rows without a caption are left out; the third column never shows
        const QStringList cells{"Probe " + text, "single " + text, "never", "", "no caption", "", "Scale"};
        for (int i = 0; i < cells.size(); ++i) {
            if (!cells.at(i).isEmpty())
                table.setItem(i / 3, i % 3, new QTableWidgetItem(cells.at(i)));
        }
        const ReportPage page{"/scans/" + text + "/12.jpg", settingsMissing,
                              logo ? "/opt/" + text + "/logo.bmp" : QString(), "title " + text, "config " + text,
                              settingsHtml(&table), reportDetailsHtml({"org " + text, "", "", "notes " + text, true})};
        const QStringList rows{"Probe " + text, "single " + text, "Scale"};

        QStringList images;
        const QStringList lines = rendered(reportPageHtml(page), &images);
        QCOMPARE(images, (logo ? QStringList{page.logoPath + " @45"} : QStringList()) << ReportPictureName + QString(" @400"));
        QCOMPARE(lines, ((logo ? QStringList{"Scanlet"} : QStringList())
                         << "Organisation:" << "org " + text << "Notes:" << "notes " + text << page.title
                         << "Configuration: " + page.configurationName)
                            + (settingsMissing ? QStringList() : QStringList{"SETTINGS"} + rows));
        const QString caption = tableHtml(&table, "caption " + text);
        QCOMPARE(rendered(caption), QStringList{"caption " + text} + rows);
        QCOMPARE(caption.count("<TR>", Qt::CaseInsensitive), 2);
        // Details left blank add nothing at all to the page.
        QVERIFY(reportDetailsHtml({" ", "", "\n", "", false}).isEmpty());
    }

    void report_data()
    {
        QTest::addColumn<Report>("c");
        AscanFields broken = ascan("Broken");
        broken.segmentLength = 752;
        const QByteArray image("<img src=\"/dev/zero\">");
        QTest::newRow("selection order, letterhead") << Report{
            {ascan("Alpha weld"), ascan("Bravo seam"), ascan("Charlie joint", "Weld 12 mm", 0)}, {2, 0},
            {"Scanlet|Charlie joint|Configuration: Weld 12 mm|SETTINGS|Acceptance level, dB|!Bravo|!Alpha",
             "Scanlet|Alpha weld|SETTINGS|Reference level, dB|!Acceptance level|!Bravo|!Charlie"},
            "Acceptance level, dB"};
        QTest::newRow("unreadable record first") << Report{
            {ascan("Readable"), broken}, {1, 0},
            // Its own title, not the one the last readable record left behind.
            {"Scanlet|Broken|Configuration:|!SETTINGS|!Readable|!Weld", "Scanlet|Readable|SETTINGS"}, {}};
        QTest::newRow("less-than, ampersand, quotes") << Report{
            {ascan("A<B & \"C\" 'd'", "<b>x&y</b>")}, {0},
            {"Scanlet|A<B & \"C\" 'd'|Configuration: <b>x&y</b>|SETTINGS"}, "Readings discreteness"};
        QTest::newRow("image of /dev/zero") << Report{
            {ascan(image, image)}, {0}, {"Scanlet|" + image + "|Configuration: " + image}, "Readings discreteness"};
        // On every sheet under the letterhead, escaped; only the fields filled; remembered for the next run.
        QTest::newRow("details from the Report tab") << Report{
            {ascan("Alpha"), ascan("Bravo")}, {0, 1},
            {"Scanlet|Organisation:|ACME & Sons|Notes:|" + image + "|line 2|Alpha|!Object:|!Operator:",
             "Scanlet|Organisation:|ACME & Sons|Notes:|" + image + "|line 2|Bravo"},
            "Readings discreteness", {"ACME & Sons", " ", "", image + "\nline 2"}};
    }

    void report()
    {
        QFETCH(Report, c);
        QVERIFY2(!f->window.reportLogoPath().isEmpty(), "the build places the logo beside the tests");
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
        const qint64 readBefore = bytesReadByProcess();

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        // Reading /dev/zero would run on for gigabytes; the pictures and the logo are a few KB.
        QVERIFY(bytesReadByProcess() - readBefore < 16 * 1024 * 1024);
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
        for (const auto paper : {QPageSize::A4, QPageSize::Letter}) {
            for (const bool logo : {true, false}) {
                QTest::addRow("%s, %s", paper == QPageSize::A4 ? "A4" : "Letter", logo ? "logo" : "no logo")
                    << Sheets{3, paper, logo, 0, 0, 1, false, true, {1, 2, 3}, {}};
            }
        }
        QTest::newRow("range 2-2") << Sheets{3, QPageSize::A4, true, 2, 2, 1, false, true, {2}, {}};
        QTest::newRow("range past the end") << Sheets{3, QPageSize::A4, true, 3, 9, 1, false, true, {3}, {}};
        QTest::newRow("2 copies collated") << Sheets{3, QPageSize::A4, true, 0, 0, 2, true, true, {1, 2, 3, 1, 2, 3}, {}};
        QTest::newRow("2 copies uncollated") << Sheets{2, QPageSize::Letter, true, 0, 0, 2, false, true, {1, 1, 2, 2}, {}};
        QTest::newRow("details, fitted") << Sheets{2, QPageSize::Letter, true, 0, 0, 1, false, true, {1, 2},
                                                   {"Tarnwell Inspection", "Bridge 7", "I. Petrov", "Notes\nmore"}};
        QTest::newRow("not fitted runs on") << Sheets{2, QPageSize::Letter, true, 0, 0, 1, false, false, {}, {}};
    }

    // One sheet per record when fitting; the footer numbers sheets over the whole print and names the file.
    void sheets()
    {
        QFETCH(Sheets, c);
        QTableWidget table(17, 2);
        for (int cell = 0; cell < 34; ++cell)
            table.setItem(cell / 2, cell % 2, new QTableWidgetItem(QString(cell % 2 ? "value %1" : "Setting %1").arg(cell / 2 + 1)));
        QStringList files;
        for (int i = 1; i <= c.records; ++i) {
            files << f->temp.path() + QStringLiteral("/scan %1 #%.jpg").arg(i);
            QVERIFY(writeAscan(files.last(), ascan("Title " + QByteArray::number(i))));
        }
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFileName(f->temp.path() + "/sheets.pdf");   // a .pdf name makes a PDF printer
        printer.setPageSize(QPageSize(c.paper));
        printer.setFromTo(c.from, c.to);
        printer.setCopyCount(c.copies);
        printer.setCollateCopies(c.collate);
        const QString details = reportDetailsHtml(c.details);
        const auto fill = [&](int record, QTextDocument &document) {
            document.setHtml(reportPageHtml({files.at(record), false, c.logo ? SCANLET_BIN_DIR "/TARNWELL_logo_bw.bmp" : "",
                                             "Title " + QString::number(record + 1), "Weld", settingsHtml(&table), details}));
            addReportPicture(document, files.at(record));
        };
        const QDateTime printedAt(QDate(2026, 3, 9), QTime(14, 5));
        const int printed = printReport(&printer, {files, c.fit, printedAt}, fill);
        int images = 0;
        const QStringList sheets = pdfSheets(printer.outputFileName(), images);
        QCOMPARE(sheets.size(), printed);
        QCOMPARE(images, (c.logo ? 2 : 1) * (c.numbers.isEmpty() ? c.records : printed));
        if (c.numbers.isEmpty()) {   // more sheets than records, each numbered over the whole print
            QVERIFY2(printed > c.records, qPrintable(QString::number(printed)));
            for (int i = 0; i < printed; ++i)
                QVERIFY(sheets.at(i).contains(QStringLiteral("page %1 of %2").arg(i + 1).arg(printed)));
            return;
        }
        QCOMPARE(printed, c.numbers.size());
        const QString time = QLocale().toString(printedAt, QLocale::ShortFormat);
        for (int i = 0; i < printed; ++i) {
            const QString &sheet = sheets.at(i);
            const int n = c.numbers.at(i);
            // The whole record, then its footer: file name, time of printing, number.
            const QRegularExpression order("Title " + QString::number(n) + "[^\f]*Setting 17 +value 17[^\f]*"
                                           + QRegularExpression::escape(QFileInfo(files.at(n - 1)).fileName())
                                           + " +" + QRegularExpression::escape(time) + " +page "
                                           + QString::number(n) + " of " + QString::number(c.records) + "\\s*$");
            QVERIFY2(order.match(sheet).hasMatch(), qPrintable(sheet));
            QCOMPARE(sheet.contains("Organisation:"), !c.details.isEmpty());
            for (const QString &value : {c.details.organisation, c.details.object, c.details.operatorName, c.details.notes})
                QVERIFY(sheet.contains(value.section('\n', 0, 0)) && sheet.contains(value.section('\n', -1)));
        }
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
