#include "benchcards.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <QVector>

#include <cerrno>

#include <unistd.h>

#include "ascanwriter.h"

QString cardFolder(const QString &base, int count, int screenCount, const QString &name)
{
    const QString pool = base + (name.isEmpty() ? QStringLiteral("/pool") : QStringLiteral("/pool-") + name);
    const QString dir = base + QLatin1Char('/') + (name.isEmpty() ? QString::number(count) : name);
    if (QFile::exists(dir + QStringLiteral("/.complete")))
        return dir;
    QTextStream(stdout) << "generating " << count << " A-scans in " << dir << " ..." << Qt::endl;
    QDir().mkpath(pool);
    QDir().mkpath(dir);
    QVector<QImage> screens;
    for (int seed = 1; seed <= screenCount; ++seed)
        screens.append(instrumentScreen(seed, QString()));
    for (int i = 1; i <= count; ++i) {
        const int source = (i - 1) % DistinctAscans + 1;
        const QString pooled = pool + QStringLiteral("/%1.jpg").arg(source);
        AscanFields ascan;
        ascan.title = "A-scan " + QByteArray::number(source);
        ascan.picture = screens.at(source % screens.size());
        if ((!QFile::exists(pooled) && !writeAscan(pooled, ascan))
            || (::link(QFile::encodeName(pooled).constData(),
                       QFile::encodeName(dir + QStringLiteral("/%1.jpg").arg(i)).constData()) != 0
                && errno != EEXIST)) {
            QTextStream(stdout) << "cannot write into " << dir << Qt::endl;
            return QString();
        }
    }
    writeBytes(dir + QStringLiteral("/.complete"), QByteArray());
    return dir;
}

