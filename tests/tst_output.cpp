// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// A save into `target` (in the temporary folder; "full" and "read-only" are a small tmpfs) where each
// of 1.jpg..3.jpg is absent ('-'), an old copy ('f') or a link to one outside ('l'); the answer to the
// questions, the bar's values, the warnings (%1: the folder); what each is after: the same, 's' the
// saved copy, 'm' missing.
struct Saving { QString target; QByteArray there; int answer; QList<int> bar; QStringList warnings; QByteArray after; };

// A print of the rows selected in turn with the printer's paper, range, copies and collation and the
// Report tab's fields; per sheet a pattern of what it shows ("DATE": today); the table's row 8 afterwards.
struct Print { QList<int> selected; QPageSize::PageSizeId paper; int from, to, copies; bool collate, fit;
               QStringList details, sheets; QString row8; };

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
        for (int i = 0; i < 3; ++i) {
            paths << dir + QStringLiteral("/%1.jpg").arg(i + 1);
            if (!QDir().mkpath(dir) || !writeAscan(paths.last(), files[i]))
                return {};
        }
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

    // Beside the program while that place can be written, else in the configuration folder; the
    // line written last is read back.
    void saveDirStore()
    {
        const QString beside = f->temp.filePath("program/dir"), config = f->temp.filePath("config/scanlet/dir");
        QVERIFY(QDir().mkpath(beside));   // a folder in the way: not writable even for root
        QCOMPARE(writeSaveDirLine(beside, config, Target), config);
        QCOMPARE(readSaveDirLine(beside, config), Target);
        QVERIFY(QDir().rmdir(beside));
        QCOMPARE(writeSaveDirLine(beside, config, "second"), beside);
        QFile older(config);
        QVERIFY(older.open(QIODevice::ReadWrite)
                && older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        QCOMPARE(readSaveDirLine(beside, config), QString("second"));
        QCOMPARE(readSaveDirLine(config + "-none", config + "-none"), QString());
    }

    // Without the letterhead the details open every sheet; each record, its table full, on one sheet.
    void sheetsWithoutLogo()
    {
        const QStringList files = load(f->temp.filePath("plain"), {});
        QTableWidget table(17, 2);
        for (int cell = 0; cell < 34; ++cell)
            table.setItem(cell / 2, cell % 2, new QTableWidgetItem(QStringLiteral("Setting %1").arg(cell)));
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFileName(f->temp.filePath("plain.pdf"));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        const auto fill = [&](int record, QTextDocument &document) {
            document.setHtml(reportPageHtml({files.at(record), false, "", "Title", "Weld", settingsHtml(&table),
                                             reportDetailsHtml({"ACME & Sons", "", "", Markup})}));
            addReportPicture(document, files.at(record));
        };
        QCOMPARE(printReport(&printer, {files, true, QDateTime::currentDateTime()}, fill), 3);
        const QStringList sheets = run("pdftotext", {"-layout", printer.outputFileName(), "-"}).split('\f');
        for (int i = 0; i < 3; ++i)
            QVERIFY2(QRegularExpression("^\\s*Organisation: +ACME & Sons\\s+Notes: +" + QRegularExpression::escape(Markup)
                                        + "\\s+Title.*Setting 33.*page " + QString::number(i + 1) + " of 3",
                                        QRegularExpression::DotMatchesEverythingOption).match(sheets.value(i)).hasMatch(),
                     qPrintable(sheets.value(i)));
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
        const QList<int> all{0, 33, 67, 100};
        QTest::newRow("a file and a link there, Yes") << Saving{Target, "-fl", QMessageBox::Yes, all, {}, "sss"};
        QTest::newRow("a file and a link there, No") << Saving{Target, "-fl", QMessageBox::No, {0, 33}, some, "sfl"};
        QTest::newRow("copy fails") << Saving{"plain-file", "---", QMessageBox::Yes, {0}, none, "mmm"};
        // The files are there already, however the folder is spelled: no question, nothing removed.
        QTest::newRow("source folder through a link") << Saving{"link/.", "---", QMessageBox::Yes, all, {}, "sss"};
        // A replacing copy that fails leaves the old file as it was, and no partial file.
        QTest::newRow("replacing on a full disk") << Saving{"full", "-f-", QMessageBox::Yes, {0}, none, "mfm"};
        const QStringList cannotDelete{"Couldn't delete file \"%1/2.jpg\"!", none.first()};
        QTest::newRow("replacing on a read-only disk")
            << Saving{"read-only", "-f-", QMessageBox::Yes, {0}, cannotDelete, "mfm"};
    }

    void saving()
    {
        QFETCH(Saving, c);
        const QString base = f->temp.path(), chosen = base + "/" + c.target;
        const QStringList sources = load(base + '/' + Source, {0, 1, 2});
        QCOMPARE(sources.size(), 3);
        const QList<QByteArray> before{contents(sources[0]), contents(sources[1]), contents(sources[2])};
        QVERIFY(writeBytes(base + "/plain-file", "not a directory") && QFile::link(base + '/' + Source, base + "/link"));
        QVERIFY(QFileInfo::exists(chosen) || QDir().mkpath(chosen));
        const auto mount = [&](const QString &options) {
            return QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", chosen}) == 0;
        };
        const bool tmpfs = c.target == "full" || c.target == "read-only";
        if (tmpfs && !(privateMounts && mount("size=1m")))
            QSKIP("needs root to mount a small tmpfs of its own");
        const auto unmount = qScopeGuard([&] { if (tmpfs) run("umount", {chosen}); });
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
        QFile filler(chosen + "/filler");
        if (c.target == "full" && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) == 4096) {}
        QVERIFY(c.target != "read-only" || mount("remount,ro"));
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
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents(sources.at(i)), before.at(i));
            const QByteArray after = c.after[i] == 's' ? before.at(i) : QByteArray(c.after[i] == 'm' ? "<missing>" : "old copy");
            QCOMPARE(contents(saved(i)), after);
            QCOMPARE(contents(old(i)), QByteArray(c.there[i] == '-' ? "<missing>" : "old copy"));
            QCOMPARE(QFileInfo(saved(i)).isSymLink(), c.after[i] == 'l');
        }
        // No partial or temporary file is left behind.
        QVERIFY(QDir(chosen).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^(?![123]\\.jpg$|filler$)"))
                    .isEmpty());
    }

    void printing_data()
    {
        QTest::addColumn<Print>("c");
        const auto sheet = [](const QString &shows, int file, int n, int of) {
            return shows + QString("[^\\f]*%1\\.jpg +DATE[^\\f]* page %2 of %3\\s*$").arg(file).arg(n).arg(of);
        };
        const QString details = ".*Scanlet.*Organisation:.*ACME & Sons.*Notes:.*" + Markup + ".*line 2.*";
        const QStringList all{"ACME", "Bridge 7", "I. Petrov", "Notes"};
        // Details on every sheet under the letterhead, escaped, only the fields filled; remembered for the next run.
        QTest::newRow("selection order, details, A4") << Print{{1, 0}, QPageSize::A4, 0, 0, 1, false, true,
            {"ACME & Sons", " ", "", Markup + "\nline 2"},
            {sheet("^(?!.*(Alpha|Object:|Operator:))" + details + "A<B " + Markup + ".*Configuration: " + Markup
                   + ".*SETTINGS.*Acceptance level, dB", 2, 1, 2),
             sheet("^(?!.*(A<B|Acceptance))" + details + "Alpha weld.*Configuration: Weld 12 mm.*Reference level, dB",
                   1, 2, 2)}, "Acceptance level, dB"};
        // Its own title, not the one the last readable record left behind.
        QTest::newRow("unreadable record first, Letter") << Print{{2, 0}, QPageSize::Letter, 0, 0, 1, false, true, {},
            {sheet("^(?!.*(SETTINGS|Alpha|Weld|Organisation:)).*Scanlet.*A-scan.*Configuration:", 3, 1, 2),
             sheet("^(?!.*A-scan).*Alpha weld.*SETTINGS", 1, 2, 2)}, {}};
        const QString second = sheet("A<B", 2, 2, 3), third = sheet("A-scan", 3, 3, 3);
        QTest::newRow("range 2-3, 2 copies collated") << Print{{0, 1, 2}, QPageSize::A4, 2, 3, 2, true, true, {},
            {second, third, second, third}, "Readings discreteness"};
        QTest::newRow("range 2-9, 2 copies uncollated, details fitted") << Print{{0, 1, 2}, QPageSize::Letter, 2, 9, 2,
            false, true, all, {second, second, third, third}, "Readings discreteness"};
        QTest::newRow("not fitted runs on") << Print{{0}, QPageSize::Letter, 0, 0, 1, false, false, all,
            {sheet("Alpha weld", 1, 1, 2), sheet("", 1, 2, 2)}, "Readings discreteness"};
    }

    void printing()
    {
        QFETCH(Print, c);
        // A folder name that is not a valid URL as it stands: the pictures must still be found.
        QCOMPARE(load(f->temp.filePath("print #1 %41"), c.selected).size(), 3);
        const QString pdfPath = f->temp.filePath("report.pdf");
        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");   // cancelled
        QVERIFY(!QFile::exists(pdfPath));
        f->env.dialogs->pdfPath = pdfPath;
        const ReportDetails saved = loadReportDetails();
        QStringList shown;
        f->env.dialogs->printChoices = [&](QPrinter *printer, const QList<QWidget *> &tabs) {
            printer->setPageSize(QPageSize(c.paper));
            printer->setFromTo(c.from, c.to);
            printer->setCopyCount(c.copies);
            printer->setCollateCopies(c.collate);
            for (QLineEdit *edit : tabs.value(0)->findChildren<QLineEdit *>()) {
                shown << edit->text();
                edit->setText(c.details.value(shown.size() - 1));
            }
            tabs.value(0)->findChild<QPlainTextEdit *>()->setPlainText(c.details.value(3));
            tabs.value(0)->findChild<QCheckBox *>()->setChecked(c.fit);
        };

        QMetaObject::invokeMethod(&f->window, "slot_printSelectedData");

        QStringList printed = run("pdftotext", {"-layout", pdfPath, "-"}).split('\f');
        QCOMPARE(printed.takeLast(), QString());   // each sheet ends in a form feed
        QCOMPARE(printed.size(), c.sheets.size());
        // The logo and the picture on every sheet when fitting; pdfimages lists them after two header lines.
        QCOMPARE(run("pdfimages", {"-list", pdfPath}).count('\n') - 2, 2 * (c.fit ? printed.size() : c.selected.size()));
        const QString today = QRegularExpression::escape(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        for (int i = 0; i < printed.size(); ++i) {
            const QRegularExpression shows(QString(c.sheets.at(i)).replace("DATE", today),
                                           QRegularExpression::DotMatchesEverythingOption);
            QVERIFY2(shows.match(printed.at(i)).hasMatch(), qPrintable(shows.pattern() + " in:\n" + printed.at(i)));
        }
        // The tab showed what the last run left; its choices are kept for the next one.
        QCOMPARE(shown, (QStringList{saved.organisation, saved.object, saved.operatorName}));
        QCOMPARE(loadReportDetails().notes, c.details.value(3));
        // The table shows the first selected file again, not the last one printed.
        const QTableWidget *table = f->window.form()->tableWidget;
        QCOMPARE(table->item(8, 0) ? table->item(8, 0)->text() : QString(), c.row8);
        for (int row = 0; c.row8.isEmpty() && row < table->rowCount(); ++row)
            QVERIFY(!table->item(row, 0));
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
