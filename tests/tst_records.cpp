#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ascanbuilder.h"
#include "records/ascanfile.h"
#include "records/ascanpicture.h"
#include "records/ascansettings.h"
#include "records/filehead.h"
#include "records/settingsrows.h"

namespace {

using A = AscanFields &;
using S = AscanSettings &;
// Values no decoder produces, so that any write to a field shows; and what the default A-scan decodes to.
const AscanSettings Untouched{"untouched", "untouched", "t", "d", false, "f", 1.25f, 2.5f, 3.5, 4.5, "sc", "di", "cu",
                              "st", 5.5f, true, 7, 8, 9.5f, 10.5, 11.5, 77};
const AscanSettings Default{"A-scan", "Weld 12 mm", "12:30", "15:06:2026", false, "5.0", 45.0f, 0.7f, 10.0, 0.39,
                            "mm depth", "0.1", "on", "off", 0.0f, false, -12, -6, 0.0f, 0.0, 0.0, 0};
AscanSettings with(const std::function<void(S)> &change) { AscanSettings s = Default; change(s); return s; }
QByteArray valid(int length = 755) // the default A-scan, its segment length replaced
{
    return buildAscan(AscanFields()).replace(4, 2, QByteArray(1, char(length >> 8)) + char(length));
}

// Every field as "name=value"; numbers in the shortest form that reads back to the same bits.
QStringList fields(const AscanSettings &s)
{
#define F(field) QStringLiteral(#field "=") + QVariant(s.field).toString()
    return {F(title), F(configurationName), F(timeText), F(dateText), F(dualProbe), F(frequency), F(probeAngle),
            F(delay), F(thicknessMm), F(thicknessInch), F(scale), F(discreteness), F(cursor), F(strobe),
            F(referenceLevel), F(referenceOn), F(examinationMonitor), F(reportingLevel), F(acceptanceLevel),
            F(correctionStandard), F(correctionRoughness), F(unitSystem)};
}

// A file: its title, record length, the fields then and the values of its settings table. A failing
// readRecord writes no field.
void fileRow(const QByteArray &name, const QByteArray &bytes, bool titled, int record)
{
    QTest::newRow(name) << bytes << (titled ? "A-scan" : "") << record << fields(record ? Default : Untouched)
                        << (record ? "single|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30" : "");
}
void settingsRow(const char *name, const std::function<void(A)> &change, const std::function<void(S)> &expect,
                 const QString &table = QString())
{
    AscanFields ascan;
    change(ascan);
    QTest::newRow(name) << buildAscan(ascan) << with(expect).title << 171 << fields(with(expect)) << table;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void files_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a file of these bytes, or a path in the work folder
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("record");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("table"); // empty: not checked
        // Header 6 bytes, title up to 45, the date-time block up to 759, L = 755 reaches 761.
        for (int size : {44, 45, 760, 761})
            fileRow("size " + QByteArray::number(size), valid().left(size), size > 44, size == 761 ? 171 : 0);
        fileRow("L = 6", valid(6), false, 0);
        fileRow("L = 7", valid(7), true, 0);
        fileRow("L = 752", valid(752), true, 0);
        fileRow("L = 753", valid(753), true, 171);
        fileRow("L = 0xFFFF", valid(0xFFFF).leftJustified(6 + 0xFFFF, '\0'), true, 171);
        // readTitle checks the signature, readRecord does not; the first four bytes may be anything.
        for (const char *signature : {"z4170", "Z4171"})
            fileRow(signature, valid().replace(8, 5, signature), false, 171);
        fileRow("marker bytes GIF8", valid().replace(0, 4, "GIF8"), true, 171);
        const auto text = [](const char *name, const QByteArray &field, const QString &text) {
            settingsRow(name, [=](A a) { a.title = a.configurationName = field; },
                        [=](S s) { s.title = s.configurationName = text; });
        };
        // Byte 31 is never text; a character it cuts is one replacement; a byte that starts none is one.
        const QString letters = QStringLiteral("абвгдеёжзийклмн"), cut(QChar::ReplacementCharacter);
        text("32 bytes", QByteArray(32, 'b'), QString(31, 'b'));
        text("empty", QByteArray("\0title", 6), QString());
        text("Cyrillic, last letter cut", (letters + QStringLiteral("о")).toUtf8(), letters + cut);
        text("3-byte sequence whole", QByteArray(28, 'h') + "\xE2\x82\xAC", QString(28, 'h') + QChar(0x20AC));
        text("overlong E0 80 at the end", QByteArray(29, 'i') + "\xE0\x80", QString(29, 'i') + cut + cut);
        text("surrogate ED A0 at the end", QByteArray(29, 'j') + "\xED\xA0", QString(29, 'j') + cut + cut);
        // In single precision 18.3f - 30.0f + 11.7f is -2^-20, shown as 0.0 without a sign.
        settingsRow("switches and choices", [](A a) { a.strobeSwitch = 2, a.cursorSwitch = 1, a.discreteness = 255;
                    a.scaleMode = 1, a.unitSystem = 255, a.referenceSwitch = 0, a.probeType = 1, a.frequencyIndex = 15;
                    a.thicknessMm = 0, a.referenceLevel = 183, a.correctionStandard = -300;
                    a.correctionRoughness = -117; },
                    [](S s) { s.strobe = "on", s.cursor = "off", s.discreteness = "1", s.scale = "µs";
                              s.unitSystem = 255, s.referenceOn = s.dualProbe = true, s.frequency = "15.0";
                              s.referenceLevel = 18.3f, s.correctionStandard = -30, s.correctionRoughness = -11.7;
                              s.thicknessMm = 0, s.acceptanceLevel = -0x1p-20f; },
                    "double|15.0|45.0|0.7|0.00|18.3|-30.0|-11.7|0.0|on|-6|-12|µs|1|off|15:06:2026|12:30");
        settingsRow("choices out of range", [](A a) { a.scaleMode = 3, a.frequencyIndex = 16, a.probeType = 2,
                    a.referenceSwitch = 2, a.thicknessSwitch = 2; }, [](S s) { s.scale = s.frequency = ""; });
        settingsRow("inches off, dates", [](A a) { a.unitSystem = a.thicknessSwitch = 1, a.time[0] = 9, a.time[1] = 10,
                    a.date[0] = 0, a.date[1] = a.yearSince1900 = 0xFFFF; }, [](S s) { s.unitSystem = 1;
                    s.thicknessMm = s.thicknessInch = -1, s.timeText = "09:10", s.dateText = "00:65535:67435"; },
                    "single|5.0|45.0|0.7|off|off|off|mm depth|0.1|on|00:65535:67435|09:10");
        settingsRow("numbers at their limits", [](A a) { a.thicknessMm = a.thicknessInch = 0xFFFFFF,
                    a.probeAngle = 0xFFFF, a.delay = -1, a.referenceLevel = -123; }, [](S s) { s.delay = -0.1f,
                    s.thicknessMm = s.thicknessInch = 167772.15, s.probeAngle = 6553.5f, s.referenceLevel = -12.3f,
                    s.acceptanceLevel = -12.3f; });
        // No regular file is read: a pipe is refused even while a writer has sent it a whole A-scan.
        const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe"));
        const int writer = ::mkfifo(pipe, 0600) == 0 ? ::open(pipe, O_RDWR | O_NONBLOCK) : -1;
        QVERIFY(writer >= 0 && ::write(writer, valid().constData(), valid().size()) == valid().size());
        for (const QByteArray &path : {pipe, QFile::encodeName(m_dir.path()), pipe + "-missing"})
            QTest::newRow(path) << path << QString() << 0 << fields(Untouched) << QString();
    }
    void files()
    {
        QFETCH(QByteArray, bytes);
        const bool named = bytes.startsWith(QFile::encodeName(m_dir.path()));
        const QString path = named ? QFile::decodeName(bytes) : m_dir.filePath("a.jpg");
        QVERIFY(named || writeBytes(path, bytes));
        AscanSettings fromFile = Untouched, fromBytes = Untouched;
        QTEST(readTitle(path), "title");
        QTEST(readRecord(path, fromFile), "record");
        QTEST(fields(fromFile), "expected");
        QFETCH(QString, table);
        QStringList values;
        for (const SettingsRow &row : settingsTableRows(fromFile))
            values << row.value;
        if (!table.isEmpty())
            QCOMPARE(values.join('|'), table);
        QTEST(titleFromBytes(bytes), "title");
        QTEST(recordFromBytes(bytes, fromBytes), "record");
        QTEST(fields(fromBytes), "expected");
    }

    // The decoder's bounds, each at its edge: pixels of the frame, scans, pixels over all scans.
    void pictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("claiming 4000 x 4000") << jpegClaiming(4000, 4000) << true;
        QTest::newRow("claiming 4001 x 4000") << jpegClaiming(4001, 4000) << false;
        QTest::newRow("100 scans") << progressiveJpeg(QSize(64, 64), 100) << true;
        QTest::newRow("101 scans") << progressiveJpeg(QSize(64, 64), 101) << false;
        QTest::newRow("100 scans of 1600 x 1601") << progressiveJpeg(QSize(1600, 1601), 100) << false;
    }
    void pictures()
    {
        QFETCH(QByteArray, bytes);
        QTEST(!decodeAscanPicture(bytes, QSize(240, 320)).isNull(), "shown");
    }

    // A folder's headers read the same past the cache as through it, at the sizes where a
    // direct read comes back short or whole.
    void headsEitherWay_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {0, 44, 45, 512, 761})
            QTest::newRow(QByteArray::number(size)) << size;
    }
    void headsEitherWay()
    {
        QFETCH(int, size);
        QVERIFY(writeBytes(m_dir.filePath("b.jpg"), valid().left(size)));
        const QString title = readTitle(m_dir.filePath("b.jpg"));
        QCOMPARE(title.isEmpty(), size < Ascan::TitleEnd);
        FileFolder folder(m_dir.path());
        for (const auto reads : {FileFolder::Reads::Direct, FileFolder::Reads::Cached}) {
            folder.setReads(reads);
            QCOMPARE(readTitle(folder, "b.jpg"), title);
        }
    }

    // Where the file system refuses to pass its cache by, the bytes come through it.
    void headRefused()
    {
        FileFolder folder("/proc/self");
        folder.setReads(FileFolder::Reads::Direct);
        QFile cached("/proc/self/cmdline");
        QVERIFY(cached.open(QIODevice::ReadOnly));
        char bytes[Ascan::TitleEnd];
        const qint64 got = FileHead(folder, "cmdline").readStart(bytes, sizeof bytes);
        QCOMPARE(QByteArray(bytes, int(got)), cached.read(sizeof bytes));
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
