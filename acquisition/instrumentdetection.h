#ifndef INSTRUMENTDETECTION_H
#define INSTRUMENTDETECTION_H

#include <QString>

class InstrumentPlatform;

constexpr int DescriptorSize = 256;

// True when the descriptor bytes, NULs shown as "_", contain the vendor id in any letter case.
bool descriptorNamesInstrument(QByteArray descriptor);

// The first disk in the system's list whose descriptor names the instrument.
bool findInstrumentDisk(InstrumentPlatform &platform, int *diskNumber);

enum class DetectionResult { Found, NotFound, DiskListUnavailable };

// Finds the instrument's drive; on success `devicePath` is its root (drive name followed by the
// native separator). `devicePath` is emptied first and set only on success.
DetectionResult detectInstrumentRoot(InstrumentPlatform &platform, QString &devicePath);

#endif // INSTRUMENTDETECTION_H
