// The command-line inspector run as a program on generated files, and the window's settings export.
#include <QAction>
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

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString folder = temp.filePath("dir \"q\" \\ Щ");   // paths are JSON strings too
    QString missing = temp.filePath("нет такого #1.jpg");
    QString directory = temp.filePath("пусто & 100%");
    QString titleOnly = temp.filePath("title-only.jpg");
    QString pipe = temp.filePath("pipe #1.jpg");   // a wait on it ends at the suite's time limit
    QString dashed = temp.filePath("-3.jpg");
    FakeEnvironment environment;
    CDataManager window;
    CListWidgetHeir *strip = window.form()->fileListWidget;

private slots:
    // A-scans whose texts are hard to quote, would reorder a terminal's line or run as a
    // spreadsheet's formulas, shown by the window in its strip's order (not the names' order).
    void initTestCase()
    {
        qputenv("LC_ALL", "C.UTF-8");   // the inspector reads its arguments as UTF-8
        AscanFields quoting;
        quoting.title = "=say \"hi\",\r\n\\back\\slash\\";   // a formula to a spreadsheet
        quoting.configurationName = "@a,\"b\"\\";
        AscanFields controls;
        controls.title = "\x1b[31m red\x01\t\x7f\xc2\x9b Шов №1 \xe2\x9c\x93";
        controls.configurationName = "Сталь, 12 мм\u202E\u2066\u2028";
        controls.strobeSwitch = 0;   // the reporting level, -6 dB, a number to a spreadsheet
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(directory));
        QVERIFY(writeAscan(folder + "/9.jpg", quoting));
        QVERIFY(writeAscan(folder + "/10.jpg", controls));
        QVERIFY(writeAscan(dashed, AscanFields()));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        // Its title is there, its record cut short.
        QVERIFY(writeBytes(titleOnly, buildAscan(AscanFields()).left(100)));
        environment.dialogs->openAnswer = folder + "/9.jpg";
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
    }

    // Every form exits with the same status for each kind of file; a usage error goes to
    // standard error alone, ending with the usage line.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("status");
        QTest::newRow("every file read") << QStringList{folder} << 0;
        QTest::newRow("a dash after --") << QStringList{"--", dashed} << 0;
        QTest::newRow("no such file") << QStringList{folder, missing} << 1;
        QTest::newRow("an empty folder") << QStringList{directory, folder} << 1;
        QTest::newRow("a named pipe") << QStringList{pipe, folder} << 1;
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
            QVERIFY(status != 2 || run.out.isEmpty());
            QVERIFY(status != 2
                    || run.err.endsWith("Usage: scanlet-info [--json | --csv] [--] FILE|FOLDER...\n"));
        }
    }

    // Each file keeps its entry in order; a failure's reason goes to standard error. Control
    // characters, those that reorder a line and the backslash never reach a terminal raw.
    void text()
    {
        const Run run = inspect({missing, folder, directory, pipe, titleOnly});
        const QString shownFolder = QString(folder).replace("\\", "\\\\");   // its backslash
        const QString strobeOn = QString(DefaultSettings).replace(
            "Strobe: off\n", "Strobe: on\nReporting level, dB: -6\nExamination monitor, dB: -12\n");
        const QString expected = missing + "\n\n"
            + shownFolder + "/9.jpg\nTitle: =say \"hi\",\\x0d\\x0a\\\\back\\\\slash\\\\\n"
            + "Configuration: @a,\"b\"\\\\\n" + DefaultSettings + "\n"
            + shownFolder + "/10.jpg\nTitle: \\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓\n"
            + "Configuration: Сталь, 12 мм\\u202e\\u2066\\u2028\n" + strobeOn + "\n"
            + directory + "\n\n" + pipe + "\n\n" + titleOnly + "\nTitle: A-scan\n";
        QCOMPARE(run.out, expected);
        QCOMPARE(run.err, "scanlet-info: " + missing + ": no such file\n"
                          "scanlet-info: " + directory + ": no A-scans\n"
                          "scanlet-info: " + pipe + ": not a regular file\n"
                          "scanlet-info: " + titleOnly + ": settings cannot be read\n");
    }

    // In JSON the hardest texts read back as written, each error in its file's place.
    void json()
    {
        const Run run = inspect({"--json", missing, folder, titleOnly});
        QStringList seen;
        for (const QJsonValue &o : QJsonDocument::fromJson(run.out.toUtf8()).array()) {
            const QStringList values{o["file"].toString(), o["title"].toString(),
                                     o["configuration"].toString(), o["error"].toString()};
            seen << values.join('|');
        }
        QCOMPARE(seen,
                 (QStringList{missing + "|||no such file",
                              folder + "/9.jpg|=say \"hi\",\r\n\\back\\slash\\|@a,\"b\"\\|",
                              folder + "/10.jpg|\x1b[31m red\x01\t\x7f\u009b Шов №1 ✓|"
                                  "Сталь, 12 мм\u202E\u2066\u2028|",
                              titleOnly + "|A-scan||settings cannot be read"}));
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

    // "Export Settings…" for programs writes what the inspector prints for the selection, byte
    // for byte, replacing a file only once complete; a cancelled save dialog writes nothing.
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
        QCOMPARE(contents(csv), "old");
        strip->exportSettingsAction()->trigger();
        QCOMPARE(contents(csv), printed.toUtf8());
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

    // For a spreadsheet: a byte-order mark, the locale's separator, decimal mark and dates, the
    // rows in the strip's order whatever the order of selecting, formulas made text.
    void spreadsheetExport_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");   // after the byte-order mark; %1: the folder
        QTest::newRow("Russian") << "ru_RU"
            << "File;Title;Configuration;Date;Time;Probe type;Operating frequency, MHz;"
               "Probe angle,°;Delay, µs;Thickness, mm;Thickness, inch;Reference level, dB;"
               "Correction by standart, dB;Correction for roughness, dB;Acceptance level,"
               " dB;Multilevel Strobe;Reporting level, dB;Examination monitor, dB;Scale;"
               "Readings discreteness;Cursor;Error\r\n"
               "\"%1/9.jpg\";\"'=say \"\"hi\"\",\\x0d\\x0a\\back\\slash\\\";\"'@a,"
               "\"\"b\"\"\\\";15.06.2026;12:30;single;5,0;45,0;0,7;10,00;;off;;;;off;;;"
               "mm depth;0,1;on;\r\n"
               "\"%1/10.jpg\";\\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓;Сталь,"
               " 12 мм\u202E\u2066\u2028;15.06.2026;12:30;single;5,0;45,0;0,7;10,00;;off;;;;"
               "on;-6;-12;mm depth;0,1;on;\r\n";
        QTest::newRow("American") << "en_US"
            << "File,Title,Configuration,Date,Time,Probe type,\"Operating frequency, MHz\","
               "\"Probe angle,°\",\"Delay, µs\",\"Thickness, mm\",\"Thickness, inch\","
               "\"Reference level, dB\",\"Correction by standart, dB\","
               "\"Correction for roughness, dB\",\"Acceptance level, dB\",Multilevel Strobe,"
               "\"Reporting level, dB\",\"Examination monitor, dB\",Scale,"
               "Readings discreteness,Cursor,Error\r\n"
               "\"%1/9.jpg\",\"'=say \"\"hi\"\",\\x0d\\x0a\\back\\slash\\\",\"'@a,"
               "\"\"b\"\"\\\",6/15/2026,12:30,single,5.0,45.0,0.7,10.00,,off,,,,off,,,"
               "mm depth,0.1,on,\r\n"
               "\"%1/10.jpg\",\\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓,\"Сталь,"
               " 12 мм\u202E\u2066\u2028\",6/15/2026,12:30,single,5.0,45.0,0.7,10.00,,off,,,"
               ",on,-6,-12,mm depth,0.1,on,\r\n";
    }

    void spreadsheetExport()
    {
        QFETCH(QString, locale);
        QFETCH(QString, file);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        strip->clearSelection();
        strip->item(1)->setSelected(true);
        strip->item(0)->setSelected(true);
        environment.dialogs->saveAnswer = temp.filePath("таблица #1.csv");
        environment.dialogs->saveFilterIndex = 0;
        strip->exportSettingsAction()->trigger();
        const QString quotedFolder = QString(folder).replace("\"", "\"\"");
        QCOMPARE(contents(environment.dialogs->saveAnswer),
                 "\xEF\xBB\xBF" + file.arg(quotedFolder).toUtf8());
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
