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

// Values no decoder produces, so that any write to a field shows.
AscanSettings untouched()
{
    AscanSettings s;
    s.title = "untouched";
    s.configurationName = "untouched";
    s.timeText = "t";
    s.dateText = "d";
    s.dualProbe = false;
    s.frequency = "f";
    s.probeAngle = 1.25f;
    s.delay = 2.5f;
    s.thicknessMm = 3.5;
    s.thicknessInch = 4.5;
    s.scale = "sc";
    s.discreteness = "di";
    s.cursor = "cu";
    s.strobe = "st";
    s.referenceLevel = 5.5f;
    s.referenceOn = true;
    s.examinationMonitor = 7;
    s.reportingLevel = 8;
    s.acceptanceLevel = 9.5f;
    s.correctionStandard = 10.5;
    s.correctionRoughness = 11.5;
    s.unitSystem = 77;
    return s;
}

// What the writer's default A-scan decodes to, changed as a row says.
AscanSettings decoded(const std::function<void(S)> &change = [](S) {})
{
    AscanSettings s;
    s.title = "A-scan";
    s.configurationName = "Weld 12 mm";
    s.timeText = "12:30";
    s.dateText = "15:06:2026";
    s.dualProbe = false;
    s.frequency = "5.0";
    s.probeAngle = 45.0f;
    s.delay = 0.7f;
    s.thicknessMm = 10.0;
    s.thicknessInch = 0.39;
    s.scale = "mm depth";
    s.discreteness = "0.1";
    s.cursor = "on";
    s.strobe = "off";
    s.referenceLevel = 0.0f;
    s.referenceOn = false;
    s.examinationMonitor = -12;
    s.reportingLevel = -6;
    s.acceptanceLevel = 0.0f;
    s.correctionStandard = 0.0;
    s.correctionRoughness = 0.0;
    s.unitSystem = 0;
    change(s);
    return s;
}

QByteArray valid(int length = 755) // the default A-scan, its segment length replaced
{
    return buildAscan(AscanFields()).replace(4, 2, QByteArray(1, char(length >> 8)) + char(length));
}

// Every field as "name=value"; numbers in the shortest form that reads back to the same bits.
QStringList fields(const AscanSettings &s)
{
#define F(field) QStringLiteral(#field "=") + QVariant(s.field).toString()
    return {F(title),
            F(configurationName),
            F(timeText),
            F(dateText),
            F(dualProbe),
            F(frequency),
            F(probeAngle),
            F(delay),
            F(thicknessMm),
            F(thicknessInch),
            F(scale),
            F(discreteness),
            F(cursor),
            F(strobe),
            F(referenceLevel),
            F(referenceOn),
            F(examinationMonitor),
            F(reportingLevel),
            F(acceptanceLevel),
            F(correctionStandard),
            F(correctionRoughness),
            F(unitSystem)};
#undef F
}

// A file: its title and record length. A failing readRecord writes no field.
void fileRow(const char *name, const QByteArray &bytes, const QString &title, int record)
{
    QTest::newRow(name) << bytes << title << record << fields(record ? decoded() : untouched());
}

// An A-scan written with `change`: the fields it decodes to and, when given, its table's values.
void settingsRow(const char *name, const std::function<void(A)> &change,
                 const std::function<void(S)> &expect, const QString &table = QString())
{
    AscanFields ascan;
    change(ascan);
    QTest::newRow(name) << buildAscan(ascan) << fields(decoded(expect)) << table;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // How much of a file must be there for its title and its record, and what marks an A-scan.
    void files_data()
    {
        QTest::addColumn<QByteArray>(
            "bytes"); // a file of these bytes, or a path in the work folder
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("record");
        QTest::addColumn<QStringList>("expected");
        // Header 6 bytes, title up to 45, the date-time block up to 759, L = 755 reaches 761.
        fileRow("size 44", valid().left(44), "", 0);
        fileRow("size 45", valid().left(45), "A-scan", 0);
        fileRow("size 760", valid().left(760), "A-scan", 0);
        fileRow("size 761", valid().left(761), "A-scan", 171);
        fileRow("L = 6", valid(6), "", 0);
        fileRow("L = 7", valid(7), "A-scan", 0);
        fileRow("L = 752", valid(752), "A-scan", 0);
        fileRow("L = 753", valid(753), "A-scan", 171);
        fileRow("L = 0xFFFF", valid(0xFFFF).leftJustified(6 + 0xFFFF, '\0'), "A-scan", 171);
        // readTitle checks the signature, readRecord does not; the first four bytes may be
        // anything.
        fileRow("signature in lower case", valid().replace(8, 5, "z4170"), "", 171);
        fileRow("another model's signature", valid().replace(8, 5, "Z4171"), "", 171);
        fileRow("marker bytes GIF8", valid().replace(0, 4, "GIF8"), "A-scan", 171);
        // No regular file is read: a pipe is refused even while a writer has sent it a whole
        // A-scan.
        const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe"));
        const int writer = ::mkfifo(pipe, 0600) == 0 ? ::open(pipe, O_RDWR | O_NONBLOCK) : -1;
        QVERIFY(writer >= 0
                && ::write(writer, valid().constData(), valid().size()) == valid().size());
        fileRow("a pipe", pipe, "", 0);
        fileRow("a folder", QFile::encodeName(m_dir.path()), "", 0);
        fileRow("a missing file", pipe + "-missing", "", 0);
    }
    void files()
    {
        QFETCH(QByteArray, bytes);
        const bool named = bytes.startsWith(QFile::encodeName(m_dir.path()));
        const QString path = named ? QFile::decodeName(bytes) : m_dir.filePath("a.jpg");
        QVERIFY(named || writeBytes(path, bytes));
        AscanSettings fromFile = untouched();
        AscanSettings fromBytes = untouched();
        QTEST(readTitle(path), "title");
        QTEST(readRecord(path, fromFile), "record");
        QTEST(fields(fromFile), "expected");
        if (named)
            return;
        QTEST(titleFromBytes(bytes), "title");
        QTEST(recordFromBytes(bytes, fromBytes), "record");
        QTEST(fields(fromBytes), "expected");
    }

    // What each field of the settings block decodes to, and the values the table then shows.
    void settings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("table"); // empty: not checked
        const QString defaults
            = "single|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30";
        settingsRow("the default A-scan", [](A) {}, [](S) {}, defaults);
        // Byte 31 is never text; a character it cuts is one replacement; a byte that starts none is
        // one.
        const auto text = [](const char *name, const QByteArray &field, const QString &text) {
            settingsRow(name, [=](A a) { a.title = field; }, [=](S s) { s.title = text; });
        };
        const QString letters = QStringLiteral("абвгдеёжзийклмн"), cut(QChar::ReplacementCharacter);
        text("32 bytes", QByteArray(32, 'b'), QString(31, 'b'));
        text("empty", QByteArray("\0title", 6), QString());
        text("Cyrillic, last letter cut", (letters + QStringLiteral("о")).toUtf8(), letters + cut);
        text("3-byte sequence whole", QByteArray(28, 'h') + "\xE2\x82\xAC",
             QString(28, 'h') + QChar(0x20AC));
        text("overlong E0 80 at the end", QByteArray(29, 'i') + "\xE0\x80",
             QString(29, 'i') + cut + cut);
        text("surrogate ED A0 at the end", QByteArray(29, 'j') + "\xED\xA0",
             QString(29, 'j') + cut + cut);
        settingsRow("configuration cut", [](A a) { a.configurationName = QByteArray(32, 'c'); },
                    [](S s) { s.configurationName = QString(31, 'c'); });
        // Switches: 1 is off, anything else on; choices out of range are no text.
        settingsRow("strobe 2", [](A a) { a.strobeSwitch = 2; }, [](S s) { s.strobe = "on"; });
        settingsRow("cursor 1", [](A a) { a.cursorSwitch = 1; }, [](S s) { s.cursor = "off"; });
        settingsRow(
            "discreteness 255", [](A a) { a.discreteness = 255; },
            [](S s) { s.discreteness = "1"; });
        settingsRow("scale 1", [](A a) { a.scaleMode = 1; }, [](S s) { s.scale = "µs"; });
        settingsRow("scale 3", [](A a) { a.scaleMode = 3; }, [](S s) { s.scale = ""; });
        settingsRow(
            "frequency 15", [](A a) { a.frequencyIndex = 15; }, [](S s) { s.frequency = "15.0"; });
        settingsRow(
            "frequency 16", [](A a) { a.frequencyIndex = 16; }, [](S s) { s.frequency = ""; });
        settingsRow("probe type 1", [](A a) { a.probeType = 1; }, [](S s) { s.dualProbe = true; });
        settingsRow("probe type 2", [](A a) { a.probeType = 2; }, [](S) {});
        settingsRow(
            "unit system 255", [](A a) { a.unitSystem = 255; }, [](S s) { s.unitSystem = 255; });
        settingsRow("thickness switch 2", [](A a) { a.thicknessSwitch = 2; }, [](S) {});
        settingsRow("time", [](A a) { a.time[0] = 9; }, [](S s) { s.timeText = "09:30"; });
        settingsRow("day 0", [](A a) { a.date[0] = 0; }, [](S s) { s.dateText = "00:06:2026"; });
        settingsRow(
            "year at its limit", [](A a) { a.yearSince1900 = 0xFFFF; },
            [](S s) { s.dateText = "15:06:67435"; });
        settingsRow(
            "angle at its limit", [](A a) { a.probeAngle = 0xFFFF; },
            [](S s) { s.probeAngle = 6553.5f; });
        settingsRow("delay -1", [](A a) { a.delay = -1; }, [](S s) { s.delay = -0.1f; });
        // The acceptance level: the reference level and the standard correction less the roughness
        // one.
        settingsRow("reference -12.3, not in use", [](A a) { a.referenceLevel = -123; },
                    [](S s) { s.referenceLevel = s.acceptanceLevel = -12.3f; });
        // In single precision 18.3f - 30.0f + 11.7f is -2^-20, shown as 0.0 without a sign.
        settingsRow("reference in use, corrections", [](A a) {
            a.referenceSwitch = 0;
            a.referenceLevel = 183;
            a.correctionStandard = -300;
            a.correctionRoughness = -117;
        }, [](S s) {
            s.referenceOn = true;
            s.referenceLevel = 18.3f;
            s.correctionStandard = -30;
            s.correctionRoughness = -11.7;
            s.acceptanceLevel = -0x1p-20f;
        }, "single|5.0|45.0|0.7|10.00|18.3|-30.0|-11.7|0.0|off|mm depth|0.1|on|15:06:2026|12:30");
        settingsRow("thickness 0", [](A a) { a.thicknessMm = 0; }, [](S s) { s.thicknessMm = 0; },
                    "single|5.0|45.0|0.7|0.00|off|off|mm depth|0.1|on|15:06:2026|12:30");
        settingsRow(
            "thickness at its limit", [](A a) { a.thicknessMm = a.thicknessInch = 0xFFFFFF; },
            [](S s) { s.thicknessMm = s.thicknessInch = 167772.15; });
        settingsRow("thickness off", [](A a) { a.thicknessSwitch = 1; },
                    [](S s) { s.thicknessMm = s.thicknessInch = -1; },
                    "single|5.0|45.0|0.7|off|off|off|mm depth|0.1|on|15:06:2026|12:30");
    }
    void settings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, table);
        AscanSettings settings = untouched();
        QCOMPARE(recordFromBytes(bytes, settings), 171);
        QTEST(fields(settings), "expected");
        QStringList values;
        for (const SettingsRow &row : settingsTableRows(settings))
            values << row.value;
        if (!table.isEmpty())
            QCOMPARE(values.join('|'), table);
    }

    // A file is read up to its size cap and refused past it, however good its start.
    void fileSizeCap_data()
    {
        QTest::addColumn<int>("padding");
        QTest::addColumn<bool>("shown");
        QTest::newRow("at the cap") << 0 << true;
        QTest::newRow("one byte past") << 1 << false;
    }
    void fileSizeCap()
    {
        QFETCH(int, padding);
        const QString path = m_dir.filePath("big.jpg");
        const int size = int(AscanPicture::MaxFileBytes) + padding;
        QVERIFY(
            writeBytes(path, encodeJpeg(instrumentScreen(1, QString())).leftJustified(size, '\0')));
        QTEST(!readAscanPicture(path).isNull(), "shown");
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
        QTest::newRow("100 scans of 1280 x 1000")
            << progressiveJpeg(QSize(1280, 1000), 100) << true;
        QTest::newRow("100 scans of 1280 x 1001")
            << progressiveJpeg(QSize(1280, 1001), 100) << false;
    }
    void pictures()
    {
        QFETCH(QByteArray, bytes);
        QTEST(!decodeAscanPicture(bytes, QSize(240, 320)).isNull(), "shown");
    }

    // Files made to freeze the window, each refused before the decoder sees it, and their
    // neighbours within the limits shown: segments before and between scans, the coding, a
    // progressive colour picture's coefficients.
    void hostilePictures_data()
    {
        const QByteArray ascan = buildAscan(AscanFields());
        const auto segments = [&](const char *marker, int count) {
            return QByteArray(ascan).insert(AscanLayout::HeaderEnd, QByteArray(marker, 4).repeated(count));
        };
        const auto coded = [](char sof) { return jpegClaiming(16, 16).replace("\xFF\xC0", QByteArray("\xFF") + sof); };
        int before = 0; // the A-scan's own segments
        for (int i = 2; ascan.at(i + 1) != '\xDA'; ++before)
            i += 2 + (uchar(ascan.at(i + 2)) << 8 | uchar(ascan.at(i + 3)));
        // Comments before the last scan, after the tables the encoder wrote there.
        const auto between = [](int total) {
            const QByteArray jpeg = progressiveJpeg(QSize(8, 8), 2);
            const int last = jpeg.lastIndexOf("\xFF\xDA"), tables = jpeg.lastIndexOf("\xFF\xC4");
            const int own = tables > jpeg.lastIndexOf("\xFF\xDA", last - 1) ? 1 : 0;
            return QByteArray(jpeg).insert(last, QByteArray("\xFF\xFE\0\x02", 4).repeated(total - own));
        };
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("100,000 comments") << segments("\xFF\xFE\0\x02", 100000) << false;
        QTest::newRow("32 segments") << segments("\xFF\xFE\0\x02", 32 - before) << true;
        QTest::newRow("33 segments") << segments("\xFF\xFE\0\x02", 33 - before) << false;
        QTest::newRow("8 between scans") << between(8) << true;
        QTest::newRow("9 between scans") << between(9) << false;
        QTest::newRow("lossless") << coded('\xC3') << false;
        QTest::newRow("arithmetic") << coded('\xC9') << false;
        QTest::newRow("arithmetic, progressive") << coded('\xCA') << false;
        QTest::newRow("colour progressive 2309 x 2309") << progressiveJpeg(QSize(2309, 2309), 1, QImage::Format_RGB32)
                                                        << true;
        QTest::newRow("colour progressive 2310 x 2310") << progressiveJpeg(QSize(2310, 2310), 1, QImage::Format_RGB32)
                                                        << false;
    }
    void hostilePictures() { pictures(); }

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
