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

// What a record shows: its title, its configuration and the values of its table.
QString shown(const AscanSettings &s)
{
    QStringList shown{s.title, s.configurationName};
    for (const SettingsRow &row : settingsTableRows(s))
        shown << row.value;
    return shown.join('|');
}

// The writer's default A-scan as shown, after its title.
const QString untitled
    = "|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30";

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // How much of a file must be there for its title and its record, and what marks an A-scan;
    // a folder's titles read the same past the system's cache as through it.
    void files_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a file's bytes, or a path in the work folder
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("record");
        const QByteArray ascan = buildAscan({});
        // Header 6 bytes, title up to 45, the date-time block up to 759, L = 755 reaches 761.
        QTest::newRow("size 44") << ascan.left(44) << "" << false;
        QTest::newRow("size 45") << ascan.left(45) << "A-scan" << false;
        QTest::newRow("size 760") << ascan.left(760) << "A-scan" << false;
        QTest::newRow("size 761") << ascan.left(761) << "A-scan" << true;
        QTest::newRow("L = 6") << buildAscan({.segmentLength = 6}) << "" << false;
        QTest::newRow("L = 7") << buildAscan({.segmentLength = 7}) << "A-scan" << false;
        QTest::newRow("L = 752") << buildAscan({.segmentLength = 752}) << "A-scan" << false;
        QTest::newRow("L = 753") << buildAscan({.segmentLength = 753}) << "A-scan" << true;
        QTest::newRow("L = 0xFFFF") << buildAscan({.segmentLength = 0xFFFF}) << "A-scan" << true;
        // Only the title reader checks the signature.
        QTest::newRow("another model's") << buildAscan({.signature = "Z4171"}) << "" << true;
#ifdef Q_OS_UNIX
        // No regular file is read: a pipe is refused even while a writer has sent it an A-scan.
        const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe"));
        const int writer = ::mkfifo(pipe, 0600) == 0 ? ::open(pipe, O_RDWR | O_NONBLOCK) : -1;
        QVERIFY(writer >= 0 && ::write(writer, ascan.constData(), ascan.size()) == ascan.size());
        QTest::newRow("a pipe") << pipe << "" << false;
#endif
        QTest::newRow("a folder") << QFile::encodeName(m_dir.path()) << "" << false;
    }
    void files()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(bool, record);
        const bool named = bytes.startsWith(QFile::encodeName(m_dir.path()));
        const QString path = named ? QFile::decodeName(bytes) : m_dir.filePath("a.jpg");
        QVERIFY(named || writeBytes(path, bytes));
        QCOMPARE(readTitle(path), title);
        FileFolder folder(QFileInfo(path).path());
        for (const auto reads : {FileFolder::Reads::Direct, FileFolder::Reads::Cached}) {
            folder.setReads(reads);
            QCOMPARE(readTitle(folder, QFileInfo(path).fileName()), title);
        }
        // A record not read leaves every field as it was.
        AscanSettings fromFile;
        AscanSettings fromBytes;
        const QString before = shown(fromFile);
        QCOMPARE(readRecord(path, fromFile) > 0, record);
        QCOMPARE(shown(fromFile), record ? "A-scan" + untitled : before);
        if (named)
            return;
        QCOMPARE(titleFromBytes(bytes), title);
        QCOMPARE(recordFromBytes(bytes, fromBytes) > 0, record);
        QCOMPARE(shown(fromBytes), shown(fromFile));
    }

#ifdef Q_OS_LINUX
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
#endif

    // What the fields of the settings block decode to, as the record shows them.
    void settings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const AscanFields &ascan, const QString &shown) {
            QTest::newRow(name) << buildAscan(ascan) << shown;
        };
        row("the default A-scan", {}, "A-scan" + untitled);
        // Byte 31 is never text; a character it cuts is one replacement, so is a byte that
        // starts none.
        const QString letters = QStringLiteral("абвгдеёжзийклмн");
        const QChar cut = QChar::ReplacementCharacter;
        row("32 bytes", {.title = QByteArray(32, 'b')}, QString(31, 'b') + untitled);
        row("Cyrillic, last letter cut", {.title = (letters + "о").toUtf8()},
            letters + cut + untitled);
        row("3-byte sequence whole", {.title = QByteArray(28, 'h') + "\xE2\x82\xAC"},
            QString(28, 'h') + QChar(0x20AC) + untitled);
        row("surrogate ED A0 at the end", {.title = QByteArray(29, 'j') + "\xED\xA0"},
            QString(29, 'j') + cut + cut + untitled);
        // Switches: 1 is off, anything else on; choices out of range are no text.
        row("strobe 2", {.strobeSwitch = 2},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|on|-6|-12|mm depth|0.1|on|"
            "15:06:2026|12:30");
        row("discreteness 255", {.discreteness = 255},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|off|mm depth|1|on|15:06:2026|12:30");
        row("scale 1", {.scaleMode = 1},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|off|µs|0.1|on|15:06:2026|12:30");
        row("scale 3", {.scaleMode = 3},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|off||0.1|on|15:06:2026|12:30");
        row("inches", {.unitSystem = 1},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|0.39|off|off|mm depth|0.1|on|15:06:2026|12:30");
        row("thickness switch 2", {.thicknessSwitch = 2}, "A-scan" + untitled);
        row("thickness off", {.thicknessSwitch = 1},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|off|off|off|mm depth|0.1|on|15:06:2026|12:30");
        row("probe type 1", {.probeType = 1},
            "A-scan|Weld 12 mm|double|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30");
        row("frequency 15", {.frequencyIndex = 15},
            "A-scan|Weld 12 mm|single|15.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|"
            "15:06:2026|12:30");
        row("frequency 16", {.frequencyIndex = 16},
            "A-scan|Weld 12 mm|single||45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30");
        // Numbers at their limits, signed ones below zero, the thickness at none.
        row("thickness 0", {.thicknessMm = 0},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|0.00|off|off|mm depth|0.1|on|15:06:2026|12:30");
        row("thickness at its limit", {.thicknessMm = 0xFFFFFF},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|167772.15|off|off|mm depth|0.1|on|15:06:2026|"
            "12:30");
        row("angle at its limit", {.probeAngle = 0xFFFF},
            "A-scan|Weld 12 mm|single|5.0|6553.5|0.7|10.00|off|off|mm depth|0.1|on|"
            "15:06:2026|12:30");
        row("delay -1", {.delay = -1},
            "A-scan|Weld 12 mm|single|5.0|45.0|-0.1|10.00|off|off|mm depth|0.1|on|"
            "15:06:2026|12:30");
        row("time 9:30, year at its limit", {.time = {9, 30}, .yearSince1900 = 0xFFFF},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|"
            "15:06:67435|09:30");
        // The acceptance level is the reference level and the standard correction less the
        // roughness one: in single precision 18.3f - 30.0f + 11.7f is -2^-20, shown as 0.0.
        row("reference in use, corrections",
            {.referenceSwitch = 0,
             .referenceLevel = 183,
             .correctionRoughness = -117,
             .correctionStandard = -300},
            "A-scan|Weld 12 mm|single|5.0|45.0|0.7|10.00|18.3|-30.0|-11.7|0.0|off|mm depth|0.1|on|"
            "15:06:2026|12:30");
    }
    void settings()
    {
        QFETCH(QByteArray, bytes);
        AscanSettings settings;
        QVERIFY(recordFromBytes(bytes, settings) > 0);
        QTEST(shown(settings), "shown");
    }

    // The decoder's bounds, each at its edge: the file's size, pixels of the frame, scans, pixels
    // over all scans, segments before a scan, a progressive colour picture's coefficients; and
    // codings refused before decoding.
    void pictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QByteArray jpeg = encodeJpeg(instrumentScreen(1, QString()));
        const auto coded = [](char sof) {
            return jpegClaiming(16, 16).replace("\xFF\xC0", QByteArray("\xFF") + sof);
        };
        // The picture with empty comments before its own segments, `total` segments in all.
        const auto segments = [&](int total) {
            int own = 0;
            for (int at = 2; jpeg.at(at + 1) != '\xDA'; ++own)
                at += 2 + (uchar(jpeg.at(at + 2)) << 8 | uchar(jpeg.at(at + 3)));
            const QByteArray comment("\xFF\xFE\0\x02", 4);
            return QByteArray(jpeg).insert(2, comment.repeated(total - own));
        };
        QTest::newRow("at the size cap")
            << jpeg.leftJustified(AscanPicture::MaxFileBytes, '\0') << true;
        QTest::newRow("one byte past") << jpeg.leftJustified(AscanPicture::MaxFileBytes + 1, '\0')
                                       << false;
        QTest::newRow("claiming 4000 x 4000") << jpegClaiming(4000, 4000) << true;
        QTest::newRow("claiming 4001 x 4000") << jpegClaiming(4001, 4000) << false;
        QTest::newRow("100 scans") << progressiveJpeg(QSize(64, 64), 100) << true;
        QTest::newRow("101 scans") << progressiveJpeg(QSize(64, 64), 101) << false;
        QTest::newRow("100 scans of 1280 x 1000")
            << progressiveJpeg(QSize(1280, 1000), 100) << true;
        QTest::newRow("100 scans of 1280 x 1001")
            << progressiveJpeg(QSize(1280, 1001), 100) << false;
        QTest::newRow("32 segments") << segments(32) << true;
        QTest::newRow("33 segments") << segments(33) << false;
        QTest::newRow("colour progressive 2309 x 2309")
            << progressiveJpeg(QSize(2309, 2309), 1, QImage::Format_RGB32) << true;
        QTest::newRow("colour progressive 2310 x 2310")
            << progressiveJpeg(QSize(2310, 2310), 1, QImage::Format_RGB32) << false;
        QTest::newRow("lossless") << coded('\xC3') << false;
        QTest::newRow("arithmetic") << coded('\xC9') << false;
    }
    void pictures()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath("picture.jpg");
        QVERIFY(writeBytes(path, bytes));
        QTEST(!readAscanPicture(path, QSize(240, 320)).isNull(), "shown");
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
