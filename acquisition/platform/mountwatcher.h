#ifndef MOUNTWATCHER_H
#define MOUNTWATCHER_H

#include <QSet>
#include <QString>

#include "acquisition/devicewatcher.h"

class QSocketNotifier;

struct MountTableChange
{
    bool added = false;
    bool removed = false;
};

// Mounts are compared as "MAJ:MIN mount point" pairs.
QSet<QString> mountKeys(const QByteArray &mountInfoText);
MountTableChange compareMountTables(const QSet<QString> &before, const QSet<QString> &after);

// Watches the mount table: the kernel flags the file (an exceptional condition) whenever it
// changes; a new mount is reported as an arrival, a vanished one as a removal.
class MountTableWatcher : public DeviceWatcher
{
    Q_OBJECT

public:
    explicit MountTableWatcher(const QString &mountInfoPath, QObject *parent = nullptr);
    ~MountTableWatcher() override;

    bool isWatching() const { return notifier != nullptr; }

private slots:
    void slot_mountTableChanged();

private:
    QByteArray readTable();

    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QSet<QString> known;
};

#endif // MOUNTWATCHER_H
