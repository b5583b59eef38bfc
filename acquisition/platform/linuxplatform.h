#ifndef LINUXPLATFORM_H
#define LINUXPLATFORM_H

#include <QStringList>
#include <QVector>

#include "acquisition/instrumentplatform.h"
#include "acquisition/platform/mountinfo.h"

// Disks from <sysRoot>/block, drives from the mount table, each mount's MAJ:MIN resolved
// through <sysRoot>/dev/block to its disk. Both roots are parameters so tests use fake trees.
class LinuxInstrumentPlatform : public InstrumentPlatform
{
public:
    LinuxInstrumentPlatform(const QString &sysRoot, const QString &mountInfoPath);

    bool openDiskList() override;
    void closeDiskList() override;
    bool diskAt(int index) override;
    bool readDiskDescriptor(int index, QByteArray &descriptor) override;
    QStringList driveRoots() override;
    int diskNumber(int index) override;
    VolumeDevice volumeDevice(const QString &drive) override;
    bool rootPresent(const QString &root) override;
    // The MAJ:MIN of the block device mounted there last.
    QString rootIdentity(const QString &root) override;

    // The disk (a /sys/block name) that holds the block device MAJ:MIN, or empty.
    QString diskOfDevice(const QString &majorMinor) const;
    QStringList presentDisks() const;

private:
    QVector<MountEntry> mounts() const;
    int diskIndexOfDrive(const QString &drive);

    QString sysRoot;
    QString mountInfoPath;
    QStringList disks;
    QVector<MountEntry> snapshot;  // the mount table as driveRoots() last read it
};

QString mountPointOfDrive(const QString &drive);
QString rootOfMountPoint(const QString &mountPoint);

#endif // LINUXPLATFORM_H
