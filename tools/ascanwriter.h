#ifndef ASCANWRITER_H
#define ASCANWRITER_H

#include <QByteArray>
#include <QImage>
#include <QString>

// Plain values of one A-scan file, written byte by byte by buildAscan. Raw units as the
// instrument stores them (tenths of dB, hundredths of mm, ...).
struct AscanFields
{
    QByteArray soi = QByteArray("\xFF\xD8", 2);
    QByteArray marker = QByteArray("\xFF\xE1", 2);
    int segmentLength = 755;             // written big-endian at offset 4
    QByteArray signature = "Z4170";      // 5 bytes at offset 8 (shorter is NUL-padded)
    QByteArray title = "A-scan";         // raw bytes of the 32-byte field at 13 (cut to 32)
    QByteArray configurationName = "Weld 12 mm";

    quint8 strobeSwitch = 1, cursorSwitch = 0;          // 1 = off
    quint8 discreteness = 0, scaleMode = 0;
    quint8 unitSystem = 0, referenceSwitch = 1;         // 1 = inch; 0 = reference level in use
    qint16 referenceLevel = 0;                          // 0.1 dB
    qint16 examinationMonitor = -12, reportingLevel = -6;
    qint16 correctionRoughness = 0, correctionStandard = 0; // 0.1 dB
    qint16 velocityMetric = 5920, velocityImperial = 2330;
    quint32 thicknessMm = 1000, thicknessInch = 39;     // 0.01 mm and 0.01 inch, 24 bits
    quint8 thicknessSwitch = 0, probeType = 0;          // 1 = off; 1 = dual
    quint8 frequencyIndex = 11;
    quint16 probeAngle = 450;                           // 0.1 degree
    qint16 delay = 7;                                   // 0.1 µs
    qint16 xMetric = 0, xImperial = 0;
    quint16 time[2] = {12, 30}, date[2] = {15, 6}, yearSince1900 = 126;

    bool appendPicture = true;           // a real JPEG picture after the segment
    QImage picture;                      // null: a plain 240 x 320 picture
    int truncateAt = -1;                 // cut the file to this many bytes
};

namespace AscanLayout {
constexpr int HeaderEnd = 759;           // first byte after the date-time block
constexpr int Title = 13;
constexpr int Settings = 578;
constexpr int DateTime = 749;
}

QByteArray buildAscan(const AscanFields &ascan);
bool writeAscan(const QString &path, const AscanFields &ascan);
bool writeBytes(const QString &path, const QByteArray &bytes);

// A JPEG of the picture.
QByteArray encodeJpeg(const QImage &image, int quality = 80);
// A picture of the instrument's screen: grid, A-scan trace, gates and a readout line.
QImage instrumentScreen(int seed, const QString &readout);

#endif // ASCANWRITER_H
