// Writes the seed corpus of the records fuzzer: valid A-scan settings segments without their
// picture (at least 759 bytes, so that mutations reach the settings and date blocks) and a few
// cut ones. Usage: makeseeds <folder>
#include <QDir>
#include <QString>

#include <cstdio>

#include "ascanbuilder.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    AscanFields base;
    base.appendPicture = false;
    int failures = 0;
    const auto write = [&](const char *name, AscanFields ascan, int extra = 0) {
        QByteArray bytes = buildAscan(ascan);
        bytes.append(QByteArray(extra, '\0'));
        if (!writeBytes(folder.filePath(QString::fromLatin1(name)), bytes))
            ++failures;
    };

    // L = 755 needs the two bytes behind the segment as well.
    write("valid-default", base, 2);
    AscanFields s = base;
    s.segmentLength = 753;
    write("valid-length-753", s);
    s = base;
    s.title = QString::fromUtf8("Сварной шов №3").toUtf8();
    s.configurationName = QString::fromUtf8("Труба 32 мм").toUtf8();
    write("valid-cyrillic", s, 2);
    s = base;
    s.title = QByteArray(32, 'T');
    s.configurationName = QByteArray(32, 'C');
    write("valid-full-text-fields", s, 2);
    s = base;
    s.referenceSwitch = 0;
    s.referenceLevel = 400;
    s.correctionStandard = 20;
    s.correctionRoughness = 15;
    s.strobeSwitch = 0;
    s.reportingLevel = -10;
    s.examinationMonitor = -16;
    write("valid-reference-strobe", s, 2);
    s = base;
    s.unitSystem = 1;
    s.thicknessInch = 78;
    s.scaleMode = 1;
    s.discreteness = 1;
    s.probeType = 1;
    s.frequencyIndex = 3;
    write("valid-inch-dual", s, 2);
    s = base;
    s.thicknessSwitch = 1;
    s.cursorSwitch = 1;
    s.scaleMode = 2;
    s.frequencyIndex = 15;
    write("valid-thickness-off", s, 2);
    s = base;
    s.probeAngle = 0xFFFF;
    s.delay = -1;
    s.thicknessMm = 0xFFFFFF;
    s.referenceLevel = -32768;
    s.frequencyIndex = 255;
    s.scaleMode = 3;
    write("valid-extremes", s, 2);
    s = base;
    s.time[0] = 7;
    s.time[1] = 5;
    s.date[0] = 3;
    s.date[1] = 12;
    s.yearSince1900 = 124;
    write("valid-date-padding", s, 2);
    s = base;
    s.segmentLength = 1200;
    write("valid-long-segment", s, 2);
    s = base;
    s.soi = QByteArray(2, '\0');
    s.marker = "GI";
    write("valid-no-jpeg-marker", s, 2);

    s = base;
    s.truncateAt = 45;
    write("cut-after-title", s);
    s.truncateAt = 600;
    write("cut-in-settings", s);
    s.truncateAt = 758;
    write("cut-in-date", s);
    s = base;
    s.segmentLength = 752;
    write("length-752", s, 2);
    return failures == 0 ? 0 : 1;
}
