#include "mountinfo.h"

#include <QFile>

namespace {

// Mount points escape space, tab, newline and backslash as three octal digits ("\040").
QString unescapeMountPath(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

bool isMajorMinor(const QByteArray &field)
{
    const QList<QByteArray> parts = field.split(':');
    if (parts.size() != 2)
        return false;
    bool majorOk = false;
    bool minorOk = false;
    parts.at(0).toUInt(&majorOk);
    parts.at(1).toUInt(&minorOk);
    return majorOk && minorOk;
}

} // namespace

/*
    One line of mountinfo:
    36 35 98:0 /mnt1 /mnt/parent\040dir rw,noatime master:1 - ext3 /dev/root rw,errors=continue
    (1)(2)(3)   (4)   (5)                (6)       (7)      (8)(9)  (10)      (11)
    (3) major:minor of the device, (5) mount point; (7) is zero or more optional fields, ended
    by the separator (8); (9) file system type, (10) source, (11) super block options.
*/
QVector<MountEntry> parseMountInfo(const QByteArray &text)
{
    QVector<MountEntry> entries;
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        const int separator = fields.indexOf("-", 6);
        if (separator < 0 || fields.size() < separator + 3 || !isMajorMinor(fields.at(2))
            || fields.at(4).isEmpty())
            continue;
        entries.append({QString::fromLatin1(fields.at(2)), unescapeMountPath(fields.at(4))});
    }
    return entries;
}

QByteArray readMountInfo(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
