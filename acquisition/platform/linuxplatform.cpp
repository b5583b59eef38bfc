#include "linuxplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquisition/instrumentdetection.h"

namespace {

bool appendFile(QByteArray &out, const QString &path, bool required)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return !required;
    out.append(file.read(DescriptorSize));
    out.append('\0');
    return true;
}

} // namespace

QString mountPointOfDrive(const QString &drive)
{
    return drive.isEmpty() ? QStringLiteral("/") : drive;
}

QString rootOfMountPoint(const QString &mountPoint)
{
    return mountPoint.endsWith(QLatin1Char('/')) ? mountPoint : mountPoint + QLatin1Char('/');
}

LinuxInstrumentPlatform::LinuxInstrumentPlatform(const QString &sysRoot, const QString &mountInfoPath)
    : sysRoot(sysRoot)
    , mountInfoPath(mountInfoPath)
{
}

QStringList LinuxInstrumentPlatform::presentDisks() const
{
    QStringList found;
    const QDir block(sysRoot + QStringLiteral("/block"));
    const QStringList names = block.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (QFileInfo(block.filePath(name) + QStringLiteral("/device")).isDir())
            found.append(name);
    }
    return found;
}

bool LinuxInstrumentPlatform::openDiskList()
{
    const QFileInfo block(sysRoot + QStringLiteral("/block"));
    if (!block.isDir() || !block.isReadable())
        return false;
    disks = presentDisks();
    snapshot.clear();
    return true;
}

void LinuxInstrumentPlatform::closeDiskList()
{
    disks.clear();
    snapshot.clear();
}

bool LinuxInstrumentPlatform::diskAt(int index)
{
    return index >= 0 && index < disks.size();
}

bool LinuxInstrumentPlatform::readDiskDescriptor(int index, QByteArray &descriptor)
{
    if (!diskAt(index))
        return false;
    const QString device = sysRoot + QStringLiteral("/block/") + disks.at(index) + QStringLiteral("/device/");
    QByteArray text;
    if (!appendFile(text, device + QStringLiteral("vendor"), true)
        || !appendFile(text, device + QStringLiteral("model"), false)
        || !appendFile(text, device + QStringLiteral("rev"), false)
        || !appendFile(text, device + QStringLiteral("inquiry"), false))
        return false;
    descriptor.fill('\0', DescriptorSize);
    descriptor.replace(0, qMin(text.size(), DescriptorSize), text.left(DescriptorSize));
    descriptor.resize(DescriptorSize);
    return true;
}

QVector<MountEntry> LinuxInstrumentPlatform::mounts() const
{
    return parseMountInfo(readMountInfo(mountInfoPath));
}

QStringList LinuxInstrumentPlatform::driveRoots()
{
    // The walk over the drives that follows asks about each of them: one reading of the table
    // serves them all and keeps the answers consistent.
    snapshot = mounts();
    QStringList roots;
    for (const MountEntry &mount : qAsConst(snapshot))
        roots.append(rootOfMountPoint(mount.mountPoint));
    return roots;
}

QString LinuxInstrumentPlatform::diskOfDevice(const QString &majorMinor) const
{
    const QString resolved = QFileInfo(sysRoot + QStringLiteral("/dev/block/") + majorMinor).canonicalFilePath();
    if (resolved.isEmpty())
        return QString();
    QFileInfo node(resolved);
    // A partition lives in the folder of its disk.
    if (QFileInfo::exists(resolved + QStringLiteral("/partition")))
        node = QFileInfo(node.absolutePath());
    return node.fileName();
}

// Linux has no disk numbers of its own: a disk's place in the name-ordered list serves, and the
// volumes are resolved against the same list.
int LinuxInstrumentPlatform::diskNumber(int index)
{
    return diskAt(index) ? index : -1;
}

VolumeDevice LinuxInstrumentPlatform::volumeDevice(const QString &drive)
{
    VolumeDevice volume;
    volume.number = diskIndexOfDrive(drive);
    volume.isDisk = volume.number >= 0;
    return volume;
}

int LinuxInstrumentPlatform::diskIndexOfDrive(const QString &drive)
{
    const QString mountPoint = mountPointOfDrive(drive);
    const QVector<MountEntry> entries = snapshot.isEmpty() ? mounts() : snapshot;
    for (int i = entries.size() - 1; i >= 0; --i) {
        if (entries.at(i).mountPoint != mountPoint)
            continue;
        const QString disk = diskOfDevice(entries.at(i).device);
        const QStringList known = disks.isEmpty() ? presentDisks() : disks;
        return disk.isEmpty() ? -1 : int(known.indexOf(disk));
    }
    return -1;
}

bool LinuxInstrumentPlatform::rootPresent(const QString &root)
{
    if (root.isEmpty())
        return false;
    const QString mountPoint = mountPointOfDrive(root.chopped(1));
    for (const MountEntry &mount : mounts()) {
        if (mount.mountPoint == mountPoint)
            return true;
    }
    return false;
}

QString LinuxInstrumentPlatform::rootIdentity(const QString &root)
{
    if (root.isEmpty())
        return QString();
    const QString mountPoint = mountPointOfDrive(root.chopped(1));
    QString device;
    for (const MountEntry &mount : mounts()) {
        if (mount.mountPoint == mountPoint)
            device = mount.device;
    }
    return device;
}

std::unique_ptr<InstrumentPlatform> createInstrumentPlatform()
{
    QString sysRoot = qEnvironmentVariable("SCANLET_SYSFS_ROOT");
    if (sysRoot.isEmpty())
        sysRoot = QStringLiteral("/sys");
    return std::make_unique<LinuxInstrumentPlatform>(sysRoot, QStringLiteral("/proc/self/mountinfo"));
}
