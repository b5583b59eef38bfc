#include "instrumentdetection.h"

#include <QDir>

#include "acquisition/instrumentplatform.h"
#include "records/globals.h"

bool descriptorNamesInstrument(QByteArray descriptor)
{
    descriptor.replace('\0', '_');
    return QString::fromUtf8(descriptor).contains(instrumentVendorId, Qt::CaseInsensitive);
}

bool findInstrumentDisk(InstrumentPlatform &platform, int *diskNumber)
{
    for (int index = 0; platform.diskAt(index); ++index) {
        QByteArray descriptor(DescriptorSize, '\0');
        if (!platform.readDiskDescriptor(index, descriptor))
            continue;
        if (descriptorNamesInstrument(descriptor)) {
            *diskNumber = platform.diskNumber(index);
            return *diskNumber >= 0;
        }
    }
    return false;
}

DetectionResult detectInstrumentRoot(InstrumentPlatform &platform, QString &devicePath)
{
    devicePath.clear();
    if (!platform.openDiskList())
        return DetectionResult::DiskListUnavailable;
    int diskNumber = -1;
    bool found = false;
    if (findInstrumentDisk(platform, &diskNumber)) {
        const QStringList roots = platform.driveRoots();
        // Walked from the last: among several drives of the disk the last one wins.
        for (int i = roots.size() - 1; i >= 0 && !found; --i) {
            if (roots.at(i).isEmpty())
                continue;
            const QString drive = roots.at(i).chopped(1);
            const VolumeDevice volume = platform.volumeDevice(drive);
            if (volume.isDisk && volume.number == diskNumber) {
                devicePath = drive + QDir::separator();
                found = true;
            }
        }
    }
    platform.closeDiskList();
    return found ? DetectionResult::Found : DetectionResult::NotFound;
}
