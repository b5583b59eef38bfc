#include "ascansettings.h"

#include <QCoreApplication>

#include "records/ascanfile.h"
#include "records/texts.h"

namespace {


quint16 u16At(const uchar *p, int offset)
{
    return quint16(p[offset] | (p[offset + 1] << 8));
}

qint16 s16At(const uchar *p, int offset)
{
    return qint16(u16At(p, offset));
}

quint32 u24At(const uchar *p, int offset)
{
    return quint32(p[offset]) | (quint32(p[offset + 1]) << 8) | (quint32(p[offset + 2]) << 16);
}

// At least two digits ("07", "2024"), written at `p`; returns the end.
char *twoDigits(char *p, quint32 value)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0);
    if (count == 1)
        *p++ = '0';
    while (count > 0)
        *p++ = digits[--count];
    return p;
}

} // namespace

void resetSettings(AscanSettings &settings)
{
    const qint32 unitSystem = settings.unitSystem; // has no default of its own
    settings = AscanSettings();
    settings.unitSystem = unitSystem;
    settings.discreteness = Texts::translate("CDataManager", "1");
    settings.cursor = Texts::translate("CDataManager", "on");
    settings.strobe = Texts::translate("CDataManager", "off");
}

QString switchText(quint8 value)
{
    return value == 1 ? Texts::translate("CDataManager", "off") : Texts::translate("CDataManager", "on");
}

QString scaleText(quint8 mode)
{
    switch (mode) {
    case 0: return Texts::translate("CDataManager", "mm depth");
    case 1: return Texts::translate("CDataManager", "µs");
    case 2: return Texts::translate("CDataManager", "mm path");
    default: return QString();
    }
}

QString frequencyText(quint8 index)
{
    static const char *const texts[] = {
        QT_TRANSLATE_NOOP("CDataManager", "0.5"),  QT_TRANSLATE_NOOP("CDataManager", "0.8"),
        QT_TRANSLATE_NOOP("CDataManager", "1.0"),  QT_TRANSLATE_NOOP("CDataManager", "1.25"),
        QT_TRANSLATE_NOOP("CDataManager", "1.5"),  QT_TRANSLATE_NOOP("CDataManager", "1.8"),
        QT_TRANSLATE_NOOP("CDataManager", "2.0"),  QT_TRANSLATE_NOOP("CDataManager", "2.25"),
        QT_TRANSLATE_NOOP("CDataManager", "2.5"),  QT_TRANSLATE_NOOP("CDataManager", "3.5"),
        QT_TRANSLATE_NOOP("CDataManager", "4.0"),  QT_TRANSLATE_NOOP("CDataManager", "5.0"),
        QT_TRANSLATE_NOOP("CDataManager", "6.0"),  QT_TRANSLATE_NOOP("CDataManager", "7.5"),
        QT_TRANSLATE_NOOP("CDataManager", "10.0"), QT_TRANSLATE_NOOP("CDataManager", "15.0"),
    };
    return index < 16 ? Texts::translate("CDataManager", texts[index]) : QString();
}

/*
    SettingsBlock, 171 bytes (file offset 578); little-endian; unlisted bytes unused.
      0  32  text  configuration name
    119   1  u8    multilevel strobe   1 = off
    120   1  u8    cursor              1 = off
    121   1  u8    discreteness        0 = "0.1", else "1"
    122   1  u8    scale mode          0 mm depth, 1 µs, 2 mm path
    123   1  u8    unit system         1 = inch
    133   1  u8    reference switch    0 = in use
    134   2  s16   reference level     0.1 dB
    138   2  s16   examination monitor dB
    140   2  s16   reporting level     dB
    142   2  s16   roughness corr.     0.1 dB
    144   2  s16   standard corr.      0.1 dB
    152   3  u24   thickness mm        0.01 mm
    155   3  u24   thickness inch      0.01 inch
    158   1  u8    thickness switch    1 = off
    160   1  u8    probe type          1 = dual
    161   1  u8    frequency index     0..15
    162   2  u16   probe angle         0.1 degree
    164   2  s16   delay               0.1 µs
*/
int decodeSettings(const uchar *block, AscanSettings &s)
{
    s.configurationName = textField32(reinterpret_cast<const char *>(block));
    s.strobe = switchText(block[119]);
    s.cursor = switchText(block[120]);
    s.discreteness = block[121] != 0 ? Texts::translate("CDataManager", "1") : Texts::translate("CDataManager", "0.1");
    s.scale = scaleText(block[122]);
    s.unitSystem = block[123];
    s.referenceOn = block[133] == 0;
    s.referenceLevel = float(s16At(block, 134) / 10.0);
    s.examinationMonitor = s16At(block, 138);
    s.reportingLevel = s16At(block, 140);
    s.correctionRoughness = s16At(block, 142) / 10.0;
    s.correctionStandard = s16At(block, 144) / 10.0;
    s.thicknessMm = u24At(block, 152) / 100.0;
    s.thicknessInch = u24At(block, 155) / 100.0;
    if (block[158] == 1) {
        s.thicknessMm = -1;
        s.thicknessInch = -1;
    }
    s.dualProbe = block[160] == 1;
    s.frequency = frequencyText(block[161]);
    s.probeAngle = float(u16At(block, 162) / 10.0);
    s.delay = float(s16At(block, 164) / 10.0);
    // The instrument computes the acceptance level in single precision.
    const float standard = float(s.correctionStandard);
    const float roughness = float(s.correctionRoughness);
    const float sum = standard + s.referenceLevel;
    s.acceptanceLevel = sum - roughness;
    return Ascan::SettingsBlockSize;
}

/*
    DateTimeBlock, 10 bytes (file offset 749), five u16 little-endian:
      0 time first   2 time second   4 date first   6 date second   8 year - 1900
*/
int decodeDateTime(const uchar *block, AscanSettings &s)
{
    // Written by hand: formatting through QString::arg cost as much as reading the file.
    char text[32];
    char *end = twoDigits(text, u16At(block, 0));
    *end++ = ':';
    end = twoDigits(end, u16At(block, 2));
    s.timeText = QString::fromLatin1(text, int(end - text));
    end = twoDigits(text, u16At(block, 4));
    *end++ = ':';
    end = twoDigits(end, u16At(block, 6));
    *end++ = ':';
    end = twoDigits(end, u16At(block, 8) + 1900u);
    s.dateText = QString::fromLatin1(text, int(end - text));
    return Ascan::DateTimeBlockSize;
}
