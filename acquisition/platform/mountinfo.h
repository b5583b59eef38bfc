#ifndef MOUNTINFO_H
#define MOUNTINFO_H

#include <QByteArray>
#include <QString>
#include <QVector>

struct MountEntry
{
    QString device;      // "MAJ:MIN" of the mounted block device
    QString mountPoint;  // unescaped
};

// Parses the text of /proc/self/mountinfo; malformed lines are skipped.
QVector<MountEntry> parseMountInfo(const QByteArray &text);

// Reads the whole file; empty when it cannot be opened.
QByteArray readMountInfo(const QString &path);

#endif // MOUNTINFO_H
