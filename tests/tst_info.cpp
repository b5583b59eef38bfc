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

Run inspect(const QStringList &args)
{
    QProcess process;
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
                    || run.err.endsWith("Usage: scanlet-info [--json | --csv] [--] FILE|FOLDER..."
                                        "\n"));
        }
    }

    // Each file keeps its entry in order in every form, a failure's reason on standard error in
    // the text. JSON keeps the hardest texts as written; the text escapes the characters a terminal
    // would act on, and the backslash; the CSV escapes the controls and makes formulas text.
    void forms_data()
    {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QString>("out");   // %1: the temporary folder
        QTest::addColumn<QString>("err");
        QTest::newRow("text") << QStringList()
            << "%1/нет такого #1.jpg\n\n%1/dir \"q\" \\\\ Щ/9.jpg\nTitle: =say "
               "\"hi\",\\x0d\\x0a\\\\back\\\\slash\\\\\nConfiguration: @a,\"b\"\\\\\n"
               "Probe type: single\nOperating frequency, MHz: 5.0\nProbe angle,°: "
               "45.0\nDelay, µs: 0.7\nThickness, mm: 10.00\nReference level, dB: "
               "off\nMultilevel Strobe: off\nScale: mm depth\nReadings discreteness: "
               "0.1\nCursor: on\nDate: 15:06:2026\nTime: 12:30\n\n%1/dir \"q\" \\\\ "
               "Щ/10.jpg\nTitle: \\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓\n"
               "Configuration: Сталь, 12 мм\\u202e\\u2066\\u2028\nProbe type: "
               "single\nOperating frequency, MHz: 5.0\nProbe angle,°: 45.0\nDelay, "
               "µs: 0.7\nThickness, mm: 10.00\nReference level, dB: off\nMultilevel "
               "Strobe: on\nReporting level, dB: -6\nExamination monitor, dB: -12\n"
               "Scale: mm depth\nReadings discreteness: 0.1\nCursor: on\nDate: "
               "15:06:2026\nTime: 12:30\n\n%1/пусто & 100%\n\n%1/pipe #1.jpg\n\n"
               "%1/title-only.jpg\nTitle: A-scan\n"
            << "scanlet-info: %1/нет такого #1.jpg: no such file\nscanlet-info: "
               "%1/пусто & 100%: no A-scans\nscanlet-info: %1/pipe #1.jpg: not a "
               "regular file\nscanlet-info: %1/title-only.jpg: settings cannot be "
               "read\n";
        QTest::newRow("JSON") << QStringList{"--json"}
            << "[\n {\"file\": \"%1/нет такого #1.jpg\", \"error\": \"no such "
               "file\"},\n {\"file\": \"%1/dir \\\"q\\\" \\\\ Щ/9.jpg\", \"title\": "
               "\"=say \\\"hi\\\",\\r\\n\\\\back\\\\slash\\\\\", \"configuration\": "
               "\"@a,\\\"b\\\"\\\\\", \"settings\": [[\"Probe type\", \"single\"], "
               "[\"Operating frequency, MHz\", \"5.0\"], [\"Probe angle,°\", "
               "\"45.0\"], [\"Delay, µs\", \"0.7\"], [\"Thickness, mm\", \"10.00\"], "
               "[\"Reference level, dB\", \"off\"], [\"Multilevel Strobe\", \"off\"],"
               " [\"Scale\", \"mm depth\"], [\"Readings discreteness\", \"0.1\"], "
               "[\"Cursor\", \"on\"], [\"Date\", \"15:06:2026\"], [\"Time\", "
               "\"12:30\"]]},\n {\"file\": \"%1/dir \\\"q\\\" \\\\ Щ/10.jpg\", "
               "\"title\": \"\\u001b[31m red\\u0001\\t\x7f\u009B Шов №1 ✓\", "
               "\"configuration\": \"Сталь, 12 мм\u202E\u2066\u2028\", \"settings\": "
               "[[\"Probe type\", \"single\"], [\"Operating frequency, MHz\", "
               "\"5.0\"], [\"Probe angle,°\", \"45.0\"], [\"Delay, µs\", \"0.7\"], "
               "[\"Thickness, mm\", \"10.00\"], [\"Reference level, dB\", \"off\"], "
               "[\"Multilevel Strobe\", \"on\"], [\"Reporting level, dB\", \"-6\"], "
               "[\"Examination monitor, dB\", \"-12\"], [\"Scale\", \"mm depth\"], "
               "[\"Readings discreteness\", \"0.1\"], [\"Cursor\", \"on\"], "
               "[\"Date\", \"15:06:2026\"], [\"Time\", \"12:30\"]]},\n {\"file\": "
               "\"%1/пусто & 100%\", \"error\": \"no A-scans\"},\n {\"file\": "
               "\"%1/pipe #1.jpg\", \"error\": \"not a regular file\"},\n {\"file\": "
               "\"%1/title-only.jpg\", \"title\": \"A-scan\", \"configuration\": "
               "null, \"settings\": null, \"error\": \"settings cannot be read\"}\n"
               "]\n"
            << "";
        QTest::newRow("CSV") << QStringList{"--csv"}
            << "file,title,configuration,date,time,probe_type,frequency_mhz,"
               "probe_angle_deg,delay_us,thickness_mm,thickness_inch,"
               "reference_level_db,correction_standard_db,correction_roughness_db,"
               "acceptance_level_db,multilevel_strobe,reporting_level_db,"
               "examination_monitor_db,scale,readings_discreteness,cursor,error\r\n"
               "%1/нет такого #1.jpg,,,,,,,,,,,,,,,,,,,,,no such file\r\n\"%1/dir "
               "\"\"q\"\" \\ Щ/9.jpg\",\"'=say \"\"hi\"\","
               "\\x0d\\x0a\\back\\slash\\\",\"'@a,\"\"b\"\"\\\",15:06:2026,12:30,"
               "single,5.0,45.0,0.7,10.00,,off,,,,off,,,mm depth,0.1,on,\r\n\"%1/dir "
               "\"\"q\"\" \\ Щ/10.jpg\",\\x1b[31m red\\x01\\x09\\x7f\\x9b Шов №1 ✓,"
               "\"Сталь, 12 мм\u202E\u2066\u2028\",15:06:2026,12:30,single,5.0,45.0,"
               "0.7,10.00,,off,,,,on,-6,-12,mm depth,0.1,on,\r\n%1/пусто & 100%,,,,,,"
               ",,,,,,,,,,,,,,,no A-scans\r\n%1/pipe #1.jpg,,,,,,,,,,,,,,,,,,,,,not "
               "a regular file\r\n%1/title-only.jpg,A-scan,,,,,,,,,,,,,,,,,,,,"
               "settings cannot be read\r\n"
            << "";
    }
    void forms()
    {
        QFETCH(QStringList, form);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run run = inspect(form + QStringList{missing, folder, directory, pipe, titleOnly});
        QCOMPARE(run.out, out.arg(temp.path()));
        QCOMPARE(run.err, err.arg(temp.path()));
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
        QCOMPARE(contents(csv), "old");
        strip->exportSettingsAction()->trigger();
        QCOMPARE(contents(csv), printed.toUtf8());
    }

    // In a Russian window the table shows Russian texts; the export for programs keeps the
    // inspector's.
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
