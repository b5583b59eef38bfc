#include "mountwatcher.h"

#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include "acquisition/platform/mountinfo.h"

QSet<QString> mountKeys(const QByteArray &mountInfoText)
{
    QSet<QString> keys;
    for (const MountEntry &entry : parseMountInfo(mountInfoText))
        keys.insert(entry.device + QLatin1Char(' ') + entry.mountPoint);
    return keys;
}

MountTableChange compareMountTables(const QSet<QString> &before, const QSet<QString> &after)
{
    MountTableChange change;
    for (const QString &key : after)
        change.added = change.added || !before.contains(key);
    for (const QString &key : before)
        change.removed = change.removed || !after.contains(key);
    return change;
}

MountTableWatcher::MountTableWatcher(const QString &mountInfoPath, QObject *parent)
    : DeviceWatcher(parent)
{
    fd = ::open(QFile::encodeName(mountInfoPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    known = mountKeys(readTable());
    notifier = new QSocketNotifier(fd, QSocketNotifier::Exception, this);
    connect(notifier, SIGNAL(activated(int)), this, SLOT(slot_mountTableChanged()));
}

MountTableWatcher::~MountTableWatcher()
{
    delete notifier;
    if (fd >= 0)
        ::close(fd);
}

QByteArray MountTableWatcher::readTable()
{
    // Reading the file from its start re-arms the kernel's change flag.
    QByteArray text;
    if (::lseek(fd, 0, SEEK_SET) < 0)
        return text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, int(got));
    }
    return text;
}

void MountTableWatcher::slot_mountTableChanged()
{
    const QSet<QString> current = mountKeys(readTable());
    const MountTableChange change = compareMountTables(known, current);
    known = current;
    if (change.removed)
        emit deviceRemoved();
    if (change.added)
        emit deviceArrived();
}

DeviceWatcher *createDeviceWatcher(QObject *parent)
{
    return new MountTableWatcher(QStringLiteral("/proc/self/mountinfo"), parent);
}

DeviceChange decodeNativeDeviceEvent(const QByteArray &, void *)
{
    return DeviceChange::None; // device changes come from the mount table watcher
}
