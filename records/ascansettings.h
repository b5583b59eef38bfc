#ifndef ASCANSETTINGS_H
#define ASCANSETTINGS_H

#include <QString>
#include <QtGlobal>

// Decoded settings of one A-scan, already in display units and texts.
struct AscanSettings
{
    QString title;
    QString configurationName;
    QString timeText;
    QString dateText;
    bool dualProbe = true;
    QString frequency;
    float probeAngle = 0.0f;
    float delay = 0.7f;
    double thicknessMm = 10.0;   // -1 when thickness is off
    double thicknessInch = 4.0;  // -1 when thickness is off
    QString scale;
    QString discreteness;
    QString cursor;
    QString strobe;
    float referenceLevel = 0.0f;
    bool referenceOn = false;
    qint16 examinationMonitor = -12;
    qint16 reportingLevel = -6;
    float acceptanceLevel = 0.0f;
    double correctionStandard = 0.0;
    double correctionRoughness = 0.0;
    qint32 unitSystem = 0;       // 1 = inch; only decodeSettings gives it a meaning
};

namespace Ascan {
constexpr int SettingsBlockSize = 171;
constexpr int DateTimeBlockSize = 10;
}

void resetSettings(AscanSettings &settings);
int decodeSettings(const uchar *block, AscanSettings &settings);
int decodeDateTime(const uchar *block, AscanSettings &settings);
QString switchText(quint8 value);
QString scaleText(quint8 mode);
QString frequencyText(quint8 index);

#endif // ASCANSETTINGS_H
