// The command-line inspector run as a program on generated files, and the window's settings export.
#include <QAction>
#include <QClipboard>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "records/recordsummary.h"
#include "ui_cdatamanager.h"

namespace {

struct Run
{
    int status;
    QString out;
    QString err;
};

Run inspect(const QStringList &args, const QString &workingDirectory = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(SCANLET_BIN_DIR "/scanlet-info"), args);
    const bool ended
        = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

const QString UsageLine = QStringLiteral("Usage: scanlet-info [--json | --csv] [--] FILE|FOLDER...\n");

// What the table shows of the writer's default A-scan, as the text form prints it.
const QString DefaultSettings = QStringLiteral(
    "Probe type: single\n"
    "Operating frequency, MHz: 5.0\n"
    "Probe angle,°: 45.0\n"
    "Delay, µs: 0.7\n"
    "Thickness, mm: 10.00\n"
    "Reference level, dB: off\n"
    "Multilevel Strobe: off\n"
    "Scale: mm depth\n"
    "Readings discreteness: 0.1\n"
    "Cursor: on\n"
    "Date: 15:06:2026\n"
    "Time: 12:30\n");

// RFC 4180: a field is quoted when it holds the separator, a quote or a line break, with quotes
// doubled, and every record ends with CRLF; anything else is refused.
QList<QStringList> records(const QString &text, QChar separator = ',')
{
    QRegularExpression field(
        QString(R"re(\G(?:"((?:[^"]|"")*)"|([^,"\r\n]*))(,|\r\n))re").replace(',', separator));
    QList<QStringList> records{{}};
    int end = 0;
    for (auto it = field.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        records.last() << (m.capturedStart(1) >= 0 ? m.captured(1).replace("\"\"", "\"")
                                                   : m.captured(2));
        if (m.captured(3) == "\r\n")
            records << QStringList();
        end = m.capturedEnd();
    }
    return end == text.size() && records.takeLast().isEmpty()
        ? records
        : QList<QStringList>{{"not RFC 4180"}};
}

// Each \xHH and \uHHHH as the character it stands for; with `backslash`, each \\ as one backslash.
QString unescaped(const QString &text, bool backslash)
{
    QString out;
    const QRegularExpression escape(backslash ? R"(\\(?:x([0-9a-f]{2})|u([0-9a-f]{4})|\\))" : R"(\\x([0-9a-f]{2}))");
    int from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString hex = m.captured(1) + m.captured(2);
        out += text.mid(from, m.capturedStart() - from) + (hex.isEmpty() ? QChar('\\') : QChar(hex.toInt(nullptr, 16)));
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString folder = temp.filePath("dir \"q\" \\ Щ");   // paths are JSON strings too
    QString missing = temp.filePath("нет такого #1.jpg");
    QString directory = temp.filePath("пусто & 100%");
    QString titleOnly = temp.filePath("title-only.jpg");
    FakeEnvironment environment;
    CDataManager window;
    CListWidgetHeir *strip = window.form()->fileListWidget;

private slots:
    // A-scans whose texts are hard to quote, shown by the window in its strip's order (not the
    // names' order).
    void initTestCase()
    {
        qputenv("LC_ALL", "C.UTF-8");   // the inspector reads its arguments as UTF-8
        AscanFields quoting;
        quoting.title = "say \"hi\",\r\n\\back\\slash\\";
        quoting.configurationName = "a,\"b\"\\";
        AscanFields controls;
        controls.title = "\x1b[31m red\x01\t\x7f\xc2\x9b Шов №1 \xe2\x9c\x93";
        controls.configurationName = "Сталь, 12 мм";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(directory));
        QVERIFY(writeAscan(folder + "/9.jpg", quoting));
        QVERIFY(writeAscan(folder + "/10.jpg", controls));
        // Its title is there, its record cut short.
        QVERIFY(writeBytes(titleOnly, buildAscan(AscanFields()).left(100)));
        environment.dialogs->openAnswer = folder + "/9.jpg";
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
    }

    // Every form exits with the same status for each kind of file.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("status");
        QTest::newRow("every file read") << QStringList{folder} << 0;
        QTest::newRow("no such file") << QStringList{folder, missing} << 1;
        QTest::newRow("a directory") << QStringList{directory, folder} << 1;
        QTest::newRow("not an A-scan") << QStringList{"/dev/zero"} << 1;
        QTest::newRow("title read, settings not") << QStringList{titleOnly, folder} << 1;
        QTest::newRow("no file given") << QStringList() << 2;
        QTest::newRow("an unknown option") << QStringList{"--xml", folder} << 2;
    }
    void exitStatus()
    {
        QFETCH(QStringList, files);
        QFETCH(int, status);
        for (const QStringList &form :
             {QStringList(), QStringList{"--json"}, QStringList{"--csv"}}) {
            const Run run = inspect(form + files);
            QCOMPARE(run.status, status);
            // A usage error goes to standard error alone, ending with the usage line.
            QVERIFY(status != 2 || run.out.isEmpty());
            QVERIFY(status != 2 || run.err.endsWith(UsageLine));
        }
    }

    // Each file keeps its entry in order; a failure's reason goes to standard error. Control
    // characters never reach a terminal raw.
    void text()
    {
        const Run run = inspect({missing, folder, directory, "/dev/zero", titleOnly});
        const QString shownFolder = QString(folder).replace("\\", "\\\\");   // its backslash
        const QString expected = missing + "\n\n"
            + shownFolder + "/9.jpg\nTitle: say \"hi\",\\x0d\\x0a\\\\back\\\\slash\\\\\n"
            + "Configuration: a,\"b\"\\\\\n" + DefaultSettings + "\n"
            + shownFolder + "/10.jpg\nTitle: \\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓\n"
            + "Configuration: Сталь, 12 мм\n" + DefaultSettings + "\n"
            + directory + "\n\n/dev/zero\n\n" + titleOnly + "\nTitle: A-scan\n";
        QCOMPARE(run.out, expected);
        QCOMPARE(run.err, "scanlet-info: " + missing + ": no such file\n"
                          "scanlet-info: " + directory + ": no A-scans\n"
                          "scanlet-info: /dev/zero: not a regular file\n"
                          "scanlet-info: " + titleOnly + ": settings cannot be read\n");
    }

    // The same files in JSON and CSV: the hardest texts read back as written (control characters
    // escaped in the CSV, as in the text form), the errors in place.
    void jsonAndCsv()
    {
        const QStringList files{missing, folder, titleOnly};
        QStringList expected{
            missing + "|||no such file",
            folder + "/9.jpg|say \"hi\",\r\n\\back\\slash\\|a,\"b\"\\|",
            folder + "/10.jpg|\x1b[31m red\x01\t\x7f\u009b Шов №1 ✓|Сталь, 12 мм|",
            titleOnly + "|A-scan||settings cannot be read"};
        const Run json = inspect(QStringList{"--json"} + files);
        QVERIFY(!json.out.contains(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f]")));
        QStringList seen;
        for (const QJsonValue &o : QJsonDocument::fromJson(json.out.toUtf8()).array()) {
            const QStringList values{o["file"].toString(), o["title"].toString(),
                                     o["configuration"].toString(), o["error"].toString()};
            seen << values.join('|');
        }
        QCOMPARE(seen, expected);
        seen.clear();
        expected[1] = folder + "/9.jpg|say \"hi\",\\x0d\\x0a\\back\\slash\\|a,\"b\"\\|";
        expected[2] = folder + "/10.jpg|\\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓|Сталь, 12 мм|";
        for (const QStringList &r : records(inspect(QStringList{"--csv"} + files).out).mid(1))
            seen << QStringList{r[0], r[1], r[2], r.last()}.join('|');
        QCOMPARE(seen, expected);
    }

    // The CSV header and a record, as the README shows them.
    void csvAsDocumented()
    {
        AscanFields rail;
        rail.title = "Рельс Р65 головк #3";
        rail.configurationName = "Сварка 8 мм";
        rail.frequencyIndex = 15;
        rail.probeAngle = 400;
        rail.delay = 40;
        rail.thicknessMm = 4157;
        rail.time[0] = 11;
        rail.time[1] = 39;
        rail.date[0] = 4;
        rail.date[1] = 1;
        rail.yearSince1900 = 124;
        QVERIFY(writeAscan(temp.filePath("3.jpg"), rail));
        QCOMPARE(
            inspect({"--csv", "3.jpg"}, temp.path()).out,
            "file,title,configuration,date,time,probe_type,frequency_mhz,probe_angle_deg,delay_us,"
            "thickness_mm,thickness_inch,reference_level_db,correction_standard_db,"
            "correction_roughness_db,acceptance_level_db,multilevel_strobe,reporting_level_db,"
            "examination_monitor_db,scale,readings_discreteness,cursor,error\r\n"
            "3.jpg,Рельс Р65 головк #3,Сварка 8 мм,04:01:2024,11:39,single,15.0,40.0,4.0,41.57,,"
            "off,,,,off,,,mm depth,0.1,on,\r\n");
    }

    // "Export Settings…" for programs writes what the inspector prints for the selection, byte for byte,
    // replacing a file only once complete.
    void windowExport()
    {
        strip->selectAll();
        const QString csv = temp.filePath("export «1» #%&.csv");
        const QString printed = inspect(QStringList{"--csv"} + strip->paths()).out;
        strip->exportSettingsAction()->trigger();
        QCOMPARE(environment.dialogs->warnings, QStringList());
        environment.dialogs->saveAnswer = csv;
        environment.dialogs->saveFilterIndex = 1;
        // A write that fails part-way, as on a full disk.
        const rlimit small{16, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        signal(SIGXFSZ, SIG_IGN);
        QVERIFY(writeBytes(csv, "old") && setrlimit(RLIMIT_FSIZE, &small) == 0);
        strip->exportSettingsAction()->trigger();
        QVERIFY(setrlimit(RLIMIT_FSIZE, &none) == 0);
        QCOMPARE(environment.dialogs->warnings,
                 QStringList{"Couldn't write the file \"" + csv + "\"!"});
        QCOMPARE(QDir(temp.path()).entryList({"export*"}, QDir::Files | QDir::Hidden).size(), 1);
        const auto contents = [&] {
            QFile file(csv);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QCOMPARE(contents(), "old");
        strip->exportSettingsAction()->trigger();
        QCOMPARE(contents(), printed.toUtf8());
    }

    // For a spreadsheet: a byte-order mark, the locale's separator, decimal mark and dates, the rows in
    // the strip's order whatever the order of selecting; "Copy Settings" gives the same cells.
    void spreadsheetExport_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("date");
        QTest::newRow("Russian") << "ru_RU" << ";" << "5,0" << "15.06.2026";
        QTest::newRow("American") << "en_US" << "," << "5.0" << "6/15/2026";
    }

    void spreadsheetExport()
    {
        QFETCH(QString, locale);
        QFETCH(QString, separator);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        strip->clearSelection();
        strip->item(1)->setSelected(true);
        strip->item(0)->setSelected(true);
        environment.dialogs->saveAnswer = temp.filePath("таблица #1.csv");
        environment.dialogs->saveFilterIndex = 0;
        strip->exportSettingsAction()->trigger();
        QFile file(environment.dialogs->saveAnswer);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = records(QString::fromUtf8(bytes.mid(3)), separator.at(0));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1][0], strip->paths().at(0));
        QCOMPARE(rows[2][0], strip->paths().at(1));
        QTEST(rows[1][rows[0].indexOf("Operating frequency, MHz")], "frequency");
        QTEST(rows[2][rows[0].indexOf("Date")], "date");
        strip->copySettingsAction()->trigger();
        QCOMPARE(records(QGuiApplication::clipboard()->text(), '\t'), rows);
    }

    // In a Russian window the table shows Russian texts; the export for programs keeps the inspector's.
    void programsExportInRussian()
    {
        QObject catalogues;
        if (!installCatalogues(QStringLiteral(SCANLET_QM_DIR), &catalogues))
            QSKIP("the Russian catalogue was not built");
        QCOMPARE(settingsTable(strip->paths()), inspect(QStringList{"--csv"} + strip->paths()).out);
        QVERIFY(spreadsheetTable(strip->paths(), spreadsheetDialect()).contains(",выкл,"));
    }

    // What cannot be read as a file is told at once and the rest goes on: a named pipe (the test's
    // time limit would end a wait on it), an empty folder; a name beginning with "-" after "--".
    void notFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString pipe = temp.filePath("pipe #1.jpg"), empty = temp.filePath("пусто & 100%");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 || QFileInfo(pipe).exists());
        AscanFields dashed;
        QVERIFY(writeAscan(temp.filePath("-3.jpg"), dashed));
        QTest::newRow("pipe") << QStringList{"--json", pipe} << 1
                              << "[\n {\"file\": \"" + pipe + "\", \"error\": \"not a regular file\"}\n]\n" << "";
        QTest::newRow("empty folder") << QStringList{empty} << 1 << empty + "\n"
                                      << "scanlet-info: " + empty + ": no A-scans\n";
        QTest::newRow("dash") << QStringList{"--csv", "--", temp.filePath("-3.jpg")} << 0 << "" << "";
        QTest::newRow("nothing") << QStringList{} << 2 << ""
                                 << "Usage: scanlet-info [--json | --csv] [--] FILE|FOLDER...\n";
    }
    void notFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        const Run run = inspect(args);
        QTEST(run.status, "status");
        QVERIFY(out.isEmpty() ? run.out.count("\r\n") == (run.status ? 0 : 2) : run.out == out);
        QTEST(run.err, "err");
    }

    // Titles a spreadsheet would run as formulas come out as text; a level the program wrote stays a
    // number. The CSV read as a spreadsheet user's script would, with Python's csv module.
    void spreadsheetSafe()
    {
        const QByteArrayList titles = {"=HYPERLINK(\"http://e.x\",\"x\")", "@SUM(1)", "+1+1", "-2+3",
                                       "\tcmd", "\x1b]52;c;eA==\x07"};
        QStringList files;
        AscanFields a;
        a.strobeSwitch = 0;   // the reporting level, -6 dB, in the table
        for (const QByteArray &title : titles) {
            a.title = title;
            files << temp.filePath(QStringLiteral("formula %1.jpg").arg(files.size()));
            QVERIFY(writeAscan(files.last(), a));
        }
        const QString csv = temp.filePath("formulas.csv");
        QVERIFY(writeBytes(csv, inspect(QStringList{"--csv"} + files).out.toUtf8()));
        QProcess python;
        python.start("python3", {"-c", "import csv, sys\n"
                                       "for row in csv.DictReader(open(sys.argv[1], newline='', encoding='utf-8')):\n"
                                       "    print(row['title'] + '|' + row['reporting_level_db'])", csv});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"'=HYPERLINK(\"http://e.x\",\"x\")|-6", "'@SUM(1)|-6", "'+1+1|-6", "'-2+3|-6",
                              "'\\x09cmd|-6", "\\x1b]52;c;eA==\\x07|-6"}));
    }

    // Characters that reorder or break a terminal's line, and the backslash itself, shown escaped.
    void textEscapes()
    {
        AscanFields a;
        a.title = "a\u202Eb\u2066c\u2028d\\x0a";
        const QString file = temp.filePath("bidi.jpg");
        QVERIFY(writeAscan(file, a));
        QVERIFY(inspect({file}).out.contains("Title: a\\u202eb\\u2066c\\u2028d\\\\x0a\n"));
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
