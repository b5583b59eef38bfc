// Writes the seed corpus of the records fuzzer: valid A-scan settings segments without their
// picture (at least 759 bytes, so that mutations reach the settings and date blocks) and a few
// cut ones. Usage: makeseeds <folder>
#include <QDir>

#include <cstdio>
#include <functional>

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

    using A = AscanFields &;
    // `extra` zero bytes are appended: L = 755 needs the two bytes behind the segment as well.
    const struct { const char *name; std::function<void(A)> change; int extra; } seeds[] = {
        {"valid-default", [](A) {}, 2},
        {"valid-length-753", [](A a) { a.segmentLength = 753; }, 0},
        {"valid-cyrillic", [](A a) { a.title = "Сварной шов №3"; a.configurationName = "Труба 32 мм"; }, 2},
        {"valid-full-text-fields", [](A a) {
             a.title = QByteArray(32, 'T'); a.configurationName = QByteArray(32, 'C'); }, 2},
        {"valid-reference-strobe", [](A a) {
             a.referenceSwitch = 0; a.referenceLevel = 400; a.correctionStandard = 20; a.correctionRoughness = 15;
             a.strobeSwitch = 0; a.reportingLevel = -10; a.examinationMonitor = -16; }, 2},
        {"valid-inch-dual", [](A a) {
             a.unitSystem = 1; a.thicknessInch = 78; a.scaleMode = 1; a.discreteness = 1; a.probeType = 1;
             a.frequencyIndex = 3; }, 2},
        {"valid-thickness-off", [](A a) {
             a.thicknessSwitch = 1; a.cursorSwitch = 1; a.scaleMode = 2; a.frequencyIndex = 15; }, 2},
        {"valid-extremes", [](A a) {
             a.probeAngle = 0xFFFF; a.delay = -1; a.thicknessMm = 0xFFFFFF; a.referenceLevel = -32768;
             a.frequencyIndex = 255; a.scaleMode = 3; }, 2},
        {"valid-date-padding", [](A a) {
             a.time[0] = 7; a.time[1] = 5; a.date[0] = 3; a.date[1] = 12; a.yearSince1900 = 124; }, 2},
        {"valid-long-segment", [](A a) { a.segmentLength = 1200; }, 2},
        {"valid-no-jpeg-marker", [](A a) { a.soi = QByteArray(2, '\0'); a.marker = "GI"; }, 2},
        {"cut-after-title", [](A a) { a.truncateAt = 45; }, 0},
        {"cut-in-settings", [](A a) { a.truncateAt = 600; }, 0},
        {"cut-in-date", [](A a) { a.truncateAt = 758; }, 0},
        {"length-752", [](A a) { a.segmentLength = 752; }, 2},
    };
    int failures = 0;
    for (const auto &seed : seeds) {
        AscanFields ascan;
        ascan.appendPicture = false;
        seed.change(ascan);
        const QByteArray bytes = buildAscan(ascan) + QByteArray(seed.extra, '\0');
        failures += writeBytes(folder.filePath(QString::fromLatin1(seed.name)), bytes) ? 0 : 1;
    }
    // Pictures for the bounded JPEG loading: plain, claiming a large size, progressive (grey and
    // colour), a flood of comments just past the limit, and arithmetic coding (its frame marker).
    const QPair<const char *, QByteArray> pictures[] = {
        {"picture-baseline", jpegClaiming(16, 16)},
        {"picture-claiming-4000", jpegClaiming(4000, 4000)},
        {"picture-progressive", progressiveJpeg(QSize(16, 16), 12)},
        {"picture-progressive-colour", progressiveJpeg(QSize(64, 64), 1, QImage::Format_RGB32)},
        {"picture-segment-flood", jpegClaiming(16, 16).insert(2, QByteArray("\xFF\xFE\0\x02", 4).repeated(40))},
        {"picture-arithmetic", jpegClaiming(16, 16).replace("\xFF\xC0", "\xFF\xC9")},
    };
    for (const auto &picture : pictures)
        failures += writeBytes(folder.filePath(QString::fromLatin1(picture.first)), picture.second) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
