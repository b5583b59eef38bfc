// The command-line inspector, run as a program on generated files.
#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanbuilder.h"
#include "ui_cdatamanager.h"

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run inspect(const QStringList &args, const QString &workingDirectory = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(SCANLET_BIN_DIR "/scanlet-info"), args);
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The documented CSV columns; setting columns carry the settings-table caption they hold.
const QStringList CsvColumns = {"file", "title", "configuration", "date", "time", "probe_type",
                                "frequency_mhz", "probe_angle_deg", "delay_us", "thickness_mm",
                                "thickness_inch", "reference_level_db", "correction_standard_db",
                                "correction_roughness_db", "acceptance_level_db", "multilevel_strobe",
                                "reporting_level_db", "examination_monitor_db", "scale",
                                "readings_discreteness", "cursor"};
const QStringList CsvCaptions = {"", "", "", "Date", "Time", "Probe type", "Operating frequency, MHz",
                                 "Probe angle,°", "Delay, µs", "Thickness, mm", "Thickness, inch",
                                 "Reference level, dB", "Correction by standart, dB",
                                 "Correction for roughness, dB", "Acceptance level, dB", "Multilevel Strobe",
                                 "Reporting level, dB", "Examination monitor, dB", "Scale",
                                 "Readings discreteness", "Cursor"};

// RFC 4180: records end with CRLF; a field is quoted when it holds a comma, quote or line break,
// and a quote inside it is doubled. Anything else is refused.
bool parseCsv(const QString &text, QList<QStringList> &records)
{
    QStringList record;
    QString field;
    int i = 0;
    while (i < text.size()) {
        if (text.at(i) == QLatin1Char('"')) {
            for (++i;; ++i) {
                if (i >= text.size())
                    return false;
                if (text.at(i) == QLatin1Char('"')) {
                    if (text.mid(i + 1, 1) != QLatin1String("\""))
                        break;
                    ++i;
                }
                field += text.at(i);
            }
            ++i;
        } else {
            while (i < text.size() && !QStringLiteral(",\r\n\"").contains(text.at(i)))
                field += text.at(i++);
        }
        record << field;
        field.clear();
        if (text.mid(i, 1) == QLatin1String(",")) {
            ++i;
        } else if (text.mid(i, 2) == QLatin1String("\r\n")) {
            records << record;
            record.clear();
            i += 2;
        } else {
            return false;
        }
    }
    return record.isEmpty();
}

// One file's result, the same whatever the format: file, kind, title, configuration, then the
// settings as "caption = value", sorted (the CSV has its own column order).
using Entry = QStringList;

Entry entry(const QString &file, const QString &kind, const QString &title = QString(),
            const QString &configuration = QString(), QStringList rows = {})
{
    rows.sort();
    return Entry{file, kind, title, configuration} + rows;
}

QList<Entry> fromText(const QString &out)
{
    QList<Entry> entries;
    for (const QString &block : out.split(QStringLiteral("\n\n"))) {
        QStringList lines = block.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString file = lines.takeFirst();
        QString title, configuration;
        QStringList rows;
        for (const QString &line : lines) {
            const QString name = line.section(QStringLiteral(": "), 0, 0);
            const QString value = line.section(QStringLiteral(": "), 1);
            if (name == QLatin1String("Title"))
                title = value;
            else if (name == QLatin1String("Configuration"))
                configuration = value;
            else if (name != QLatin1String("Error"))
                rows << name + " = " + value;
        }
        const QString kind = title.isEmpty() ? "not an A-scan" : rows.isEmpty() ? "title only" : "record";
        entries << entry(file, kind, title, configuration, rows);
    }
    return entries;
}

QStringList jsonRows(const QJsonValue &settings)
{
    QStringList rows;
    for (const QJsonValue &row : settings.toArray())
        rows << row.toArray().at(0).toString() + " = " + row.toArray().at(1).toString();
    return rows;
}

QList<Entry> fromJson(const QString &out)
{
    QList<Entry> entries;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return entries;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        const QString file = object.value("file").toString();
        if (object.value("error") == QJsonValue("not an A-scan file") && object.size() == 2)
            entries << entry(file, "not an A-scan");
        else if (object.value("configuration").isNull() && object.value("settings").isNull())
            entries << entry(file, "title only", object.value("title").toString());
        else
            entries << entry(file, "record", object.value("title").toString(),
                             object.value("configuration").toString(), jsonRows(object.value("settings")));
    }
    return entries;
}

QList<Entry> fromCsv(const QString &out)
{
    QList<QStringList> records;
    if (!parseCsv(out, records) || records.isEmpty() || records.takeFirst() != CsvColumns)
        return {};
    QList<Entry> entries;
    for (const QStringList &record : records) {
        QStringList rows;
        for (int column = 3; column < record.size(); ++column) {
            if (!record.at(column).isEmpty())
                rows << CsvCaptions.at(column) + " = " + record.at(column);
        }
        const QString kind = record.at(1).isEmpty() ? "not an A-scan" : rows.isEmpty() ? "title only" : "record";
        entries << entry(record.at(0), kind, record.at(1), record.at(2), rows);
    }
    return entries;
}

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

class OpenAnswer : public Dialogs
{
public:
    QString path;
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override { return path; }
};

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir temp;

    QString write(const QString &name, const AscanFields &ascan)
    {
        const QString path = temp.path() + "/" + name;
        return writeAscan(path, ascan) ? path : QString();
    }

    // A record with every conditional row, one whose record cannot be read, and a foreign file.
    QStringList threeKinds()
    {
        AscanFields full;
        full.title = "Full record";
        full.referenceSwitch = 0;
        full.strobeSwitch = 0;
        AscanFields titleOnly;
        titleOnly.title = "Title only";
        titleOnly.segmentLength = 752;
        const QString foreign = temp.path() + "/3.jpg";
        writeBytes(foreign, encodeJpeg(instrumentScreen(3, QString())));
        return {write("1.jpg", full), write("2.jpg", titleOnly), foreign};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(temp.isValid());
        QVERIFY(QFileInfo(SCANLET_BIN_DIR "/scanlet-info").isExecutable());
    }

    void threeKindsInOneRun_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("text") << QString();
        QTest::newRow("json") << QStringLiteral("--json");
        QTest::newRow("csv") << QStringLiteral("--csv");
    }

    void threeKindsInOneRun()
    {
        QFETCH(QString, option);
        const QStringList files = threeKinds();
        const Run json = inspect(QStringList{"--json"} + files);
        const QList<Entry> expected = fromJson(json.out);
        QCOMPARE(expected.size(), 3);
        QCOMPARE(expected.at(0).mid(0, 4), (QStringList{files.at(0), "record", "Full record", "Weld 12 mm"}));
        QCOMPARE(expected.at(0).size(), 4 + 17);
        QCOMPARE(expected.at(1), entry(files.at(1), "title only", "Title only"));
        QCOMPARE(expected.at(2), entry(files.at(2), "not an A-scan"));

        const Run run = option.isEmpty() ? inspect(files) : inspect(QStringList{option} + files);
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.isEmpty());
        const QList<Entry> entries = option.isEmpty() ? fromText(run.out)
                                     : option == "--json" ? fromJson(run.out) : fromCsv(run.out);
        QCOMPARE(entries, expected);
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");   // expected in standard output
        const QString rec = "%record";
        QTest::newRow("every file read") << QStringList{rec, rec} << 0 << QString();
        QTest::newRow("one not an A-scan file") << QStringList{rec, "%foreign"} << 1 << QString();
        QTest::newRow("record unreadable") << QStringList{"--csv", "%titleOnly"} << 1 << QString();
        QTest::newRow("missing file") << QStringList{"--json", "%dir/absent.jpg"} << 1 << QString("not an A-scan");
        QTest::newRow("a directory") << QStringList{"%dir"} << 1 << QString("not an A-scan");
        QTest::newRow("/dev/zero") << QStringList{"/dev/zero"} << 1 << QString("not an A-scan");
        QTest::newRow("-- ends the options") << QStringList{"--", "--json"} << 0 << QString("Title: Record");
        QTest::newRow("no files") << QStringList{} << 2 << QString();
        QTest::newRow("an option, no files") << QStringList{"--csv"} << 2 << QString();
        QTest::newRow("unknown option") << QStringList{"--xml", rec} << 2 << QString();
        QTest::newRow("json with csv") << QStringList{"--json", "--csv", rec} << 2 << QString();
        QTest::newRow("help") << QStringList{"--help"} << 0 << QString("Usage: scanlet-info");
        QTest::newRow("version") << QStringList{"--version"} << 0 << QString("1.14");
    }

    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, output);
        AscanFields record;
        record.title = "Record";
        AscanFields titleOnly;
        titleOnly.segmentLength = 752;
        write("record.jpg", record);
        write("--json", record);
        write("titleonly.jpg", titleOnly);
        writeBytes(temp.path() + "/foreign.jpg", "GIF89a");
        for (QString &arg : args) {
            arg.replace("%dir", temp.path());
            if (arg.startsWith('%'))
                arg = temp.path() + "/" + arg.mid(1).toLower() + ".jpg";
        }

        const Run run = inspect(args, temp.path());
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(output), qPrintable(run.out));
        // Usage errors say why on standard error and print nothing else.
        QCOMPARE(run.err.isEmpty(), status != 2);
        if (status == 2)
            QVERIFY(run.out.isEmpty());
    }

    void jsonStrings()
    {
        const QDir folder(temp.path() + "/dir \"q\" \\ Щ");
        QVERIFY(folder.mkpath("."));
        const QList<QPair<QByteArray, QByteArray>> texts = {
            {"say \"hi\"", "\"quoted\""},
            {"back\\slash\\", "C:\\dir\\"},
            {"\x01 ctl\ttab\nline\x1f", "\r\b\f"},
            {"Сварной шов №1", "Конфигурация"},
            {"\x7f mixed \xe2\x9c\x93 \"\\\"", "/"},
        };
        QStringList files;
        for (int i = 0; i < texts.size(); ++i) {
            AscanFields ascan;
            ascan.title = texts.at(i).first;
            ascan.configurationName = texts.at(i).second;
            files << folder.filePath(QString::number(i + 1) + ".jpg");
            QVERIFY(writeAscan(files.last(), ascan));
        }

        const Run run = inspect(QStringList{"--json"} + files);
        QCOMPARE(run.status, 0);
        // JSON strings hold no raw control character; the parser below would let some pass, so
        // the line breaks between entries are removed and nothing else may remain.
        QString out = run.out;
        out.remove(QLatin1Char('\n'));
        for (const QChar c : out)
            QVERIFY2(c.unicode() >= 0x20, qPrintable(QString::number(c.unicode())));
        QJsonParseError error;
        const QJsonArray array = QJsonDocument::fromJson(out.toUtf8(), &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(array.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const QJsonObject object = array.at(i).toObject();
            QCOMPARE(object.value("file").toString(), files.at(i));
            QCOMPARE(object.value("title").toString(), QString::fromUtf8(texts.at(i).first));
            QCOMPARE(object.value("configuration").toString(), QString::fromUtf8(texts.at(i).second));
        }
    }

    void csvQuoting()
    {
        const QStringList titles = {"plain", "comma, inside", "quote \"x\" twice \"\"", "line\nbreak",
                                    "crlf\r\nbreak", "\"", ",", "trailing space "};
        QStringList files;
        for (int i = 0; i < titles.size(); ++i) {
            AscanFields ascan;
            ascan.title = titles.at(i).toUtf8();
            ascan.configurationName = "a,\"b\"";
            files << write(QString::number(i + 1) + ".jpg", ascan);
        }

        const Run run = inspect(QStringList{"--csv"} + files);
        QCOMPARE(run.status, 0);
        QList<QStringList> records;
        QVERIFY2(parseCsv(run.out, records), qPrintable(run.out));
        QCOMPARE(records.size(), 1 + titles.size());
        QCOMPARE(records.at(0), CsvColumns);
        for (int i = 0; i < titles.size(); ++i) {
            const QStringList &record = records.at(i + 1);
            QCOMPARE(record.size(), CsvColumns.size());
            QCOMPARE(record.at(0), files.at(i));
            QCOMPARE(record.at(1), titles.at(i));
            QCOMPARE(record.at(2), QStringLiteral("a,\"b\""));
        }
    }

    // The inspector prints what the window's settings table shows for the same file, row by row.
    void rowsMatchSettingsTable()
    {
        QList<AscanFields> ascans;
        AscanFields ascan;
        ascan.title = "Plain";
        ascans << ascan;                                            // reference off, strobe off
        ascan.title = "Reference and strobe";
        ascan.referenceSwitch = 0;
        ascan.referenceLevel = -35;
        ascan.strobeSwitch = 0;
        ascans << ascan;
        ascan.title = "Reference only";
        ascan.strobeSwitch = 1;
        ascans << ascan;
        ascan.title = "Strobe only";
        ascan.referenceSwitch = 1;
        ascan.strobeSwitch = 0;
        ascans << ascan;
        ascan.title = "Inch, thickness off";
        ascan.unitSystem = 1;
        ascan.thicknessSwitch = 1;
        ascan.probeType = 1;
        ascan.delay = -1;
        ascan.configurationName = "Сталь, 12 мм";
        ascans << ascan;

        const QString folder = temp.path() + "/table";
        QVERIFY(QDir().mkpath(folder));
        QStringList files;
        for (int i = 0; i < ascans.size(); ++i) {
            files << folder + QStringLiteral("/%1.jpg").arg(i + 1);
            QVERIFY(writeAscan(files.last(), ascans.at(i)));
        }
        const Run json = inspect(QStringList{"--json"} + files);
        const Run text = inspect(files);
        QCOMPARE(json.status, 0);
        const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
        const QStringList blocks = text.out.split("\n\n");
        QCOMPARE(array.size(), files.size());
        QCOMPARE(blocks.size(), files.size());

        setInstrumentPlatformFactory([] { return std::unique_ptr<InstrumentPlatform>(new NoInstrument); });
        auto *dialogs = new OpenAnswer;
        dialogs->path = files.first();
        Dialogs::install(dialogs);
        CDataManager window;
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        Ui::CDataManagerTempl *ui = window.form();
        QCOMPARE(ui->fileListWidget->count(), files.size());

        for (int i = 0; i < files.size(); ++i) {
            ui->fileListWidget->clearSelection();
            ui->fileListWidget->item(i)->setSelected(true);
            QStringList tableRows;
            QStringList textRows;
            for (int row = 0; row < ui->tableWidget->rowCount(); ++row) {
                if (const QTableWidgetItem *caption = ui->tableWidget->item(row, 0)) {
                    tableRows << caption->text() + " = " + ui->tableWidget->item(row, 1)->text();
                    textRows << caption->text() + ": " + ui->tableWidget->item(row, 1)->text();
                }
            }
            const QJsonObject object = array.at(i).toObject();
            QCOMPARE(jsonRows(object.value("settings")), tableRows);
            QCOMPARE(object.value("title").toString(), ui->grpb_ascan->title());
            QCOMPARE("Configuration " + object.value("configuration").toString(), ui->grpb_table->title());
            const QStringList expectedText = QStringList{files.at(i), "Title: " + ui->grpb_ascan->title(),
                                                         "Configuration: " + ascans.at(i).configurationName}
                                             + textRows;
            QCOMPARE(blocks.at(i).split('\n', Qt::SkipEmptyParts), expectedText);
        }
        Dialogs::install(nullptr);
        setInstrumentPlatformFactory({});
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
