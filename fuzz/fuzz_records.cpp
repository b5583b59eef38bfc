// libFuzzer target: arbitrary bytes through the A-scan readers, the decoders, the table rows and
// the bounded picture loading.
#include <QByteArray>
#include <QtGlobal>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "records/ascanfile.h"
#include "records/ascanpicture.h"
#include "records/ascansettings.h"
#include "records/settingsrows.h"

namespace {

// A heap copy of exactly `size` bytes, so that AddressSanitizer sees any read past a block.
std::unique_ptr<uchar[]> exactCopy(const uint8_t *data, size_t size)
{
    std::unique_ptr<uchar[]> copy(new uchar[size]);
    std::memcpy(copy.get(), data, size);
    return copy;
}

bool sameFields(const AscanSettings &a, const AscanSettings &b)
{
    return a.title == b.title && a.configurationName == b.configurationName && a.timeText == b.timeText
        && a.dateText == b.dateText && a.dualProbe == b.dualProbe && a.frequency == b.frequency
        && a.probeAngle == b.probeAngle && a.delay == b.delay && a.thicknessMm == b.thicknessMm
        && a.thicknessInch == b.thicknessInch && a.scale == b.scale && a.discreteness == b.discreteness
        && a.cursor == b.cursor && a.strobe == b.strobe && a.referenceLevel == b.referenceLevel
        && a.referenceOn == b.referenceOn && a.examinationMonitor == b.examinationMonitor
        && a.reportingLevel == b.reportingLevel && a.acceptanceLevel == b.acceptanceLevel
        && a.correctionStandard == b.correctionStandard && a.correctionRoughness == b.correctionRoughness
        && a.unitSystem == b.unitSystem;
}

// A broken promise of the readers is a finding like a crash.
void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

// The JPEG decoder's warnings about broken pictures would flood the run's log.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: the readers must stay inside the fuzzer's own buffer.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));

    const QString title = titleFromBytes(bytes);

    AscanSettings before;
    resetSettings(before);
    AscanSettings settings = before;
    const int used = recordFromBytes(bytes, settings);
    check(used == 0 || used == Ascan::SettingsBlockSize);
    if (used == 0)
        check(sameFields(settings, before));     // a failed read leaves the record alone
    else if (!title.isEmpty())
        check(settings.title == title);          // both read the same field
    const QVector<SettingsRow> rows = settingsTableRows(settings);
    check(rows.size() >= 12 && rows.size() <= 17);

    // The decoders straight on the input, each on a block of its exact size.
    if (size >= size_t(Ascan::SettingsBlockSize)) {
        AscanSettings direct;
        resetSettings(direct);
        const auto block = exactCopy(data, Ascan::SettingsBlockSize);
        check(decodeSettings(block.get(), direct) == Ascan::SettingsBlockSize);
        const size_t dateEnd = size_t(Ascan::SettingsBlockSize + Ascan::DateTimeBlockSize);
        if (size >= dateEnd) {
            const auto dateTime = exactCopy(data + Ascan::SettingsBlockSize, Ascan::DateTimeBlockSize);
            check(decodeDateTime(dateTime.get(), direct) == Ascan::DateTimeBlockSize);
        }
        settingsTableRows(direct);
    }
    // The picture: refused, or decoded within the limits at the size asked.
    const JpegWork work = jpegWork(bytes);
    const int scans = work.scans;
    check(scans <= AscanPicture::MaxScans + 1);
    QSize declared;
    const QImage picture = decodeAscanPicture(bytes, QSize(80, 60), &declared);
    if (!picture.isNull()) {
        check(scans >= 1 && scans <= AscanPicture::MaxScans);
        const qint64 pixels = qint64(declared.width()) * declared.height();
        check(pixels <= AscanPicture::MaxPixels && pixels * work.scanComponents <= AscanPicture::MaxScanPixels);
        check(!work.progressive || pixels * work.frameComponents <= AscanPicture::MaxPixels);
        check(picture.width() <= 80 && picture.height() <= 60);
    }

    if (size >= size_t(Ascan::TextFieldSize)) {
        const auto field = exactCopy(data, Ascan::TextFieldSize);
        textField32(reinterpret_cast<const char *>(field.get()));
    }
    return 0;
}
