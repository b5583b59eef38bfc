// Saving selected files and the printed report, through the main window with answered dialogs.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanbuilder.h"
#include "output/reporthtml.h"
#include "output/reportprinter.h"
#include "ui_cdatamanager.h"

namespace {

// The tmpfs mounted below stays in this process's own mount namespace, so other programs that
// watch the mount table (a running Scanlet, other tests) never see it. Done before main, while
// the process has a single thread.
const bool privateMounts = [] {
    return geteuid() == 0 && unshare(CLONE_NEWNS) == 0
           && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}();

class NoInstrument : public InstrumentPlatform
{
public:
    bool openDiskList() override { return true; }
    void closeDiskList() override {}
    bool diskAt(int) override { return false; }
    bool readDiskDescriptor(int, QByteArray &) override { return false; }
    QStringList driveRoots() override { return {}; }
    int volumeDiskNumber(const QString &) override { return -1; }
    bool rootPresent(const QString &) override { return false; }
};

class FakeDialogs : public Dialogs
{
public:
    QString openAnswer;
    QStringList directoryAnswers;     // taken in turn; an empty answer is a cancelled dialog
    QMessageBox::StandardButton questionAnswer = QMessageBox::No;
    QString pdfPath;                  // empty: the print dialog is cancelled
    QStringList directoryStarts, questions, warnings;

    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return openAnswer;
    }
    QString getExistingDirectory(QWidget *, const QString &, const QString &dir) override
    {
        directoryStarts << dir;
        return directoryAnswers.isEmpty() ? QString() : directoryAnswers.takeFirst();
    }
    QMessageBox::StandardButton warning(QWidget *, const QString &, const QString &text) override
    {
        warnings << text;
        return QMessageBox::Ok;
    }
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &text) override
    {
        questions << text;
        return questionAnswer;
    }
    bool execPrintDialog(QPrinter *printer, QWidget *) override
    {
        if (pdfPath.isEmpty())
            return false;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::A4));
        return true;
    }
};

// Sees the "Data Saving" window appear and records every value of its bar.
class SavingWatcher : public QObject
{
public:
    int shown = 0;
    QList<int> bar;
    QPointer<QDialog> dialog;

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && object->objectName() == QLatin1String("dlg_infoSave")) {
            ++shown;
            dialog = qobject_cast<QDialog *>(object);
            auto *progress = object->findChild<QProgressBar *>(QStringLiteral("prgb_saving"));
            bar << progress->value();
            connect(progress, &QProgressBar::valueChanged, this, [this](int value) { bar << value; });
        }
        return false;
    }
};

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

struct Pdf
{
    int pages = 0;
    int images = 0;
    QStringList runs;   // the text of each print run: sheets numbered from 1 again start a new one
};

Pdf readPdf(const QString &path)
{
    Pdf pdf;
    const QRegularExpression pagesLine(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                       QRegularExpression::MultilineOption);
    pdf.pages = pagesLine.match(run(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
    // The fonts print "fi" and "ff" as ligatures; compatibility normalisation spells them out.
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
                             .normalized(QString::NormalizationForm_KC);
    QStringList sheets = text.split(QLatin1Char('\f'));
    if (!sheets.isEmpty() && sheets.last().trimmed().isEmpty())
        sheets.removeLast();
    if (sheets.size() != pdf.pages)
        pdf.pages = -1;
    for (const QString &sheet : sheets) {
        const QStringList lines = sheet.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.isEmpty() || lines.last().trimmed() == QLatin1String("1") || pdf.runs.isEmpty())
            pdf.runs << sheet;
        else
            pdf.runs.last() += sheet;
    }
    // "pdfimages -list" prints two header lines, then one line per image drawn.
    pdf.images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path})
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - 2;
    return pdf;
}

qint64 bytesReadByProcess()
{
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    const QRegularExpression rchar(QStringLiteral("^rchar: (\\d+)$"), QRegularExpression::MultilineOption);
    return rchar.match(QString::fromLatin1(io.readAll())).captured(1).toLongLong();
}

// The report's markup, written out by hand piece by piece.
QString expectedRow(const QString &left, const QString &right)
{
    return "<TR><TD ALIGN=\"LEFT\">" + left + "</TD><TD ALIGN=\"CENTER\">" + right + "</TD></TR>\n";
}

QString expectedTable(const QString &caption, const QString &rows)
{
    return "<H4 ALIGN=\"CENTER\">" + caption + "</H4>\n"
           "<TABLE ALIGN=\"CENTER\" WIDTH=100% BORDER CELLSPACING=\"0\" CELLPADDING=\"1\">\n"
           + rows + "</TABLE>\n";
}

void setCell(QTableWidget &table, int row, int column, const QString &text)
{
    table.setItem(row, column, new QTableWidgetItem(text));
}

QStringList imageNames(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                names << it.fragment().charFormat().toImageFormat().name();
        }
    }
    return names;
}

bool mountTmpfs(const QString &dir, const QString &options)
{
    return QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                       QStringLiteral("-o"), options,
                                                       QStringLiteral("tmpfs"), dir}) == 0;
}

} // namespace

class TestOutput : public QObject
{
    Q_OBJECT

private:
    FakeDialogs *dialogs = nullptr;
    CDataManager *window = nullptr;
    SavingWatcher *watcher = nullptr;
    std::unique_ptr<QTemporaryDir> tempDir;

    QString tempPath() const { return tempDir->path(); }

    Ui::CDataManagerTempl *ui() const { return window->form(); }

    // Writes A-scans 1.jpg, 2.jpg, ... with these titles into `dir` and loads them into the strip.
    QStringList loadAscans(const QString &dir, const QList<AscanFields> &ascans)
    {
        QDir().mkpath(dir);
        QStringList paths;
        for (int i = 0; i < ascans.size(); ++i) {
            paths << dir + QStringLiteral("/%1.jpg").arg(i + 1);
            if (!writeAscan(paths.last(), ascans.at(i)))
                return {};
        }
        dialogs->openAnswer = paths.first();
        QMetaObject::invokeMethod(window, "slot_loadDataDir");
        return paths;
    }

    QStringList loadTitled(const QString &dir, const QStringList &titles)
    {
        QList<AscanFields> ascans;
        for (const QString &title : titles) {
            AscanFields ascan;
            ascan.title = title.toUtf8();
            ascans << ascan;
        }
        return loadAscans(dir, ascans);
    }

    void select(const QList<int> &rows)
    {
        ui()->fileListWidget->clearSelection();
        for (int row : rows)
            ui()->fileListWidget->item(row)->setSelected(true);
    }

    QString tableCaption(int row) const
    {
        const QTableWidgetItem *item = ui()->tableWidget->item(row, 0);
        return item ? item->text() : QString();
    }

private slots:
    void initTestCase()
    {
        setInstrumentPlatformFactory([] { return std::unique_ptr<InstrumentPlatform>(new NoInstrument); });
    }

    void init()
    {
        dialogs = new FakeDialogs;
        Dialogs::install(dialogs);
        window = new CDataManager;
        tempDir.reset(new QTemporaryDir);
        QVERIFY(tempDir->isValid());
        watcher = new SavingWatcher;
        qApp->installEventFilter(watcher);
    }

    void cleanup()
    {
        delete watcher;
        delete window;
        tempDir.reset();
        Dialogs::install(nullptr);
    }

    void saving_data()
    {
        QTest::addColumn<QList<int>>("existing");     // files already in the destination
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("destinationIsFile");   // every copy fails
        QTest::addColumn<QList<int>>("bar");
        QTest::addColumn<QString>("warning");

        const QString some = QStringLiteral("A number of data couldn't be saved!");
        const QString none = QStringLiteral("Unable to save data!");
        QTest::newRow("all new") << QList<int>{} << int(QMessageBox::No) << false << QList<int>{0, 33, 67, 100}
                                 << QString();
        QTest::newRow("second exists, answer No") << QList<int>{1} << int(QMessageBox::No) << false
                                                  << QList<int>{0, 33, 67} << some;
        QTest::newRow("second exists, answer Yes") << QList<int>{1} << int(QMessageBox::Yes) << false
                                                   << QList<int>{0, 33, 67, 100} << QString();
        QTest::newRow("all exist, answer No") << QList<int>{0, 1, 2} << int(QMessageBox::No) << false
                                              << QList<int>{0} << none;
        QTest::newRow("copy fails") << QList<int>{} << int(QMessageBox::Yes) << true << QList<int>{0} << none;
    }

    void saving()
    {
        QFETCH(QList<int>, existing);
        QFETCH(int, answer);
        QFETCH(bool, destinationIsFile);
        QFETCH(QList<int>, bar);
        QFETCH(QString, warning);

        const QStringList sources = loadTitled(tempPath() + "/src", {"One", "Two", "Three"});
        QCOMPARE(ui()->fileListWidget->count(), 3);
        select({0, 1, 2});
        const QString target = tempPath() + (destinationIsFile ? "/plain-file" : "/target");
        if (destinationIsFile)
            QVERIFY(writeBytes(target, "not a directory"));
        else
            QVERIFY(QDir().mkpath(target));
        QStringList expectedQuestions;
        for (int i : existing) {
            const QString destination = target + "/" + QFileInfo(sources.at(i)).fileName();
            QVERIFY(writeBytes(destination, "old copy"));
            expectedQuestions << "The file \"" + destination + "\" already exists!\nDo you want to rewrite it?";
        }
        dialogs->directoryAnswers = QStringList{target};
        dialogs->questionAnswer = QMessageBox::StandardButton(answer);

        QMetaObject::invokeMethod(window, "slot_saveSelectedData");

        QCOMPARE(dialogs->questions, expectedQuestions);
        QCOMPARE(watcher->shown, 1);
        QCOMPARE(watcher->bar, bar);
        QCOMPARE(dialogs->warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
        QVERIFY(!window->savingWindow());
        QVERIFY(watcher->dialog.isNull());
        QCOMPARE(window->saveDirectory(), target);
        for (int i = 0; i < 3; ++i) {
            const QString destination = target + "/" + QFileInfo(sources.at(i)).fileName();
            if (destinationIsFile)
                QVERIFY(!QFile::exists(destination));
            else if (existing.contains(i) && answer != QMessageBox::Yes)
                QCOMPARE(contents(destination), QByteArray("old copy"));
            else
                QCOMPARE(contents(destination), contents(sources.at(i)));
        }
    }

    void saveDirFollowsConfirmedChoices()
    {
        const QStringList sources = loadTitled(tempPath() + "/choices", {"Only"});
        select({0});
        const QString first = tempPath() + "/first";
        const QString second = tempPath() + "/second";
        QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
        QVERIFY(writeBytes(second + "/1.jpg", "kept"));
        const QString initial = window->saveDirectory();
        dialogs->directoryAnswers = QStringList{first, second, QString()};

        QMetaObject::invokeMethod(window, "slot_saveSelectedData");
        QCOMPARE(window->saveDirectory(), first);
        // Declining every overwrite still makes the choice the remembered directory.
        QMetaObject::invokeMethod(window, "slot_saveSelectedData");
        QCOMPARE(window->saveDirectory(), second);
        QCOMPARE(dialogs->warnings, QStringList{"Unable to save data!"});
        // Cancelled: nothing copied, nothing shown, the directory stays.
        QMetaObject::invokeMethod(window, "slot_saveSelectedData");
        QCOMPARE(window->saveDirectory(), second);
        QCOMPARE(dialogs->directoryStarts, (QStringList{initial, first, second}));
        QCOMPARE(watcher->shown, 2);
        QCOMPARE(dialogs->warnings.size(), 1);
        QCOMPARE(contents(first + "/1.jpg"), contents(sources.first()));
        QCOMPARE(contents(second + "/1.jpg"), QByteArray("kept"));
    }

    void saveOntoSourceFolder_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::newRow("same path") << QString();
        QTest::newRow("dot segment") << QStringLiteral("/.");
        QTest::newRow("through a symlink") << QStringLiteral("link");
    }

    void saveOntoSourceFolder()
    {
        QFETCH(QString, spelling);
        const QString folder = tempPath() + "/onto";
        const QStringList sources = loadTitled(folder, {"One", "Two", "Three"});
        QList<QByteArray> before;
        for (const QString &source : sources)
            before << contents(source);
        select({0, 1, 2});
        QString chosen = folder + spelling;
        if (spelling == QLatin1String("link")) {
            chosen = tempPath() + "/onto-link";
            QFile::remove(chosen);
            QVERIFY(QFile::link(folder, chosen));
        }
        dialogs->directoryAnswers = QStringList{chosen};
        dialogs->questionAnswer = QMessageBox::Yes;

        QMetaObject::invokeMethod(window, "slot_saveSelectedData");

        QVERIFY(dialogs->questions.isEmpty());
        QVERIFY(dialogs->warnings.isEmpty());
        QCOMPARE(watcher->bar.last(), 100);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
        for (int i = 0; i < sources.size(); ++i)
            QCOMPARE(contents(sources.at(i)), before.at(i));
    }

    void failedReplaceKeepsOldFile_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("disk full") << false << QStringList{"Unable to save data!"};
        QTest::newRow("read-only") << true << QStringList{"Couldn't delete file \"%1\"!", "Unable to save data!"};
    }

    void failedReplaceKeepsOldFile()
    {
        QFETCH(bool, readOnly);
        QFETCH(QStringList, warnings);
        if (!privateMounts)
            QSKIP("needs root to mount a small tmpfs of its own");
        AscanFields big;
        big.title = "Big";
        big.picture = instrumentScreen(7, QString()).scaled(1200, 1600);
        const QStringList sources = loadAscans(tempPath() + "/big", {big});
        select({0});
        const QString mountPoint = tempPath() + "/small";
        QVERIFY(QDir().mkpath(mountPoint));
        if (!mountTmpfs(mountPoint, QStringLiteral("size=1m")))
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mountPoint}); });
        const QString destination = mountPoint + "/1.jpg";
        const QByteArray old("the user's earlier copy");
        QVERIFY(writeBytes(destination, old));
        if (readOnly) {
            QVERIFY(mountTmpfs(mountPoint, QStringLiteral("remount,ro")));
        } else {
            QFile filler(mountPoint + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray chunk(4096, 'x');
            while (filler.write(chunk) == chunk.size()) {}
        }
        dialogs->directoryAnswers = QStringList{mountPoint};
        dialogs->questionAnswer = QMessageBox::Yes;

        QMetaObject::invokeMethod(window, "slot_saveSelectedData");

        QCOMPARE(dialogs->questions.size(), 1);
        if (readOnly)
            warnings[0] = warnings[0].arg(destination);
        QCOMPARE(dialogs->warnings, warnings);
        QCOMPARE(contents(destination), old);
        const QStringList left = QDir(mountPoint).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, readOnly ? QStringList{"1.jpg"} : (QStringList{"1.jpg", "filler"}));
    }

    void reportPageFollowsLayout_data()
    {
        QTest::addColumn<QString>("logoPath");
        QTest::addColumn<bool>("settingsMissing");
        QTest::newRow("letterhead and settings") << QStringLiteral("/opt/scanlet/TARNWELL_logo_bw.bmp") << false;
        QTest::newRow("no logo") << QString() << false;
        QTest::newRow("settings missing") << QStringLiteral("/opt/scanlet/TARNWELL_logo_bw.bmp") << true;
    }

    void reportPageFollowsLayout()
    {
        QFETCH(QString, logoPath);
        QFETCH(bool, settingsMissing);
        QTableWidget table(4, 3);
        setCell(table, 0, 0, "Probe type");
        setCell(table, 0, 1, "single");
        setCell(table, 0, 2, "never printed");
        setCell(table, 1, 1, "no caption");
        setCell(table, 2, 0, "Scale");

        ReportPage page;
        page.filePath = "/data/scans/12.jpg";
        page.settingsMissing = settingsMissing;
        page.logoPath = logoPath;
        page.title = "Weld 7";
        page.configurationName = "Plate 12";
        page.settingsTable = settingsHtml(&table);

        QString expected;
        if (!logoPath.isEmpty()) {
            expected += "<TABLE WIDTH=100% ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n"
                        "<TR><TD WIDTH=60 ALIGN=LEFT><IMG SRC=\"file://" + logoPath + "\" HEIGHT=45></TD>"
                        "<TD ALIGN=CENTER><H2>Scanlet</H2></TD></TR></TABLE>\n";
        }
        expected += "<H1 ALIGN=\"CENTER\">Weld 7</H1><P ALIGN=CENTER >\n"
                    "<IMG SRC=\"file:///data/scans/12.jpg\" HEIGHT=400 VSPACE = \"20\"><BR></P>\n"
                    "<H3 ALIGN=\"CENTER\">Configuration: Plate 12</H3>";
        if (!settingsMissing) {
            expected += "<TABLE ALIGN=\"CENTER\" WIDTH=610 BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n"
                        "<TR>\n<TD ALIGN=CENTER>\n"
                        + expectedTable("SETTINGS", expectedRow("Probe type", "single") + expectedRow("Scale", ""))
                        + "\n</TD>\n</TR>\n</TABLE>\n";
        }
        QCOMPARE(reportPageHtml(page), expected);
    }

    void insertedTextsPrintLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("less-than, ampersand, quotes") << QStringLiteral("A<B & \"C\" 'd'");
        QTest::newRow("image tag") << QStringLiteral("<img src=\"/dev/zero\">");
        QTest::newRow("entity") << QStringLiteral("&amp; &lt;b&gt;");
        QTest::newRow("closing tags") << QStringLiteral("</TD></TABLE><H1>x");
    }

    void insertedTextsPrintLiterally()
    {
        QFETCH(QString, text);
        QTableWidget table(1, 2);
        setCell(table, 0, 0, "cell " + text);
        setCell(table, 0, 1, "value " + text);
        ReportPage page;
        page.filePath = "/data/1.jpg";
        page.title = "title " + text;
        page.configurationName = "config " + text;
        page.settingsTable = settingsHtml(&table);
        const QString html = reportPageHtml(page);

        QTextDocument document;
        document.setHtml(html);
        const QStringList lines = document.toPlainText().split(QRegularExpression("[\\n\\x{2029}\\t]"),
                                                               Qt::SkipEmptyParts);
        for (const QString &line : {page.title, "Configuration: " + page.configurationName, "cell " + text,
                                    "value " + text})
            QVERIFY2(lines.contains(line), qPrintable(line));
        QCOMPARE(imageNames(html), QStringList{"file:///data/1.jpg"});
        document.setHtml(tableHtml(&table, "caption " + text));
        QVERIFY(document.toPlainText().contains("caption " + text));
    }

    void imageSourceKeepsPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("hash and percent") << QStringLiteral("/scans/#1 %41/12.jpg");
        QTest::newRow("query and quote") << QStringLiteral("/scans/a?b=\"c\"/12.jpg");
        QTest::newRow("markup") << QStringLiteral("/scans/<b>&amp;/12.jpg");
        QTest::newRow("Cyrillic and spaces") << QStringLiteral("/сканы/шов 1/12.jpg");
    }

    void imageSourceKeepsPath()
    {
        QFETCH(QString, path);
        ReportPage page;
        page.filePath = path;
        page.logoPath = path + ".bmp";
        page.settingsMissing = true;
        const QStringList names = imageNames(reportPageHtml(page));
        QCOMPARE(names.size(), 2);
        QCOMPARE(QUrl(names.at(0)).toLocalFile(), page.logoPath);
        QCOMPARE(QUrl(names.at(1)).toLocalFile(), path);
    }

    void reportOneRunPerFileInSelectionOrder()
    {
        QVERIFY2(!window->reportLogoPath().isEmpty(), "the build places the logo beside the tests");
        AscanFields alpha;
        alpha.title = "Alpha weld";
        AscanFields bravo;
        bravo.title = "Bravo seam";
        AscanFields charlie;
        charlie.title = "Charlie joint";
        charlie.referenceSwitch = 0;
        // A folder name that is not a valid URL as it stands: the pictures must still be found.
        loadAscans(tempPath() + "/print #1 %41", {alpha, bravo, charlie});
        select({2, 0});
        QCOMPARE(tableCaption(8), QStringLiteral("Acceptance level, dB"));

        dialogs->pdfPath.clear();
        QMetaObject::invokeMethod(window, "slot_printSelectedData");
        const QString pdfPath = tempPath() + "/order.pdf";
        QVERIFY(!QFile::exists(pdfPath));

        dialogs->pdfPath = pdfPath;
        QMetaObject::invokeMethod(window, "slot_printSelectedData");
        const Pdf pdf = readPdf(pdfPath);
        QVERIFY(pdf.pages >= 2);
        QCOMPARE(pdf.runs.size(), 2);
        QCOMPARE(pdf.images, 4);   // logo and picture of each file
        const QString &first = pdf.runs.at(0);
        const QString &second = pdf.runs.at(1);
        QVERIFY(first.contains("Scanlet") && second.contains("Scanlet"));
        QVERIFY(first.indexOf("Scanlet") < first.indexOf("Charlie joint"));
        QVERIFY(second.contains("Alpha weld") && !second.contains("Charlie joint"));
        QVERIFY(!first.contains("Bravo") && !second.contains("Bravo"));
        QVERIFY(first.contains("Configuration: Weld 12 mm") && first.contains("SETTINGS"));
        QVERIFY(first.contains("Acceptance level, dB"));
        QVERIFY(second.contains("Reference level, dB") && !second.contains("Acceptance level, dB"));
        // The table shows the first selected file again, not the last one printed.
        QCOMPARE(tableCaption(8), QStringLiteral("Acceptance level, dB"));
        QCOMPARE(tableCaption(14), QStringLiteral("Time"));
    }

    void reportOfUnreadableRecord()
    {
        AscanFields good;
        good.title = "Readable";
        AscanFields broken;
        broken.title = "Broken";
        broken.segmentLength = 752;
        loadAscans(tempPath() + "/unreadable", {good, broken});
        QCOMPARE(ui()->fileListWidget->count(), 2);
        select({1, 0});
        dialogs->pdfPath = tempPath() + "/unreadable.pdf";

        QMetaObject::invokeMethod(window, "slot_printSelectedData");

        const Pdf pdf = readPdf(dialogs->pdfPath);
        QCOMPARE(pdf.runs.size(), 2);
        QCOMPARE(pdf.images, 4);
        QVERIFY(pdf.runs.at(0).contains("Configuration:"));
        QVERIFY(!pdf.runs.at(0).contains("SETTINGS"));
        QVERIFY(pdf.runs.at(1).contains("SETTINGS") && pdf.runs.at(1).contains("Readable"));
        // The first selected file cannot be read again: the table is cleared, not left on "Readable".
        for (int row = 0; row < ui()->tableWidget->rowCount(); ++row)
            QVERIFY(!ui()->tableWidget->item(row, 0));
    }

    void reportTitlesPrintLiterally_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("configuration");
        QTest::newRow("less-than, ampersand, quotes") << QByteArray("A<B & \"C\" 'd'") << QByteArray("x&y");
        QTest::newRow("image of /dev/zero") << QByteArray("<img src=\"/dev/zero\">")
                                            << QByteArray("<img src=\"/dev/zero\">");
        QTest::newRow("entity") << QByteArray("&lt;b&gt; &amp;") << QByteArray("<b>bold</b>");
    }

    void reportTitlesPrintLiterally()
    {
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, configuration);
        AscanFields ascan;
        ascan.title = title;
        ascan.configurationName = configuration;
        loadAscans(tempPath() + "/literal", {ascan});
        select({0});
        dialogs->pdfPath = tempPath() + "/literal.pdf";
        const qint64 readBefore = bytesReadByProcess();

        QMetaObject::invokeMethod(window, "slot_printSelectedData");

        // Reading /dev/zero would run on for gigabytes; the pictures and the logo are a few KB.
        QVERIFY(bytesReadByProcess() - readBefore < 16 * 1024 * 1024);
        const Pdf pdf = readPdf(dialogs->pdfPath);
        QCOMPARE(pdf.runs.size(), 1);
        QVERIFY2(pdf.runs.first().contains(QString::fromUtf8(title)), qPrintable(pdf.runs.first()));
        QVERIFY(pdf.runs.first().contains("Configuration: " + QString::fromUtf8(configuration)));
    }

    // Text is printed black even where the desktop's palette draws text light on dark.
    void reportTextIsBlackOnAnyPalette()
    {
        const QPalette saved = QApplication::palette();
        QPalette dark = saved;
        dark.setColor(QPalette::Text, Qt::white);
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(tempPath() + "/palette.pdf");
        QTextDocument document;
        document.setHtml("<H1>MMMMMMMMMMMM</H1>");
        {
            ReportPrinter report(&printer);
            QVERIFY(report.isActive());
            report.printDocument(document);
        }
        const QString prefix = tempPath() + "/palette";
        QCOMPARE(QProcess::execute("pdftoppm", {"-gray", "-r", "72", "-singlefile", printer.outputFileName(),
                                                prefix}),
                 0);
        const QImage page(prefix + ".pgm");
        QVERIFY(!page.isNull());
        // The top half holds the heading; the page number at the foot is drawn black anyway.
        int darkest = 255;
        for (int y = 0; y < page.height() / 2; ++y) {
            for (int x = 0; x < page.width(); ++x)
                darkest = qMin(darkest, qGray(page.pixel(x, y)));
        }
        QVERIFY2(darkest < 64, qPrintable(QString::number(darkest)));
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
