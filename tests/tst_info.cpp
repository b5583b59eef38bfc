// The command-line inspector, run as a program on generated files.
#include <QAction>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <unistd.h>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

struct Run { int status = -1; QString out, err; };

Run inspect(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(SCANLET_BIN_DIR "/scanlet-info"), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The documented CSV columns after file, title and configuration, and the table row each holds.
const QStringList Columns = {"date", "time", "probe_type", "frequency_mhz", "probe_angle_deg", "delay_us",
    "thickness_mm", "thickness_inch", "reference_level_db", "correction_standard_db", "correction_roughness_db",
    "acceptance_level_db", "multilevel_strobe", "reporting_level_db", "examination_monitor_db", "scale",
    "readings_discreteness", "cursor"};
const QStringList Captions = {"Date", "Time", "Probe type", "Operating frequency, MHz", "Probe angle,°",
    "Delay, µs", "Thickness, mm", "Thickness, inch", "Reference level, dB", "Correction by standart, dB",
    "Correction for roughness, dB", "Acceptance level, dB", "Multilevel Strobe", "Reporting level, dB",
    "Examination monitor, dB", "Scale", "Readings discreteness", "Cursor"};

// One file's result whatever the format: {file} for a file that is not an A-scan file, {file, title}
// when its record could not be read, else {file, title, configuration, "caption: value"...}.
using Entry = QStringList;

QList<Entry> fromJson(const QString &out)
{
    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(out.toUtf8(), &error).array();
    QList<Entry> entries;
    for (const QJsonValue &value : array) {
        const QJsonObject o = value.toObject();
        entries << Entry{o.value("file").toString()};
        if (o.size() == 2 && o.contains("error"))
            continue;
        entries.last() << o.value("title").toString();
        if (o.size() == 5 && o.value("configuration").isNull() && o.value("settings").isNull()
            && o.value("error") == QJsonValue("settings cannot be read"))
            continue;
        entries.last() << o.value("configuration").toString();
        for (const QJsonValue &row : o.value("settings").toArray())
            entries.last() << row[0].toString() + ": " + row[1].toString();
    }
    return error.error == QJsonParseError::NoError ? entries : QList<Entry>{{"not JSON"}};
}

// RFC 4180: a field is quoted when it holds a comma, quote or line break, with quotes doubled, and
// every record ends with CRLF; anything else is refused. Date and time lead the columns and end the table.
QList<Entry> fromCsv(const QString &text, QChar separator = ',')
{
    const QRegularExpression field(QString(R"re((?:"((?:[^"]|"")*)"|([^,"\r\n]*))(,|\r\n))re").replace(',', separator));
    QList<QStringList> records{{}};
    for (int at = 0; at < text.size();) {
        const QRegularExpressionMatch m = field.match(text, at, QRegularExpression::NormalMatch,
                                                      QRegularExpression::AnchoredMatchOption);
        if (!m.hasMatch())
            return {{"not RFC 4180"}};
        records.last() << (m.capturedStart(1) >= 0 ? m.captured(1).replace("\"\"", "\"") : m.captured(2));
        if (m.captured(3) == QLatin1String("\r\n"))
            records << QStringList();
        at = m.capturedEnd();
    }
    if (!records.takeLast().isEmpty() ||
        records.value(0) != QStringList{"file", "title", "configuration"} + Columns + QStringList{"error"})
        return {{"not the CSV"}};
    QList<Entry> entries;
    for (const QStringList &record : records.mid(1)) {
        QStringList rows;
        for (int column = 3; column < record.size() - 1; ++column) {
            if (!record.at(column).isEmpty())
                rows << Captions.value(column - 3) + ": " + record.at(column);
        }
        const int head = record.value(1).isEmpty() ? 1 : rows.isEmpty() ? 2 : 3;
        if (record.last().isEmpty() != (head == 3))   // an error exactly where the record was not read
            return {{"error column wrong"}};
        entries << record.mid(0, head) + rows.mid(2) + rows.mid(0, 2);
    }
    return entries;
}

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString folder;
    QStringList files;
    QList<Entry> expected;   // as the window shows them

private slots:
    // A-scans whose table rows differ and whose texts are hard to quote, read by the window too;
    // then one whose record cannot be read and a picture that is no A-scan file.
    void initTestCase()
    {
        qputenv("LC_ALL", "C.UTF-8");   // the inspector reads its arguments as UTF-8
        const auto configuration = [](int i) { return QString(i % 2 ? "Сталь, 12 мм" : "a,\"b\"\\"); };
        const QList<QByteArray> titles = {"say \"hi\", \\back\\slash\\", "Сварной шов №1",
                                          "\x01 ctl\ttab\x1f\x7f", "line\nbreak \xe2\x9c\x93",
                                          "crlf\r\nquote \"\" end ", "Plain"};
        folder = temp.path() + "/dir \"q\" \\ Щ";   // paths are JSON strings too
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < titles.size(); ++i) {
            AscanFields ascan;
            ascan.title = titles.at(i);
            ascan.configurationName = configuration(i).toUtf8();
            ascan.referenceSwitch = quint8(i % 3 != 0);   // 0: reference level in use
            ascan.referenceLevel = -35;
            ascan.strobeSwitch = quint8(i % 2);           // 0: strobe on
            ascan.unitSystem = ascan.thicknessSwitch = quint8(i == 4);
            ascan.probeType = quint8(i == 5);
            ascan.delay = qint16(i == 5 ? -1 : 7);
            files << folder + QStringLiteral("/%1.jpg").arg(3 * i + 1);   // strip order is not name order
            QVERIFY(writeAscan(files.last(), ascan));
        }
        FakeEnvironment environment;
        environment.dialogs->openAnswer = files.first();
        CDataManager window;
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        Ui::CDataManagerTempl *ui = window.form();
        QCOMPARE(ui->fileListWidget->count(), files.size());
        for (int i = 0; i < files.size(); ++i) {
            ui->fileListWidget->clearSelection();
            ui->fileListWidget->item(i)->setSelected(true);
            expected << Entry{files.at(i), ui->grpb_ascan->title(), ui->grpb_table->title().mid(14)};
            QCOMPARE(expected.last().mid(1, 2), (QStringList{titles.at(i), configuration(i)}));
            for (int row = 0; const QTableWidgetItem *caption = ui->tableWidget->item(row, 0); ++row)
                expected.last() << caption->text() + ": " + ui->tableWidget->item(row, 1)->text();
        }
        AscanFields titleOnly;
        titleOnly.title = "Title only";
        titleOnly.segmentLength = 752;
        files << temp.path() + "/title-only.jpg" << temp.path() + "/foreign.jpg";
        QVERIFY(writeAscan(files.at(files.size() - 2), titleOnly));
        QVERIFY(writeBytes(files.last(), encodeJpeg(instrumentScreen(3, QString()))));
        expected << Entry{files.at(files.size() - 2), "Title only"} << Entry{files.last()};
    }

    void threeKinds_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("text") << QString();
        QTest::newRow("json") << QStringLiteral("--json");
        QTest::newRow("csv") << QStringLiteral("--csv");
    }

    void threeKinds()
    {
        QFETCH(QString, format);
        // The folder stands for its A-scans in the strip's order.
        const Run run = inspect(QStringList{format}.filter(QRegularExpression(".")) + QStringList{folder} + files.mid(6));
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, format.isEmpty() ? QString("scanlet-info: %1: settings cannot be read\nscanlet-info: %2: not an "
                                                     "A-scan file\n").arg(files.at(6), files.at(7)) : QString());
        // Control characters never reach the terminal raw (the JSON parser would let some pass).
        QVERIFY(format == "--csv" || std::none_of(run.out.begin(), run.out.end(), [&](QChar c) {
                    return (c < ' ' && c != '\n') || (format.isEmpty() && c >= 0x7F && c <= 0x9F); }));
        if (format == "--json")
            QCOMPARE(fromJson(run.out), expected);
        if (format == "--csv")
            QCOMPARE(fromCsv(run.out), expected);
        if (!format.isEmpty())
            return;
        // A blank line between files; a file not read in full ends on one error line.
        QStringList blocks;
        for (const Entry &entry : expected) {
            QString head = entry.at(0) + (entry.size() > 1 ? "\nTitle: " + entry.at(1) : QString());
            if (entry.size() > 2)
                head += "\nConfiguration: " + entry.at(2) + '\n' + entry.mid(3).join('\n');
            blocks << QRegularExpression::escape(head);
        }
        QString out = run.out;   // each \xHH shown, as the character it stands for
        for (QRegularExpressionMatch m; (m = QRegularExpression("\\\\x([0-9a-f]{2})").match(out)).hasMatch();)
            out.replace(m.capturedStart(), 4, QChar(m.captured(1).toInt(nullptr, 16)));
        QVERIFY2(QRegularExpression("\\A" + blocks.join("\n\n") + "\n\\z").match(out).hasMatch(), qPrintable(out));
    }

    // The strip's "Export Settings…" writes what the inspector prints for the selection, byte for
    // byte, replacing a file only once complete; "Copy Settings" gives the same cells tab-separated.
    void windowExport()
    {
        FakeEnvironment environment;
        environment.dialogs->openAnswer = files.first();
        CDataManager window;
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        CListWidgetHeir *strip = window.form()->fileListWidget;
        for (int row : {4, 0, 2})
            strip->item(row)->setSelected(true);
        QStringList selected;
        strip->selectedFiles(selected);
        const QString csv = temp.path() + "/export «1» #%&.csv";
        QVERIFY(writeBytes(csv, "old"));
        environment.dialogs->saveAnswer = csv;
        {   // A write that fails part-way, as on a full disk.
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            const rlimit small{16, limit.rlim_max};
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &small);
            strip->exportSettingsAction()->trigger();
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        QCOMPARE(environment.dialogs->warnings, QStringList{"Couldn't write the file \"" + csv + "\"!"});
        QCOMPARE(QDir(temp.path()).entryList({"export*"}, QDir::Files | QDir::Hidden), QStringList{QFileInfo(csv).fileName()});
        const auto contents = [&] { QFile file(csv); return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(); };
        QCOMPARE(contents(), "old");
        strip->exportSettingsAction()->trigger();
        const Run run = inspect(QStringList{"--csv"} + selected);
        QCOMPARE(contents(), run.out.toUtf8());
        strip->copySettingsAction()->trigger();
        QCOMPARE(fromCsv(QGuiApplication::clipboard()->text(), '\t'), fromCsv(run.out));
        // In Russian the rows' captions are Russian too: still the same columns are filled.
        QTranslator russian;
        QVERIFY(russian.load(SCANLET_QM_DIR "/scanlet_ru.qm") && QCoreApplication::installTranslator(&russian));
        strip->copySettingsAction()->trigger();
        QCoreApplication::removeTranslator(&russian);
        const QList<Entry> translated = fromCsv(QGuiApplication::clipboard()->text(), '\t'), english = fromCsv(run.out);
        for (int i = 0; i < english.size(); ++i)
            QCOMPARE(translated.value(i).size(), english.at(i).size());
    }

    // Each way a file can fail: its own reason on standard error (text) or in the error field and
    // column, while the files around it keep their entries in order.
    void failures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << temp.filePath("нет такого #1.jpg") << "no such file";
        QTest::newRow("folder without A-scans") << temp.filePath("пусто & 100%") << "is a directory";
        QTest::newRow("device") << "/dev/zero" << "not an A-scan file";
        QTest::newRow("cut short") << files.at(6) << "settings cannot be read";
        QTest::newRow("unreadable") << temp.filePath("locked.jpg") << "permission denied";
    }

    void failures()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        QVERIFY(QDir().mkpath(temp.filePath("пусто & 100%")));
        if (error == "permission denied") {
            if (geteuid() == 0)
                QSKIP("root reads any file");
            QVERIFY(QFile::copy(files.at(0), path) && QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        const QStringList args = {files.at(0), path, files.at(1)};
        const Run text = inspect(args), json = inspect(QStringList{"--json"} + args), csv = inspect(QStringList{"--csv"} + args);
        QCOMPARE(QVector<int>({text.status, json.status, csv.status}), QVector<int>(3, 1));
        QCOMPARE(text.err, "scanlet-info: " + path + ": " + error + "\n");
        QVERIFY(json.err.isEmpty() && csv.err.isEmpty());
        QVERIFY2(text.out.startsWith(files.at(0) + "\n") && text.out.contains("\n\n" + path + "\n")
                     && text.out.contains("\n\n" + files.at(1) + "\nTitle: "), qPrintable(text.out));
        const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(array.size(), 3);
        QCOMPARE(array.at(1)["file"].toString() + "|" + array.at(1)["error"].toString(), path + "|" + error);
        QVERIFY(!array.at(0).toObject().contains("error") && !array.at(2).toObject().contains("error"));
        const QStringList lines = csv.out.split("\r\n");
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines.at(2).startsWith(path) && lines.at(2).endsWith("," + error) && lines.at(1).endsWith(",")
                     && lines.at(3).endsWith(","), qPrintable(csv.out));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");   // %n: the n-th A-scan; %0: a missing file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");     // found in standard output
        QTest::newRow("every file read") << QStringList{"%1", "%6"} << 0 << "Title: Plain";
        QTest::newRow("-- ends the options") << QStringList{"--", "--json"} << 1 << "--json\n";
        QTest::newRow("no files") << QStringList{"--csv"} << 2 << QString();
        QTest::newRow("unknown option") << QStringList{"--xml", "%1"} << 2 << QString();
        QTest::newRow("json with csv") << QStringList{"--json", "--csv", "%1"} << 2 << QString();
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: scanlet-info";
        const QString version = QString(" %1.%2\n").arg(SCANLET_VERSION_MAJOR).arg(SCANLET_VERSION_MINOR);
        QTest::newRow("version, as in the About window") << QStringList{"--version"} << 0 << version;
    }

    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, output);
        for (QString &arg : args) {
            if (arg.startsWith('%'))
                arg = arg == "%0" ? temp.path() + "/absent.jpg" : files.at(arg.mid(1).toInt() - 1);
        }
        const Run run = inspect(args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(output), qPrintable(run.out));
        // A usage error says why on standard error and prints nothing else.
        QVERIFY(status != 2 || (run.out.isEmpty() && run.err.startsWith("scanlet-info: ")));
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
