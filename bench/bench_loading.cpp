// bench_loading [count ...] (default 1000 10000): a folder load through the main window against
// the floor (open each file, read its first 45 bytes) and the naive load (QIcon(path) per file).
// Prints wall time, bytes read (rchar of /proc/self/io), resident memory growth, the ratios and
// PASS/MISS per target; it never fails. Folders are generated once into /tmp/scanlet-bench-<count>.
// When /proc/sys/vm/drop_caches is writable, a cold round (page cache dropped before each
// measurement) follows the warm one.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTextStream>

#include <functional>

#include <malloc.h>
#include <unistd.h>

#include "records/fileorder.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "records/ascanfile.h"
#include "fakes.h"

namespace {

QTextStream out(stdout);

qint64 procField(const char *file, const QByteArray &key)
{
    QFile f(QString::fromLatin1(file));
    const QList<QByteArray> lines = f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>();
    for (const QByteArray &line : lines)
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool dropPageCache()
{
    ::sync();
    QFile f(QStringLiteral("/proc/sys/vm/drop_caches"));
    return f.open(QIODevice::WriteOnly) && f.write("3\n") == 2;
}

struct Figures
{
    double ms = 0;
    qint64 bytes = 0, rssKb = 0;
    int items = 0;
};

struct Round
{
    Figures floor, real, naive;
    Figures firstPaint; // after the real load: the strip painting the thumbnails in view
};

// rchar counts every read(), also the event loop's wake-ups and these /proc reads: that only errs
// against the load.
Figures measure(bool cold, const std::function<int()> &work)
{
    if (cold)
        dropPageCache();
    ::malloc_trim(0); // memory freed by earlier runs must not hide this one's growth
    const qint64 rss0 = procField("/proc/self/status", "VmRSS:"), read0 = procField("/proc/self/io", "rchar:");
    QElapsedTimer timer;
    timer.start();
    Figures f;
    f.items = work();
    f.ms = timer.nsecsElapsed() / 1e6;
    f.bytes = procField("/proc/self/io", "rchar:") - read0;
    f.rssKb = procField("/proc/self/status", "VmRSS:") - rss0;
    return f;
}

QString folderFor(int count)
{
    const QString dir = QStringLiteral("/tmp/scanlet-bench-%1").arg(count);
    if (QFile::exists(dir + QStringLiteral("/.complete")))
        return dir;
    out << "generating " << count << " A-scans in " << dir << " ..." << Qt::endl;
    QDir().mkpath(dir);
    QVector<QImage> screens; // a pool of distinct screens keeps generation quick; titles differ
    for (int seed = 1; seed <= 64; ++seed)
        screens.append(instrumentScreen(seed, QString()));
    for (int i = 1; i <= count; ++i) {
        AscanFields ascan;
        ascan.title = "A-scan " + QByteArray::number(i);
        ascan.picture = screens.at(i % screens.size());
        if (!writeAscan(dir + QStringLiteral("/%1.jpg").arg(i), ascan)) {
            out << "cannot write into " << dir << Qt::endl;
            return QString();
        }
    }
    writeBytes(dir + QStringLiteral("/.complete"), QByteArray());
    return dir;
}

// Opens each file of the work list and reads its first 45 bytes (the floor) or all of it.
int readEach(const QString &dir, bool whole)
{
    int read = 0;
    for (const QString &name : ascanWorkList(dir)) {
        QFile file(dir + QDir::separator() + name);
        char header[Ascan::TitleEnd];
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
            && (whole ? !file.readAll().isNull() : file.read(header, sizeof header) == sizeof header))
            ++read;
    }
    return read;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The floor, then the real load and the naive one, each into the strip of a new window.
Round runRound(FakeDialogs *dialogs, const QString &dir, bool cold)
{
    Round r;
    r.floor = measure(cold, [&] { return readEach(dir, false); });
    for (bool naive : {false, true}) {
        CDataManager window;
        window.show();
        settle();
        auto *strip = window.findChild<QListWidget *>(QStringLiteral("fileListWidget"));
        if (naive) {
            r.naive = measure(cold, [&] {
                for (const QString &name : ascanWorkList(dir)) {
                    const QString path = dir + QDir::separator() + name;
                    const QIcon icon(path);
                    const QString title = readTitle(path);
                    if (!title.isEmpty())
                        (new QListWidgetItem(title, strip))->setData(Qt::DecorationRole, icon);
                    QCoreApplication::processEvents(QEventLoop::AllEvents);
                }
                return strip->count();
            });
        } else {
            dialogs->openAnswer = dir + QStringLiteral("/1.jpg");
            r.real = measure(cold, [&] {
                QMetaObject::invokeMethod(&window, "slot_loadDataDir");
                return strip->count();
            });
            r.firstPaint = measure(false, [] { settle(); return 0; });
        }
    }
    settle();
    return r;
}

void report(const Round &r, int count)
{
    const auto figures = [count](const char *name, const Figures &f) {
        out << QStringLiteral("  %1 %2 ms  %3 bytes read (%4 per file)  RSS %5 MB  items %6")
                   .arg(QString::fromLatin1(name), -6).arg(f.ms, 9, 'f', 1).arg(f.bytes, 11)
                   .arg(double(f.bytes) / count, 8, 'f', 1).arg(f.rssKb / 1024.0, 7, 'f', 1).arg(f.items)
            << Qt::endl;
    };
    figures("floor", r.floor);
    figures("real", r.real);
    out << QStringLiteral("  then the first paint of the strip: %1 ms, %2 bytes read")
               .arg(r.firstPaint.ms, 0, 'f', 1).arg(r.firstPaint.bytes) << Qt::endl;
    figures("naive", r.naive);
    const double overFloor = r.real.ms / qMax(r.floor.ms, 1e-3), naiveOver = r.naive.ms / qMax(r.real.ms, 1e-3);
    const double perFile = double(r.real.bytes) / count, growthMb = r.real.rssKb / 1024.0;
    out << QStringLiteral("  real/floor wall %1x  naive/real wall %2x  real bytes/file %3  real RSS growth %4 MB "
                          "(naive %5 MB)")
               .arg(overFloor, 0, 'f', 2).arg(naiveOver, 0, 'f', 1).arg(perFile, 0, 'f', 1).arg(growthMb, 0, 'f', 1)
               .arg(r.naive.rssKb / 1024.0, 0, 'f', 1) << Qt::endl;
    const auto verdict = [](bool met, const char *target) {
        out << (met ? "  PASS " : "  MISS ") << target << Qt::endl;
    };
    verdict(perFile <= 64, "bytes read <= 64 per file");
    if (count >= 10000)
        verdict(growthMb < 40, "memory growth < 40 MB");
    verdict(overFloor <= 3, "wall <= 3x floor");
    verdict(naiveOver >= 10, "wall >= 10x faster than naive");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakeEnvironment env; // no instrument: the machine's own disks must not start a loading

    QList<int> counts;
    for (const QString &arg : app.arguments().mid(1))
        if (arg.toInt() > 0)
            counts.append(arg.toInt());
    if (counts.isEmpty())
        counts = {1000, 10000};
    const bool canDrop = dropPageCache();
    out << "page cache: " << (canDrop ? "a cold round drops it before each measurement"
                                      : "cannot be dropped (drop_caches not writable); warm round only") << Qt::endl;
    for (int count : counts) {
        const QString dir = folderFor(count);
        if (dir.isEmpty())
            continue;
        readEach(dir, true);
        for (bool cold : {false, true}) {
            if (cold && !canDrop)
                break;
            out << Qt::endl << count << " files, " << (cold ? "cold" : "warm") << " page cache" << Qt::endl;
            report(runRound(env.dialogs, dir, cold), count);
        }
    }
    return 0;
}
