// The command-line inspector run as a program on generated files, and the window's settings export.
#include <QAction>
#include <QClipboard>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "records/recordsummary.h"
#include "ui_cdatamanager.h"

namespace {

struct Run { int status; QString out, err; };

Run inspect(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(SCANLET_BIN_DIR "/scanlet-info"), args);
    const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

// RFC 4180: a field is quoted when it holds the separator, a quote or a line break, with quotes doubled,
// and every record ends with CRLF; anything else is refused.
QList<QStringList> records(const QString &text, QChar separator = ',')
{
    QRegularExpression field(QString(R"re(\G(?:"((?:[^"]|"")*)"|([^,"\r\n]*))(,|\r\n))re").replace(',', separator));
    QList<QStringList> records{{}};
    int end = 0;
    for (auto it = field.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        records.last() << (m.capturedStart(1) >= 0 ? m.captured(1).replace("\"\"", "\"") : m.captured(2));
        if (m.captured(3) == "\r\n")
            records << QStringList();
        end = m.capturedEnd();
    }
    return end == text.size() && records.takeLast().isEmpty() ? records : QList<QStringList>{{"not RFC 4180"}};
}

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString folder = temp.filePath("dir \"q\" \\ Щ");   // paths are JSON strings too
    QStringList arguments;   // the folder among each way a file can fail
    QString text, errors;    // the text form and its standard error, with what the window shows
    QStringList fields;      // "file|title|configuration|error" of each file, in order
    FakeEnvironment environment;
    CDataManager window;
    CListWidgetHeir *strip = window.form()->fileListWidget;

    // One file's entry: its lines after the path as far as it was read, and why it was not read in full.
    void expect(const QString &file, const QStringList &lines, const QString &error = QString())
    {
        arguments << (file.startsWith(folder) ? folder : file);
        text += (text.isEmpty() ? "" : "\n") + (QStringList{file} + lines).join('\n') + '\n';
        errors += error.isEmpty() ? "" : "scanlet-info: " + file + ": " + error + '\n';
        fields << QStringList{file, lines.value(0).mid(7), lines.value(1).mid(15), error}.join('|');
    }

private slots:
    // A-scans whose texts are hard to quote, shown by the window in its strip's order (not the names' order).
    void initTestCase()
    {
        qputenv("LC_ALL", "C.UTF-8");   // the inspector reads its arguments as UTF-8
        const QByteArrayList titles = {"say \"hi\",\r\n\\back\\slash\\",
                                       "\x1b[31m red\x01\t\x7f\xc2\x9b Шов №1 \xe2\x9c\x93"};
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(temp.filePath("пусто & 100%")));
        for (int i = 0; i < titles.size(); ++i) {
            AscanFields a;
            a.title = titles[i];
            a.configurationName = i ? "Сталь, 12 мм" : "a,\"b\"\\";
            QVERIFY(writeAscan(folder + (i ? "/10.jpg" : "/9.jpg"), a));
        }
        // Its title is there, its record cut short.
        QVERIFY(writeBytes(temp.filePath("title-only.jpg"), buildAscan(AscanFields()).left(100)));
        environment.dialogs->openAnswer = folder + "/9.jpg";
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        expect(temp.filePath("нет такого #1.jpg"), {}, "no such file");
        const Ui::CDataManagerTempl *ui = window.form();
        for (int i = 0; i < strip->count(); ++i) {
            strip->setCurrentRow(i);
            QStringList lines = {"Title: " + ui->grpb_ascan->title(),
                                 "Configuration: " + ui->grpb_table->title().mid(14)};
            for (int row = 0; const QTableWidgetItem *caption = ui->tableWidget->item(row, 0); ++row)
                lines << caption->text() + ": " + ui->tableWidget->item(row, 1)->text();
            expect(strip->paths().at(i), lines);
        }
        expect(temp.filePath("пусто & 100%"), {}, "is a directory");
        expect("/dev/zero", {}, "not an A-scan file");
        expect(temp.filePath("title-only.jpg"), {"Title: A-scan"}, "settings cannot be read");
        arguments.removeDuplicates();
    }

    // Each file keeps its entry in order; a failure's reason goes to standard error (text) or to the error
    // field or column. Control characters never reach a terminal raw (the JSON parser would let some pass).
    void forms_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("raw");   // characters the output must not hold
        QTest::newRow("text") << arguments << 1 << "[\\x00-\\x09\\x0b-\\x1f\\x7f-\\x9f]";
        QTest::newRow("json") << QStringList{"--json"} + arguments << 1 << "[\\x00-\\x09\\x0b-\\x1f]";
        QTest::newRow("csv") << QStringList{"--csv"} + arguments << 1 << QString();
        QTest::newRow("every file read") << QStringList{folder} << 0 << QString();
        QTest::newRow("no files") << QStringList{"--csv"} << 2 << QString();
    }

    void forms()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, raw);
        const Run run = inspect(args);
        QTEST(run.status, "status");
        QVERIFY(raw.isEmpty() || !run.out.contains(QRegularExpression(raw)));
        // A usage error says why on standard error and prints nothing else.
        QVERIFY(run.status != 2 || (run.out.isEmpty() && run.err.startsWith("scanlet-info: ")));
        if (args.mid(1) == arguments) {   // the fields that hold the hardest texts, and the errors
            QStringList seen;
            for (const QJsonValue &o : QJsonDocument::fromJson(run.out.toUtf8()).array())
                seen << QStringList{o["file"].toString(), o["title"].toString(), o["configuration"].toString(),
                                    o["error"].toString()}.join('|');
            for (const QStringList &r : records(run.out).mid(1))
                seen << QStringList{r[0], r[1], r[2], r.last()}.join('|');
            QCOMPARE(seen, fields);
            QCOMPARE(run.err, QString());
        }
        if (args != arguments)
            return;
        QString out = run.out;   // each \xHH shown, as the character it stands for
        for (QRegularExpressionMatch m; (m = QRegularExpression("\\\\x([0-9a-f]{2})").match(out)).hasMatch();)
            out.replace(m.capturedStart(), 4, QChar(m.captured(1).toInt(nullptr, 16)));
        QCOMPARE(out, text);
        QCOMPARE(run.err, errors);
    }

    // "Export Settings…" for programs writes what the inspector prints for the selection, byte for byte,
    // replacing a file only once complete.
    void windowExport()
    {
        strip->selectAll();
        const QString csv = temp.filePath("export «1» #%&.csv");
        const QString printed = inspect(QStringList{"--csv"} + strip->paths()).out;
        environment.dialogs->saveAnswer = csv;
        environment.dialogs->saveFilterIndex = 1;
        // A write that fails part-way, as on a full disk.
        const rlimit small{16, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        signal(SIGXFSZ, SIG_IGN);
        QVERIFY(writeBytes(csv, "old") && setrlimit(RLIMIT_FSIZE, &small) == 0);
        strip->exportSettingsAction()->trigger();
        QVERIFY(setrlimit(RLIMIT_FSIZE, &none) == 0);
        QCOMPARE(environment.dialogs->warnings, QStringList{"Couldn't write the file \"" + csv + "\"!"});
        QCOMPARE(QDir(temp.path()).entryList({"export*"}, QDir::Files | QDir::Hidden).size(), 1);
        const auto contents = [&] { QFile file(csv); return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(); };
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
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
