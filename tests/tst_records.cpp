#include <QtTest>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "ascanbuilder.h"
#include "records/ascanfile.h"
#include "records/ascansettings.h"

namespace {

// Values no decoder produces, so that any write to a field shows. Fields in their fixed order.
AscanSettings sentinel()
{
    return AscanSettings{"untouched title", "untouched configuration", "t", "d", false, "f",
                         1.25f, 2.5f, 3.5, 4.5, "sc", "di", "cu", "st", 5.5f, true, 7, 8, 9.5f,
                         10.5, 11.5, 77};
}

// Names of the fields that differ, compared exactly.
QStringList differingFields(const AscanSettings &a, const AscanSettings &b)
{
    QStringList names;
#define SCANLET_FIELD(f) if (!(a.f == b.f)) names << QStringLiteral(#f);
    SCANLET_FIELD(title) SCANLET_FIELD(configurationName) SCANLET_FIELD(timeText)
    SCANLET_FIELD(dateText) SCANLET_FIELD(dualProbe) SCANLET_FIELD(frequency)
    SCANLET_FIELD(probeAngle) SCANLET_FIELD(delay) SCANLET_FIELD(thicknessMm)
    SCANLET_FIELD(thicknessInch) SCANLET_FIELD(scale) SCANLET_FIELD(discreteness)
    SCANLET_FIELD(cursor) SCANLET_FIELD(strobe) SCANLET_FIELD(referenceLevel)
    SCANLET_FIELD(referenceOn) SCANLET_FIELD(examinationMonitor) SCANLET_FIELD(reportingLevel)
    SCANLET_FIELD(acceptanceLevel) SCANLET_FIELD(correctionStandard)
    SCANLET_FIELD(correctionRoughness) SCANLET_FIELD(unitSystem)
#undef SCANLET_FIELD
    return names;
}

double numberField(const AscanSettings &s, const QString &name)
{
    const QHash<QString, double> fields{
        {"dualProbe", s.dualProbe},           {"probeAngle", s.probeAngle},
        {"delay", s.delay},                   {"thicknessMm", s.thicknessMm},
        {"thicknessInch", s.thicknessInch},   {"referenceLevel", s.referenceLevel},
        {"referenceOn", s.referenceOn},       {"examinationMonitor", s.examinationMonitor},
        {"reportingLevel", s.reportingLevel}, {"correctionStandard", s.correctionStandard},
        {"correctionRoughness", s.correctionRoughness}, {"unitSystem", s.unitSystem},
    };
    return fields.value(name, qQNaN());
}

// A 32-bit field holds the 64-bit quotient rounded to 32 bits.
double f32(double value) { return double(float(value)); }

float floatFromBits(quint32 bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray withLength(QByteArray bytes, int length)
{
    bytes[4] = char(length >> 8);
    bytes[5] = char(length & 0xFF);
    return bytes;
}

// A complete A-scan with the default settings and a real picture (L = 755).
QByteArray validFile()
{
    static const QByteArray bytes = buildAscan(AscanFields());
    return bytes;
}

// The SettingsBlock of the default file with `patch` written at `offset` within the block.
QByteArray settingsBlock(int offset, const QByteArray &patch)
{
    QByteArray block = validFile().mid(AscanLayout::Settings, Ascan::SettingsBlockSize);
    block.replace(offset, patch.size(), patch);
    return block;
}

AscanSettings decodedBlock(const QByteArray &block)
{
    AscanSettings s = sentinel();
    const int used = decodeSettings(reinterpret_cast<const uchar *>(block.constData()), s);
    return used == Ascan::SettingsBlockSize ? s : sentinel();
}

// rchar of /proc/self/io and the bytes this very read added to it.
struct IoSample
{
    qint64 rchar = -1;
    qint64 ownBytes = 0;
};

IoSample sampleIo()
{
    IoSample sample;
    const int fd = ::open("/proc/self/io", O_RDONLY);
    if (fd < 0)
        return sample;
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (got <= 0)
        return sample;
    buffer[got] = 0;
    const char *field = std::strstr(buffer, "rchar:");
    if (field != nullptr) {
        sample.rchar = std::strtoll(field + 6, nullptr, 10);
        sample.ownBytes = got;
    }
    return sample;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void malformedFiles_data();
    void malformedFiles();
    void unreadablePaths_data();
    void unreadablePaths();
    void signatures_data();
    void signatures();
    void textFields_data();
    void textFields();
    void segmentLengths_data();
    void segmentLengths();
    void markerBytes_data();
    void markerBytes();

    void enumerationTexts_data();
    void enumerationTexts();
    void decodedNumbers_data();
    void decodedNumbers();
    void acceptanceLevel_data();
    void acceptanceLevel();
    void dateTime_data();
    void dateTime();
    void resetAndTranslation();

    void bytesRead_data();
    void bytesRead();
    void fuzzCrashes_data();
    void fuzzCrashes();

private:
    QString fileWith(const QByteArray &bytes);

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestRecords::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestRecords::fileWith(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("%1.jpg").arg(++m_files));
    return writeBytes(path, bytes) ? path : QString();
}

void TestRecords::malformedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");   // what readTitle returns
    QTest::addColumn<int>("record");      // what readRecord returns

    const QByteArray valid = validFile();
    const QString title = QStringLiteral("A-scan");
    QVERIFY(valid.size() > 761 + 1000);

    const struct { const char *name; int size; bool titled; } cuts[] = {
        {"size 0", 0, false},                   {"size 1", 1, false},
        {"size 2, SOI only", 2, false},         {"size 4, marker", 4, false},
        {"size 5", 5, false},                   {"size 6, header only", 6, false},
        {"size 8, before signature", 8, false}, {"size 12, cut signature", 12, false},
        {"size 13, before title", 13, false},   {"size 38", 38, false},
        {"size 44", 44, false},                 {"size 45, title complete", 45, true},
        {"size 577", 577, true},                {"size 578, before settings", 578, true},
        {"size 749, before date-time", 749, true}, {"size 758", 758, true},
        {"size 759, blocks complete", 759, true},  {"size 760, one short of 6 + L", 760, true},
    };
    for (const auto &cut : cuts)
        QTest::newRow(cut.name) << valid.left(cut.size) << (cut.titled ? title : QString()) << 0;
    QTest::newRow("size 761 = 6 + L") << valid.left(761) << title << 171;

    for (int length : {0, 1, 2, 6})
        QTest::addRow("L = %d", length) << withLength(valid, length) << QString() << 0;
    QTest::newRow("L = 7") << withLength(valid, 7) << title << 0;
    QTest::newRow("L = 752") << withLength(valid, 752) << title << 0;
    QTest::newRow("L = 753") << withLength(valid, 753) << title << 171;
    QTest::newRow("L = 0xFFFF, shorter file") << withLength(valid, 0xFFFF) << title << 0;
    QTest::newRow("L = 0xFFFF, file of 6 + L bytes")
        << withLength(valid, 0xFFFF) + QByteArray(6 + 0xFFFF - valid.size(), '\0') << title << 171;
    QTest::newRow("L one larger than the file") << withLength(valid, valid.size() - 5) << title << 0;
    QTest::newRow("L exactly the file") << withLength(valid, valid.size() - 6) << title << 171;
    QTest::newRow("759 zero bytes") << QByteArray(759, '\0') << QString() << 0;
    QTest::newRow("1000 bytes of FF") << QByteArray(1000, '\xFF') << QString() << 0;
    QTest::newRow("L = 0xFFFF, 44 bytes") << withLength(valid.left(44), 0xFFFF) << QString() << 0;
}

// Both readers over bytes and over files; a failing readRecord leaves every field alone.
void TestRecords::malformedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(int, record);

    const QString path = fileWith(bytes);
    QVERIFY(!path.isEmpty());
    QCOMPARE(titleFromBytes(bytes), title);
    QCOMPARE(readTitle(path), title);

    AscanSettings fromBytes = sentinel();
    AscanSettings fromFile = sentinel();
    QCOMPARE(recordFromBytes(bytes, fromBytes), record);
    QCOMPARE(readRecord(path, fromFile), record);
    if (record == 0) {
        QCOMPARE(differingFields(fromBytes, sentinel()), QStringList());
        QCOMPARE(differingFields(fromFile, sentinel()), QStringList());
    } else {
        QCOMPARE(fromFile.title, title);
        QCOMPARE(fromFile.dateText, QStringLiteral("15:06:2026"));
        QCOMPARE(differingFields(fromBytes, fromFile), QStringList());
    }
}

void TestRecords::unreadablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.jpg"));
    QTest::newRow("directory") << m_dir.path();
    QTest::newRow("empty path") << QString();
    // A named pipe with no writer: opening it for reading would block forever.
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.jpg"));
    if (!QFileInfo::exists(fifo))
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("named pipe") << fifo;
}

void TestRecords::unreadablePaths()
{
    QFETCH(QString, path);
    QCOMPARE(readTitle(path), QString());
    AscanSettings s = sentinel();
    QCOMPARE(readRecord(path, s), 0);
    QCOMPARE(differingFields(s, sentinel()), QStringList());
}

void TestRecords::signatures_data()
{
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Z4170") << QByteArray("Z4170") << true;
    QTest::newRow("lower-case z") << QByteArray("z4170") << false;
    QTest::newRow("NUL as fifth byte") << QByteArray("Z417\0", 5) << false;
    QTest::newRow("NUL as first byte") << QByteArray("\0Z417", 5) << false;
    QTest::newRow("Z4171") << QByteArray("Z4171") << false;
    QTest::newRow("letter O for zero") << QByteArray("Z417O") << false;
    QTest::newRow("all NUL") << QByteArray(5, '\0') << false;
}

// readTitle checks the signature; readRecord does not look at it again.
void TestRecords::signatures()
{
    QFETCH(QByteArray, signature);
    QFETCH(bool, accepted);

    QCOMPARE(isModelSignature(signature.constData()), accepted);
    AscanFields ascan;
    ascan.signature = signature;
    const QByteArray bytes = buildAscan(ascan);
    const QString expected = accepted ? QStringLiteral("A-scan") : QString();
    QCOMPARE(titleFromBytes(bytes), expected);
    QCOMPARE(readTitle(fileWith(bytes)), expected);

    AscanSettings s = sentinel();
    QCOMPARE(recordFromBytes(bytes, s), 171);
    QCOMPARE(s.title, QStringLiteral("A-scan"));
}

void TestRecords::textFields_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");

    const QString cyrillic15 = QStringLiteral("абвгдеёжзийклмн");
    const QString fffd(QChar(0xFFFD));
    QTest::newRow("ASCII") << QByteArray("Weld 7") << QStringLiteral("Weld 7");
    QTest::newRow("31 bytes and NUL") << QByteArray(31, 'a') << QString(31, 'a');
    QTest::newRow("32 bytes without NUL") << QByteArray(32, 'b') << QString(31, 'b');
    QTest::newRow("NUL in byte 30, byte 31 set") << QByteArray(30, 'c') + '\0' + 'x' << QString(30, 'c');
    QTest::newRow("empty: starts with NUL") << QByteArray("\0title", 6) << QString();
    QTest::newRow("empty: all NUL") << QByteArray(32, '\0') << QString();
    QTest::newRow("text after NUL ignored") << QByteArray("ab\0cd", 5) << QStringLiteral("ab");
    QTest::newRow("Cyrillic") << QStringLiteral("Сварной шов №3").toUtf8() << QStringLiteral("Сварной шов №3");
    QTest::newRow("Cyrillic, 2-byte letter cut") << (cyrillic15 + QStringLiteral("о")).toUtf8()
                                                  << cyrillic15 + fffd;
    QTest::newRow("3-byte euro sign cut") << QByteArray(29, 'e') + "\xE2\x82\xAC" << QString(29, 'e') + fffd;
    QTest::newRow("4-byte sequence cut") << QByteArray(28, 'f') + "\xF0\x9F\x98\x80" << QString(28, 'f') + fffd;
    QTest::newRow("4-byte sequence cut after 2") << QByteArray(29, 'g') + "\xF0\x9F" << QString(29, 'g') + fffd;
    QTest::newRow("euro sign complete at the end") << QByteArray(28, 'h') + "\xE2\x82\xAC" << QString(28, 'h') + QChar(0x20AC);
    // Not the start of any character: each byte is replaced.
    QTest::newRow("overlong E0 80 at the end") << QByteArray(29, 'i') + "\xE0\x80" << QString(29, 'i') + fffd + fffd;
    QTest::newRow("surrogate ED A0 at the end") << QByteArray(29, 'j') + "\xED\xA0" << QString(29, 'j') + fffd + fffd;
    QTest::newRow("stray FF byte") << QByteArray("a\xFF" "b") << QStringLiteral("a") + fffd + QStringLiteral("b");
}

// The title and the configuration name are both text fields.
void TestRecords::textFields()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);

    AscanFields ascan;
    ascan.title = field;
    ascan.configurationName = field;
    const QByteArray bytes = buildAscan(ascan);
    QCOMPARE(titleFromBytes(bytes), text);
    QCOMPARE(readTitle(fileWith(bytes)), text);

    AscanSettings s = sentinel();
    QCOMPARE(readRecord(fileWith(bytes), s), 171);
    QCOMPARE(s.title, text);
    QCOMPARE(s.configurationName, text);
}

void TestRecords::segmentLengths_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("size");     // -1: the whole file with its picture
    QTest::addColumn<bool>("titled");
    QTest::addColumn<int>("record");

    QTest::newRow("44 bytes, L = 7") << 7 << 44 << false << 0;
    QTest::newRow("44 bytes, L = 755") << 755 << 44 << false << 0;
    QTest::newRow("45 bytes, L = 7") << 7 << 45 << true << 0;
    QTest::newRow("L = 752, long file") << 752 << -1 << true << 0;
    QTest::newRow("L = 753, 758 bytes") << 753 << 758 << true << 0;
    QTest::newRow("L = 753, 759 bytes") << 753 << 759 << true << 171;
    QTest::newRow("L = 753, long file") << 753 << -1 << true << 171;
    QTest::newRow("L = 755, 760 bytes") << 755 << 760 << true << 0;
    QTest::newRow("L = 755, 761 bytes") << 755 << 761 << true << 171;
    QTest::newRow("L = 755, long file") << 755 << -1 << true << 171;
}

void TestRecords::segmentLengths()
{
    QFETCH(int, length);
    QFETCH(int, size);
    QFETCH(bool, titled);
    QFETCH(int, record);

    AscanFields ascan;
    ascan.segmentLength = length;
    ascan.truncateAt = size;
    const QByteArray bytes = buildAscan(ascan);
    const QString path = fileWith(bytes);
    QCOMPARE(readTitle(path), titled ? QStringLiteral("A-scan") : QString());
    AscanSettings s = sentinel();
    QCOMPARE(readRecord(path, s), record);
    QCOMPARE(recordFromBytes(bytes, s), record);
    QCOMPARE(s.dateText, record ? QStringLiteral("15:06:2026") : sentinel().dateText);
}

void TestRecords::markerBytes_data()
{
    QTest::addColumn<QByteArray>("first4");
    QTest::newRow("SOI and APP1") << QByteArray("\xFF\xD8\xFF\xE1");
    QTest::newRow("SOI and APP0") << QByteArray("\xFF\xD8\xFF\xE0");
    QTest::newRow("zeros") << QByteArray(4, '\0');
    QTest::newRow("all FF") << QByteArray(4, '\xFF');
    QTest::newRow("GIF8, no JPEG") << QByteArray("GIF8");
    QTest::newRow("PNG start") << QByteArray("\x89PNG");
}

void TestRecords::markerBytes()
{
    QFETCH(QByteArray, first4);

    AscanSettings reference = sentinel();
    QCOMPARE(recordFromBytes(validFile(), reference), 171);

    const QByteArray bytes = first4 + validFile().mid(4);
    const QString path = fileWith(bytes);
    QCOMPARE(readTitle(path), QStringLiteral("A-scan"));
    AscanSettings s = sentinel();
    QCOMPARE(readRecord(path, s), 171);
    QCOMPARE(differingFields(s, reference), QStringList());
}

void TestRecords::enumerationTexts_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    for (int offset : {119, 120}) {
        const char *name = offset == 119 ? "strobe" : "cursor";
        QTest::addRow("%s 0", name) << offset << 0 << "on";
        QTest::addRow("%s 1", name) << offset << 1 << "off";
        QTest::addRow("%s 2", name) << offset << 2 << "on";
        QTest::addRow("%s 255", name) << offset << 255 << "on";
    }
    QTest::newRow("discreteness 0") << 121 << 0 << "0.1";
    QTest::newRow("discreteness 1") << 121 << 1 << "1";
    QTest::newRow("discreteness 255") << 121 << 255 << "1";
    QTest::newRow("scale 0") << 122 << 0 << "mm depth";
    QTest::newRow("scale 1") << 122 << 1 << "µs";
    QTest::newRow("scale 2") << 122 << 2 << "mm path";
    QTest::newRow("scale 3") << 122 << 3 << "";
    QTest::newRow("scale 255") << 122 << 255 << "";
    const char *const frequencies[] = {"0.5", "0.8", "1.0", "1.25", "1.5", "1.8", "2.0", "2.25",
                                       "2.5", "3.5", "4.0", "5.0", "6.0", "7.5", "10.0", "15.0"};
    for (int index = 0; index < 16; ++index)
        QTest::addRow("frequency %d", index) << 161 << index << frequencies[index];
    QTest::newRow("frequency 16") << 161 << 16 << "";
    QTest::newRow("frequency 255") << 161 << 255 << "";
}

// Through decodeSettings and through the text function of the field alike.
void TestRecords::enumerationTexts()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(QString, text);

    const AscanSettings s = decodedBlock(settingsBlock(offset, QByteArray(1, char(value))));
    const quint8 byte = quint8(value);
    switch (offset) {
    case 119: QCOMPARE(s.strobe, text); QCOMPARE(switchText(byte), text); break;
    case 120: QCOMPARE(s.cursor, text); QCOMPARE(switchText(byte), text); break;
    case 121: QCOMPARE(s.discreteness, text); break;
    case 122: QCOMPARE(s.scale, text); QCOMPARE(scaleText(byte), text); break;
    case 161: QCOMPARE(s.frequency, text); QCOMPARE(frequencyText(byte), text); break;
    default: QFAIL("no field at this offset");
    }
}

void TestRecords::decodedNumbers_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");

    QTest::newRow("angle FF FF is unsigned") << 162 << QByteArray("\xFF\xFF") << "probeAngle" << 6553.5;
    QTest::newRow("angle 45.0") << 162 << QByteArray("\xC2\x01") << "probeAngle" << 45.0;
    QTest::newRow("delay FF FF is signed") << 164 << QByteArray("\xFF\xFF") << "delay" << f32(-0.1);
    QTest::newRow("delay 00 80") << 164 << QByteArray("\x00\x80", 2) << "delay" << f32(-3276.8);
    QTest::newRow("reference 85 FF") << 134 << QByteArray("\x85\xFF") << "referenceLevel" << f32(-12.3);
    QTest::newRow("reference switch 0: in use") << 133 << QByteArray(1, '\0') << "referenceOn" << 1.0;
    QTest::newRow("reference switch 1: off") << 133 << QByteArray("\x01") << "referenceOn" << 0.0;
    QTest::newRow("reference switch 255: off") << 133 << QByteArray("\xFF") << "referenceOn" << 0.0;
    QTest::newRow("monitor FF FF, whole dB") << 138 << QByteArray("\xFF\xFF") << "examinationMonitor" << -1.0;
    QTest::newRow("monitor 00 80") << 138 << QByteArray("\x00\x80", 2) << "examinationMonitor" << -32768.0;
    QTest::newRow("reporting F6 FF") << 140 << QByteArray("\xF6\xFF") << "reportingLevel" << -10.0;
    QTest::newRow("roughness FF FF") << 142 << QByteArray("\xFF\xFF") << "correctionRoughness" << -0.1;
    QTest::newRow("standard E8 03") << 144 << QByteArray("\xE8\x03") << "correctionStandard" << 100.0;
    QTest::newRow("thickness mm 39 30 00") << 152 << QByteArray("\x39\x30\x00", 3) << "thicknessMm" << 123.45;
    QTest::newRow("thickness inch 39 30 00") << 155 << QByteArray("\x39\x30\x00", 3) << "thicknessInch" << 123.45;
    QTest::newRow("thickness mm FF FF FF") << 152 << QByteArray("\xFF\xFF\xFF") << "thicknessMm" << 167772.15;
    const QByteArray thickness("\x39\x30\x00\x39\x30\x00", 6);
    QTest::newRow("thickness off: mm") << 152 << thickness + '\x01' << "thicknessMm" << -1.0;
    QTest::newRow("thickness off: inch") << 152 << thickness + '\x01' << "thicknessInch" << -1.0;
    QTest::newRow("thickness switch 0") << 152 << thickness + '\0' << "thicknessMm" << 123.45;
    QTest::newRow("thickness switch 2") << 152 << thickness + '\x02' << "thicknessInch" << 123.45;
    QTest::newRow("probe type 1: dual") << 160 << QByteArray("\x01") << "dualProbe" << 1.0;
    QTest::newRow("probe type 0: single") << 160 << QByteArray(1, '\0') << "dualProbe" << 0.0;
    QTest::newRow("probe type 2: single") << 160 << QByteArray("\x02") << "dualProbe" << 0.0;
    QTest::newRow("unit system 1") << 123 << QByteArray("\x01") << "unitSystem" << 1.0;
    QTest::newRow("unit system 255") << 123 << QByteArray("\xFF") << "unitSystem" << 255.0;
}

void TestRecords::decodedNumbers()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(double, value);

    AscanSettings s = sentinel();
    const QByteArray block = settingsBlock(offset, bytes);
    QCOMPARE(decodeSettings(reinterpret_cast<const uchar *>(block.constData()), s), 171);
    // Exact comparison: the fields must hold precisely these numbers.
    const double decoded = numberField(s, field);
    QVERIFY2(decoded == value, qPrintable(QStringLiteral("%1 is %2, expected %3")
                                              .arg(field).arg(decoded, 0, 'g', 17).arg(value, 0, 'g', 17)));
}

void TestRecords::acceptanceLevel_data()
{
    QTest::addColumn<int>("standard");    // raw s16, 0.1 dB
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("roughness");
    QTest::addColumn<bool>("inUse");      // reference level switch
    QTest::addColumn<float>("level");

    QTest::newRow("2.0 + 40.0 - 1.5") << 20 << 400 << 15 << true << 40.5f;
    // 0.1f + 0.2f rounds to exactly 0.3f, so the single-precision result is 0; in double
    // precision the same sum leaves about 3e-9, which rounds to 0x314CCCCD.
    QTest::newRow("0.1 + 0.2 - 0.3") << 1 << 2 << 3 << true << 0.0f;
    // 0.1f + 0.1f - 0.3f = -0.100000008940697 exactly (0xBDCCCCCE); double gives 0xBDCCCCCD.
    QTest::newRow("0.1 + 0.1 - 0.3") << 1 << 1 << 3 << true << floatFromBits(0xBDCCCCCEu);
    QTest::newRow("reference off: still computed") << -5 << -50 << 0 << false << -5.5f;
}

void TestRecords::acceptanceLevel()
{
    QFETCH(int, standard);
    QFETCH(int, reference);
    QFETCH(int, roughness);
    QFETCH(bool, inUse);
    QFETCH(float, level);

    const auto s16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); };
    QByteArray block = settingsBlock(133, QByteArray(1, inUse ? '\0' : '\x01') + s16(reference));
    block.replace(142, 2, s16(roughness) + s16(standard));
    const AscanSettings s = decodedBlock(block);
    QCOMPARE(s.referenceOn, inUse);
    quint32 got, expected;
    std::memcpy(&got, &s.acceptanceLevel, 4);
    std::memcpy(&expected, &level, 4);
    QCOMPARE(QString::number(got, 16), QString::number(expected, 16));
}

void TestRecords::dateTime_data()
{
    QTest::addColumn<QVector<int>>("values");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");

    QTest::newRow("one digit padded") << QVector<int>{7, 5, 3, 12, 124} << "07:05" << "03:12:2024";
    QTest::newRow("zeros") << QVector<int>{0, 0, 0, 0, 0} << "00:00" << "00:00:1900";
    QTest::newRow("9 padded, 10 not") << QVector<int>{9, 10, 10, 9, 99} << "09:10" << "10:09:1999";
    QTest::newRow("three digits stay") << QVector<int>{123, 59, 31, 123, 1} << "123:59" << "31:123:1901";
    QTest::newRow("all 65535") << QVector<int>{65535, 65535, 65535, 65535, 65535}
                               << "65535:65535" << "65535:65535:67435";
}

void TestRecords::dateTime()
{
    QFETCH(QVector<int>, values);
    QFETCH(QString, time);
    QFETCH(QString, date);

    uchar block[Ascan::DateTimeBlockSize];
    for (int i = 0; i < 5; ++i) {
        block[2 * i] = uchar(values[i] & 0xFF);
        block[2 * i + 1] = uchar(values[i] >> 8);
    }
    AscanSettings s = sentinel();
    QCOMPARE(decodeDateTime(block, s), 10);
    QCOMPARE(s.timeText, time);
    QCOMPARE(s.dateText, date);
    s.timeText = sentinel().timeText;
    s.dateText = sentinel().dateText;
    QCOMPARE(differingFields(s, sentinel()), QStringList());
}

// Defaults, and texts translated at the moment of decoding, not of showing.
void TestRecords::resetAndTranslation()
{
    AscanSettings s = sentinel();
    resetSettings(s);
    // The documented defaults; unitSystem has none.
    const AscanSettings defaults{"", "", "", "", true, "", 0.0f, float(0.7), 10.0, 4.0, "", "1",
                                 "on", "off", 0.0f, false, -12, -6, 0.0f, 0.0, 0.0, s.unitSystem};
    QCOMPARE(differingFields(s, defaults), QStringList());

    QTranslator russian;
    QVERIFY(russian.load(QStringLiteral(SCANLET_BIN_DIR "/scanlet_ru.qm")));
    QVERIFY(QCoreApplication::installTranslator(&russian));
    const QString on = QCoreApplication::translate("CDataManager", "on");
    const QString off = QCoreApplication::translate("CDataManager", "off");
    const QString microseconds = QCoreApplication::translate("CDataManager", "µs");
    QVERIFY(on != QLatin1String("on") && off != QLatin1String("off"));
    QVERIFY(microseconds != QStringLiteral("µs"));
    resetSettings(s);
    QCOMPARE(s.cursor, on);
    QCOMPARE(s.strobe, off);
    AscanSettings decoded = s;
    QByteArray block = settingsBlock(119, QByteArray("\x01\x00\x01\x01", 4)); // strobe, cursor, discreteness, scale
    QCOMPARE(decodeSettings(reinterpret_cast<const uchar *>(block.constData()), decoded), 171);
    QCOMPARE(switchText(0), on);
    QCOMPARE(scaleText(1), microseconds);
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(decoded.strobe, off);
    QCOMPARE(decoded.cursor, on);
    QCOMPARE(decoded.scale, microseconds);
    QCOMPARE(switchText(1), QStringLiteral("off"));
}

void TestRecords::bytesRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("title");       // readTitle, else readRecord
    QTest::addColumn<qint64>("expected");

    const QByteArray large = validFile() + QByteArray(200000, '\x55');
    QTest::newRow("title of a large file") << large << true << qint64(45);
    QTest::newRow("title, wrong signature") << QByteArray(large).replace(8, 1, "z") << true << qint64(45);
    QTest::newRow("title, L = 6 stops after the header") << withLength(large, 6) << true << qint64(6);
    QTest::newRow("title of a 44-byte file") << large.left(44) << true << qint64(44);
    QTest::newRow("record, L = 755") << large << false << qint64(6 + 755);
    QTest::newRow("record, L = 0xFFFF") << withLength(large, 0xFFFF) << false << qint64(6 + 0xFFFF);
    QTest::newRow("record, L = 752 stops after the header") << withLength(large, 752) << false << qint64(6);
}

// Bytes read are time on the instrument's slow link: the readers read only what they need.
void TestRecords::bytesRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, title);
    QFETCH(qint64, expected);

    const QString path = fileWith(bytes);
    AscanSettings s;
    const IoSample before = sampleIo();
    if (before.rchar < 0)
        QSKIP("/proc/self/io is not available");
    if (title)
        readTitle(path);
    else
        readRecord(path, s);
    const IoSample after = sampleIo();
    QCOMPARE(after.rchar - before.rchar - before.ownBytes, expected);
}

void TestRecords::fuzzCrashes_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(SCANLET_TEST_DATA "/fuzz-crashes"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty()); // at least its README
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

// Every input the fuzzer ever crashed on, through all four readers; file and byte readers agree.
void TestRecords::fuzzCrashes()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    QCOMPARE(readTitle(path), titleFromBytes(bytes));
    AscanSettings fromFile = sentinel();
    AscanSettings fromBytes = sentinel();
    QCOMPARE(readRecord(path, fromFile), recordFromBytes(bytes, fromBytes));
    QCOMPARE(differingFields(fromFile, fromBytes), QStringList());
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
