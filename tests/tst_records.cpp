#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ascanbuilder.h"
#include "records/ascanfile.h"
#include "records/ascanpicture.h"
#include "records/ascansettings.h"

namespace {

// Values no decoder produces, so that any write to a field shows. Fields in their fixed order.
AscanSettings sentinel()
{
    return {"untouched title", "untouched configuration", "t", "d", false, "f", 1.25f, 2.5f, 3.5,
            4.5, "sc", "di", "cu", "st", 5.5f, true, 7, 8, 9.5f, 10.5, 11.5, 77};
}

// What the builder's default A-scan decodes to, worked out by hand.
AscanSettings decodedDefault()
{
    return {"A-scan", "Weld 12 mm", "12:30", "15:06:2026", false, "5.0", 45.0f, 0.7f, 10.0, 0.39,
            "mm depth", "0.1", "on", "off", 0.0f, false, -12, -6, 0.0f, 0.0, 0.0, 0};
}

// Every field as "name=value"; numbers with 17 digits, so that equal texts mean equal bits.
QString shown(const QString &value) { return value; }
QString shown(double value) { return QString::number(value, 'g', 17); }
QStringList fields(const AscanSettings &s)
{
#define F(field) QStringLiteral(#field "=") + shown(s.field)
    return {F(title), F(configurationName), F(timeText), F(dateText), F(dualProbe), F(frequency), F(probeAngle),
            F(delay), F(thicknessMm), F(thicknessInch), F(scale), F(discreteness), F(cursor), F(strobe),
            F(referenceLevel), F(referenceOn), F(examinationMonitor), F(reportingLevel), F(acceptanceLevel),
            F(correctionStandard), F(correctionRoughness), F(unitSystem)};
#undef F
}

// A complete A-scan with the default settings (L = 755) and a real picture.
const QByteArray &validFile()
{
    static const QByteArray bytes = buildAscan(AscanFields());
    return bytes;
}

QByteArray withLength(QByteArray bytes, int length)
{
    bytes[4] = char(length >> 8);
    bytes[5] = char(length & 0xFF);
    return bytes;
}

using A = AscanFields &;
using S = AscanSettings &;

// A file that fails (record 0) or decodes to the default settings; readTitle finds the title or not.
void fileRow(const QByteArray &name, const QByteArray &bytes, bool titled, int record, const QVector<int> &reads = {},
             const QString &path = {})
{
    QTest::newRow(name.constData()) << bytes << QString(titled ? "A-scan" : "") << record
                                    << fields(record != 0 ? decodedDefault() : sentinel()) << reads << path;
}

// A file built with `change`, and what it decodes to: the default settings with `expect`.
template <typename Change, typename Expect>
void settingsRow(const QByteArray &name, Change change, Expect expect)
{
    AscanFields ascan;
    AscanSettings settings = decodedDefault();
    change(ascan);
    expect(settings);
    QTest::newRow(name.constData()) << buildAscan(ascan) << settings.title << 171 << fields(settings) << QVector<int>()
                                    << QString();
}

// rchar of /proc/self/io (-1 if unavailable) and the bytes this very read added to it.
QPair<qint64, qint64> bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    const QByteArray text = io.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? io.readAll() : QByteArray();
    const int at = text.indexOf("rchar:");
    return {at < 0 ? -1 : text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().toLongLong(), text.size()};
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString fileWith(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("%1.jpg").arg(++m_files));
        return writeBytes(path, bytes) ? path : QString();
    }

private slots:
    void files_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("record");
        QTest::addColumn<QStringList>("expected"); // all fields after readRecord
        // Bytes readTitle and readRecord take from the file (empty: not measured). Bytes read are
        // time on the instrument's slow link: the readers read only what they need.
        QTest::addColumn<QVector<int>>("reads");
        QTest::addColumn<QString>("path");         // empty: a file with the bytes

        const QByteArray &valid = validFile();
        QVERIFY(valid.size() > 6 + 755 + 1000);
        // Cut at every block boundary (header 6, signature 8, title 13, settings 578, date-time 749,
        // its end 759, the segment's end 761) and in between.
        for (int size : {0, 1, 2, 3, 4, 5, 6, 8, 12, 13, 38, 45, 46, 577, 578, 600, 749, 758, 759, 760, 761})
            fileRow("size " + QByteArray::number(size), valid.left(size), size >= 45, size == 761 ? 171 : 0);
        fileRow("size 44", valid.left(44), false, 0, {44, 44});
        fileRow("size 44, L = 7", withLength(valid, 7).left(44), false, 0);
        for (int length : {0, 1, 2, 7})
            fileRow("L = " + QByteArray::number(length), withLength(valid, length), length > 6, 0);
        fileRow("L = 6", withLength(valid, 6), false, 0, {45, 6});
        fileRow("L = 752", withLength(valid, 752), true, 0, {45, 6});
        fileRow("L = 753", withLength(valid, 753), true, 171, {45, 6 + 753});
        fileRow("L = 755, file with its picture", valid, true, 171, {45, 6 + 755});
        fileRow("L = 753, 758 bytes", withLength(valid, 753).left(758), true, 0);
        fileRow("L = 753, 759 bytes", withLength(valid, 753).left(759), true, 171);
        fileRow("L = 0xFFFF, 6 + L bytes", withLength(valid, 0xFFFF).leftJustified(6 + 0xFFFF, '\0'), true, 171,
                {45, 6 + 0xFFFF});
        fileRow("L one larger than the file", withLength(valid, valid.size() - 5), true, 0);
        // readTitle checks the signature, readRecord does not; the first four bytes may be anything.
        const auto patched = [&](int at, const QByteArray &b) { return QByteArray(valid).replace(at, b.size(), b); };
        fileRow("signature z4170", patched(8, "z4170"), false, 171);
        fileRow("signature Z417 NUL", patched(8, QByteArray("Z417\0", 5)), false, 171);
        fileRow("signature Z4171", patched(8, "Z4171"), false, 171);
        fileRow("marker bytes 00", patched(0, QByteArray(4, '\0')), true, 171);
        fileRow("marker bytes GIF8", patched(0, "GIF8"), true, 171);

        // Title and configuration name are both 32-byte text fields.
        const auto textRow = [](const char *name, const QByteArray &field, const QString &text) {
            settingsRow(name, [&](A a) { a.title = a.configurationName = field; },
                        [&](S s) { s.title = s.configurationName = text; });
        };
        const QString letters = QStringLiteral("абвгдеёжзийклмн");
        const QChar fffd(QChar::ReplacementCharacter);
        textRow("31 bytes and NUL", QByteArray(31, 'a'), QString(31, 'a'));
        textRow("32 bytes, byte 31 dropped", QByteArray(32, 'b'), QString(31, 'b'));
        textRow("empty", QByteArray("\0title", 6), QString());
        textRow("Cyrillic, last letter cut", (letters + QStringLiteral("о")).toUtf8(), letters + fffd);
        textRow("3-byte sequence cut", QByteArray(29, 'e') + "\xE2\x82\xAC", QString(29, 'e') + fffd);
        textRow("4-byte sequence cut", QByteArray(28, 'f') + "\xF0\x9F\x98\x80", QString(28, 'f') + fffd);
        textRow("3-byte sequence whole", QByteArray(28, 'h') + "\xE2\x82\xAC", QString(28, 'h') + QChar(0x20AC));
        // Not the start of any character: one replacement per byte.
        textRow("overlong E0 80 at the end", QByteArray(29, 'i') + "\xE0\x80", QString(29, 'i') + fffd + fffd);
        textRow("surrogate ED A0 at the end", QByteArray(29, 'j') + "\xED\xA0", QString(29, 'j') + fffd + fffd);

        settingsRow("strobe 0: on", [](A a) { a.strobeSwitch = 0; }, [](S s) { s.strobe = "on"; });
        settingsRow("strobe 2: on", [](A a) { a.strobeSwitch = 2; }, [](S s) { s.strobe = "on"; });
        settingsRow("cursor 1: off", [](A a) { a.cursorSwitch = 1; }, [](S s) { s.cursor = "off"; });
        settingsRow("discreteness 255", [](A a) { a.discreteness = 255; }, [](S s) { s.discreteness = "1"; });
        settingsRow("scale 1", [](A a) { a.scaleMode = 1; }, [](S s) { s.scale = "µs"; });
        settingsRow("scale 2", [](A a) { a.scaleMode = 2; }, [](S s) { s.scale = "mm path"; });
        settingsRow("scale 3: none", [](A a) { a.scaleMode = 3; }, [](S s) { s.scale.clear(); });
        const QStringList frequencies{"0.5", "0.8", "1.0", "1.25", "1.5", "1.8", "2.0", "2.25", "2.5", "3.5", "4.0",
                                      "5.0", "6.0", "7.5", "10.0", "15.0"};
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 255})
            settingsRow("frequency " + QByteArray::number(index), [&](A a) { a.frequencyIndex = quint8(index); },
                        [&](S s) { s.frequency = frequencies.value(index); });
        settingsRow("unit system 255", [](A a) { a.unitSystem = 255; }, [](S s) { s.unitSystem = 255; });
        settingsRow("reference 0: in use", [](A a) { a.referenceSwitch = 0; }, [](S s) { s.referenceOn = true; });
        settingsRow("reference 255: off", [](A a) { a.referenceSwitch = 255; }, [](S) {});
        settingsRow("probe type 1: dual", [](A a) { a.probeType = 1; }, [](S s) { s.dualProbe = true; });
        settingsRow("probe type 2: single", [](A a) { a.probeType = 2; }, [](S) {});
        settingsRow("thickness switch 1: off", [](A a) { a.thicknessSwitch = 1; },
                    [](S s) { s.thicknessMm = s.thicknessInch = -1; });
        settingsRow("thickness switch 2: on", [](A a) { a.thicknessSwitch = 2; }, [](S) {});
        settingsRow("thickness FFFFFF: 24 bits", [](A a) { a.thicknessMm = a.thicknessInch = 0xFFFFFF; },
                    [](S s) { s.thicknessMm = s.thicknessInch = 167772.15; });
        settingsRow("angle FFFF is unsigned", [](A a) { a.probeAngle = 0xFFFF; }, [](S s) { s.probeAngle = 6553.5f; });
        settingsRow("delay FFFF is signed", [](A a) { a.delay = -1; }, [](S s) { s.delay = float(-0.1); });
        settingsRow("reference level -12.3, off", [](A a) { a.referenceLevel = -123; },
                    [](S s) { s.referenceLevel = s.acceptanceLevel = float(-12.3); });
        settingsRow("roughness kept in double", [](A a) { a.correctionRoughness = -1; },
                    [](S s) { s.correctionRoughness = -0.1; s.acceptanceLevel = 0.1f; });
        // The acceptance level in single precision, bit for bit. 0.1f + 0.2f is exactly 0.3f
        // (double leaves 0x314CCCCD); 0.1f + 0.1f - 0.3f is 0xBDCCCCCE (double: 0xBDCCCCCD).
        settingsRow("acceptance 0.1 + 0.2 - 0.3",
                    [](A a) { a.correctionStandard = 1; a.referenceLevel = 2; a.correctionRoughness = 3; },
                    [](S s) { s.correctionStandard = 0.1; s.referenceLevel = 0.2f; s.correctionRoughness = 0.3; });
        settingsRow("acceptance 0.1 + 0.1 - 0.3",
                    [](A a) { a.correctionStandard = 1; a.referenceLevel = 1; a.correctionRoughness = 3; },
                    [](S s) { s.correctionStandard = 0.1; s.referenceLevel = 0.1f; s.correctionRoughness = 0.3;
                              s.acceptanceLevel = -0x1.99999Cp-4f; });
        const auto dateTimeRow = [](quint16 value, const char *time, const char *date) {
            settingsRow("date-time all " + QByteArray::number(value),
                        [&](A a) { a.time[0] = a.time[1] = a.date[0] = a.date[1] = a.yearSince1900 = value; },
                        [&](S s) { s.timeText = time; s.dateText = date; });
        };
        dateTimeRow(0, "00:00", "00:00:1900");
        dateTimeRow(9, "09:09", "09:09:1909");
        dateTimeRow(10, "10:10", "10:10:1910");
        dateTimeRow(0xFFFF, "65535:65535", "65535:65535:67435");

        // Every input the fuzzer ever failed on: the file readers do as the byte readers do.
        const QDir crashDir(QStringLiteral(SCANLET_TEST_DATA "/fuzz-crashes"));
        const QFileInfoList crashes = crashDir.entryInfoList(QDir::Files);
        QVERIFY(!crashes.isEmpty()); // at least its README
        for (const QFileInfo &crash : crashes) {
            QFile file(crash.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            AscanSettings s = sentinel();
            const int record = recordFromBytes(bytes, s);
            QTest::newRow(qPrintable("fuzz-crashes/" + crash.fileName()))
                << bytes << titleFromBytes(bytes) << record << fields(s) << QVector<int>() << crash.filePath();
        }
        // Paths that are no regular file; a pipe without a writer must not block.
        const QString fifo = m_dir.filePath(QStringLiteral("pipe.jpg"));
        QVERIFY(QFileInfo::exists(fifo) || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        fileRow("named pipe", {}, false, 0, {}, fifo);
        fileRow("directory", {}, false, 0, {}, m_dir.path());
        fileRow("missing file", {}, false, 0, {}, m_dir.filePath(QStringLiteral("missing.jpg")));
    }

    // File and byte readers alike; a failing readRecord leaves every field alone.
    void files()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(int, record);
        QFETCH(QStringList, expected);
        QFETCH(QVector<int>, reads);
        QFETCH(QString, path);
        path = path.isEmpty() ? fileWith(bytes) : path;
        // A pipe is refused even while a writer has sent it a whole A-scan.
        struct stat info;
        const QByteArray name = QFile::encodeName(path);
        const int writer = ::stat(name, &info) == 0 && S_ISFIFO(info.st_mode) ? ::open(name, O_RDWR | O_NONBLOCK) : -1;
        const auto closeWriter = qScopeGuard([writer] { writer >= 0 && ::close(writer); });
        QVERIFY(writer < 0 || ::write(writer, validFile().constData(), validFile().size()) == validFile().size());
        AscanSettings fromFile = sentinel(), fromBytes = sentinel();
        const auto start = bytesReadSoFar();
        QCOMPARE(readTitle(path), title);
        const auto middle = bytesReadSoFar();
        QCOMPARE(readRecord(path, fromFile), record);
        const auto end = bytesReadSoFar();
        if (!reads.isEmpty()) {
            QVERIFY2(start.first >= 0, "/proc/self/io is not available");
            const qint64 byTitle = middle.first - start.first - start.second;
            QCOMPARE(QVector<int>({int(byTitle), int(end.first - middle.first - middle.second)}), reads);
        }
        QCOMPARE(titleFromBytes(bytes), title);
        QCOMPARE(recordFromBytes(bytes, fromBytes), record);
        decodeAscanPicture(bytes);   // the fuzzer's findings replayed through the picture path too
        QCOMPARE(fields(fromFile), expected);
        QCOMPARE(fields(fromBytes), expected);
    }

    // Defaults, and texts translated at the moment of decoding, not of showing.
    void resetAndTranslation()
    {
        AscanSettings s = sentinel();
        resetSettings(s);
        QCOMPARE(fields(s), fields({"", "", "", "", true, "", 0.0f, 0.7f, 10.0, 4.0, "", "1", "on", "off", 0.0f,
                                    false, -12, -6, 0.0f, 0.0, 0.0, s.unitSystem}));
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(SCANLET_QM_DIR "/scanlet_ru.qm")));
        QVERIFY(QCoreApplication::installTranslator(&russian));
        const auto tr = [](const char *text) { return QCoreApplication::translate("CDataManager", text); };
        const QStringList translated{tr("on"), tr("off"), tr("µs")};
        resetSettings(s);
        AscanSettings decoded = sentinel();
        QCOMPARE(recordFromBytes(QByteArray(validFile()).replace(578 + 122, 1, "\x01"), decoded), 171); // scale 1
        QCoreApplication::removeTranslator(&russian);

        QCOMPARE(translated.filter(QRegularExpression(QStringLiteral("^(on|off|µs)$"))), QStringList());
        QCOMPARE(QStringList({s.cursor, s.strobe}), translated.mid(0, 2));
        QCOMPARE(QStringList({decoded.cursor, decoded.strobe, decoded.scale}), translated);
        QCOMPARE(switchText(1), QStringLiteral("off"));
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
