// bench_loading [--quick] [count ...] (default 1000 10000; 100000 on request): a folder load
// through the main window against the system-call floor in plain C (list the folder; open, read
// 45 bytes, close each file; in the cold round one aligned 512-byte direct read per header, the
// device work Scanlet does), the same C floor opening each file in the folder opened once
// (openat), the same floor through QFile, and the naive load (QIcon(path) per
// file, up to 10,000 files). For each: wall time, bytes read() returned (rchar) and bytes the storage delivered
// (read_bytes) per file, and resident memory growth; then the strip scrolled through once,
// painting every thumbnail, and the memory after it. As root the folders live on a loop-mounted
// ext2 image, so that read_bytes counts a real block device, and a cold round (page cache dropped
// before each measurement) follows the warm one. Files above 10,000 are hard links to the first
// 10,000: their storage bytes come from the cache, so device bytes are meaningful up to 10,000.
// It prints PASS/MISS per target and never fails. --quick: the warm round only, without the naive load.
// bench_loading --startup [runs]: start-up to the first paint of the main window against a bare
// Qt window and one with a label, each a fresh process of this program, interleaved, the fastest
// of each kept.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include "records/fileorder.h"
#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "ascanwriter.h"
#include "benchcards.h"
#include "fakes.h"
#include "floorload.h"
#include "records/ascanfile.h"
#include "views/thumbnailiconengine.h"

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
    double ms = 0, cpuMs = 0; // wall time, and processor time of the whole process
    qint64 rchar = 0, device = 0, rssKb = 0;
    int items = 0;
    bool measured = false;
};

double cpuMs()
{
    timespec t;
    return ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) == 0 ? t.tv_sec * 1e3 + t.tv_nsec / 1e6 : 0;
}

QString warmupDir; // a few A-scans of their own, loaded after a drop and before the measurement

// rchar counts every read(), also the event loop's wake-ups and these /proc reads: that only errs
// against the load. After a drop, the same work first runs over the warm-up folder, so that the
// program's own code and fonts, paged in again, are not counted as the folder's device bytes.
Figures measure(bool cold, const QString &dir, const std::function<int(const QString &)> &work)
{
    if (cold) {
        dropPageCache();
        work(warmupDir);
    }
    ::malloc_trim(0); // memory freed by earlier runs must not hide this one's growth
    const qint64 rss0 = procField("/proc/self/status", "VmRSS:");
    const qint64 rchar0 = procField("/proc/self/io", "rchar:"), device0 = procField("/proc/self/io", "read_bytes:");
    QElapsedTimer timer;
    const double cpu0 = cpuMs();
    timer.start();
    Figures f;
    f.items = work(dir);
    f.ms = timer.nsecsElapsed() / 1e6;
    f.cpuMs = cpuMs() - cpu0;
    f.rchar = procField("/proc/self/io", "rchar:") - rchar0;
    f.device = procField("/proc/self/io", "read_bytes:") - device0;
    f.rssKb = procField("/proc/self/status", "VmRSS:") - rss0;
    f.measured = true;
    return f;
}

// The place of the folders: an ext2 image on a loop device when we may mount one, else /tmp.
class Storage
{
public:
    Storage()
    {
        const QString image = QStringLiteral("/tmp/scanlet-bench.img"), mount = QStringLiteral("/tmp/scanlet-bench-mnt");
        if (::geteuid() != 0)
            return;
        QDir().mkpath(mount);
        const auto run = [](const QString &program, const QStringList &args) {
            return QProcess::execute(program, args) == 0;
        };
        if (!QFile::exists(image)) {
            QFile f(image);
            if (!f.open(QIODevice::WriteOnly) || !f.resize(qint64(1) << 30)) // sparse: only what is written
                return;
            f.close();
            if (!run(QStringLiteral("mkfs.ext2"), {QStringLiteral("-q"), QStringLiteral("-F"), image})) {
                QFile::remove(image);
                return;
            }
        }
        // Direct I/O under the loop device: its requests reach the disk as they are, not through
        // the readahead of the image file's own cache, which would merge them into long reads.
        QProcess losetup;
        losetup.start(QStringLiteral("losetup"), {QStringLiteral("--find"), QStringLiteral("--show"),
                                                  QStringLiteral("--direct-io=on"), image});
        losetup.waitForFinished();
        loop = QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
        mounted = !loop.isEmpty() && run(QStringLiteral("mount"), {loop, mount});
        if (mounted)
            base = mount;
    }
    ~Storage()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {base});
        if (!loop.isEmpty())
            QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), loop});
    }
    QString base = QStringLiteral("/tmp/scanlet-bench");
    QString loop;
    bool mounted = false;
};

QString folderFor(const QString &base, int count, const QString &name = QString())
{
    return cardFolder(base, count, 64, name);
}

// The floor through Qt: each file of the work list opened with QFile and its 45 bytes read.
int qtFloor(const QString &dir)
{
    int read = 0;
    for (const QString &name : ascanWorkList(dir)) {
        QFile file(dir + QDir::separator() + name);
        char header[Ascan::TitleEnd];
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && file.read(header, sizeof header) == sizeof header)
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

struct Round
{
    Figures cFloor, cOpenat, qtFloor, real, firstPaint, scroll, naive;
    qint64 afterScrollKb = 0; // resident growth from before the load to after the scroll
    int cacheKb = 0;
};

// The time of the faster measurement kept; bytes and memory stay those of the first.
void keepFaster(Figures &best, const Figures &f)
{
    if (f.ms < best.ms)
        best.ms = f.ms, best.cpuMs = f.cpuMs;
}

Round runRound(FakeDialogs *dialogs, const QString &dir, bool cold, int count, bool quick)
{
    Round r;
    const int direct = cold ? FloorDirect : 0;
    const auto cLoad = [direct](const QString &d) { return floorLoad(QFile::encodeName(d).constData(), direct); };
    const auto cOpenat = [direct](const QString &d) {
        return floorLoad(QFile::encodeName(d).constData(), direct | FloorOpenat);
    };
    const auto scanletLoad = [dialogs](CDataManager &window, const QString &d) {
        dialogs->openAnswer = d + QStringLiteral("/1.jpg");
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        return window.findChild<QListWidget *>(QStringLiteral("fileListWidget"))->count();
    };
    r.cFloor = measure(cold, dir, cLoad);
    r.cOpenat = measure(cold, dir, cOpenat);
    r.qtFloor = measure(cold, dir, qtFloor);
    // Warm, each is measured three times in turn, a fresh window for each load, and the fastest
    // time kept: the machine's other work only ever adds time.
    for (int again = cold ? 0 : 2; again > 0; --again) {
        CDataManager window;
        window.show();
        settle();
        keepFaster(r.real, measure(false, dir, [&](const QString &d) { return scanletLoad(window, d); }));
        keepFaster(r.cFloor, measure(false, dir, cLoad));
        keepFaster(r.cOpenat, measure(false, dir, cOpenat));
        keepFaster(r.qtFloor, measure(false, dir, qtFloor));
    }
    {
        CDataManager window;
        window.show();
        settle();
        auto *strip = window.findChild<QListWidget *>(QStringLiteral("fileListWidget"));
        const Figures faster = r.real;
        r.real = measure(cold, dir, [&](const QString &d) { return scanletLoad(window, d); });
        if (faster.measured)
            keepFaster(r.real, faster);
        r.firstPaint = measure(false, dir, [](const QString &) { settle(); return 0; });
        // Page by page to the end, each page painted before the next.
        QScrollBar *bar = strip->horizontalScrollBar();
        r.scroll = measure(false, dir, [&](const QString &) {
            int pages = 0;
            for (int value = 0;; value += bar->pageStep(), ++pages) {
                bar->setValue(value);
                strip->viewport()->repaint();
                if (value >= bar->maximum())
                    break;
            }
            return pages;
        });
        // SCANLET_BENCH_GRAB=folder: the window as drawn after the load and at the end of the scroll.
        if (qEnvironmentVariableIsSet("SCANLET_BENCH_GRAB")) {
            const QString grabs = qEnvironmentVariable("SCANLET_BENCH_GRAB") + QStringLiteral("/%1-%2.png").arg(count);
            bar->setValue(bar->maximum() / 2);
            window.grab().save(grabs.arg(QStringLiteral("middle")));
        }
        r.afterScrollKb = r.real.rssKb + r.firstPaint.rssKb + r.scroll.rssKb;
        r.cacheKb = ThumbnailIconEngine::cacheUsed() / 1024;
    }
    settle();
    if (count > DistinctAscans || quick)
        return r; // the naive load holds every picture: gigabytes beyond this
    CDataManager window;
    window.show();
    settle();
    auto *strip = window.findChild<QListWidget *>(QStringLiteral("fileListWidget"));
    r.naive = measure(cold, dir, [&](const QString &d) {
        strip->clear();
        for (const QString &name : ascanWorkList(d)) {
            const QString path = d + QDir::separator() + name;
            const QIcon icon(path);
            const QString title = readTitle(path);
            if (!title.isEmpty())
                (new QListWidgetItem(title, strip))->setData(Qt::DecorationRole, icon);
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        return strip->count();
    });
    settle();
    return r;
}

void report(const Round &r, int count)
{
    const auto figures = [count](const char *name, const Figures &f) {
        if (!f.measured) {
            out << QStringLiteral("  %1 not run (--quick, or above %2 files)").arg(QString::fromLatin1(name), -8)
                       .arg(DistinctAscans) << Qt::endl;
            return;
        }
        out << QStringLiteral("  %1 %2 ms  %3 µs/file (cpu %8)  rchar %4 B/file  device %5 B/file  RSS %6 MB  items %7")
                   .arg(QString::fromLatin1(name), -8).arg(f.ms, 9, 'f', 1).arg(f.ms * 1000 / count, 7, 'f', 2)
                   .arg(double(f.rchar) / count, 8, 'f', 1).arg(double(f.device) / count, 8, 'f', 1)
                   .arg(f.rssKb / 1024.0, 7, 'f', 1).arg(f.items).arg(f.cpuMs * 1000 / count, 0, 'f', 2)
            << Qt::endl;
    };
    figures("C floor", r.cFloor);
    figures("C openat", r.cOpenat);
    figures("Qt floor", r.qtFloor);
    figures("Scanlet", r.real);
    figures("naive", r.naive);
    out << QStringLiteral("  then the first paint: %1 ms, device %2 B; the scroll through %3 pages: %4 ms, "
                          "device %5 B/file; memory after it +%6 MB (thumbnail cache %7 KB)")
               .arg(r.firstPaint.ms, 0, 'f', 1).arg(r.firstPaint.device).arg(r.scroll.items)
               .arg(r.scroll.ms, 0, 'f', 1).arg(double(r.scroll.device) / count, 0, 'f', 1)
               .arg(r.afterScrollKb / 1024.0, 0, 'f', 1).arg(r.cacheKb) << Qt::endl;
    const double overFloor = r.real.ms / qMax(r.cFloor.ms, 1e-3);
    out << QStringLiteral("  Scanlet/C floor %1x (cpu %3x)  Scanlet/C openat %4x  Scanlet/Qt floor %2x")
               .arg(overFloor, 0, 'f', 2).arg(r.real.ms / qMax(r.qtFloor.ms, 1e-3), 0, 'f', 2)
               .arg(r.real.cpuMs / qMax(r.cFloor.cpuMs, 1e-3), 0, 'f', 2)
               .arg(r.real.ms / qMax(r.cOpenat.ms, 1e-3), 0, 'f', 2);
    if (r.naive.measured)
        out << QStringLiteral("  naive/Scanlet %1x").arg(r.naive.ms / qMax(r.real.ms, 1e-3), 0, 'f', 1);
    out << Qt::endl;
}

void verdict(bool met, const QString &target)
{
    out << (met ? "  PASS " : "  MISS ") << target << Qt::endl;
}

// Milliseconds on the system's monotonic clock, which every process reads alike.
double monotonicMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// At the watched window's first paint, prints the time since `started` and quits: the time to
// exit, spent destroying the window, is no part of start-up.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(double started) : started(started) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            std::printf("%.3f\n", monotonicMs() - started);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    double started;
    bool painted = false;
};

// A child process started at `started`: the application as main() starts it, then the main
// window, a bare one, or one with a line of text (its first text loads the font configuration).
int startupChild(int argc, char **argv, const QByteArray &which, double started)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    FirstPaint painted(started);
    if (which != "scanlet") {
        QWidget bare;
        if (which == "text")
            new QLabel(QStringLiteral("Scanlet"), &bare);
        bare.installEventFilter(&painted);
        bare.show();
        return app.exec();
    }
    const bool translated = installCatalogues(QCoreApplication::applicationDirPath(), &app);
    CDataManager window(nullptr, Qt::WindowFlags(), translated);
    window.installEventFilter(&painted);
    window.show();
    return app.exec();
}

void startup(int runs)
{
    // From just before the child is started to its first paint, as the child tells it.
    const auto once = [](const char *which) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--startup-child"), QString::fromLatin1(which),
                     QString::number(monotonicMs(), 'f', 3)});
        child.waitForFinished(-1);
        return child.readAllStandardOutput().trimmed().toDouble();
    };
    QVector<double> bare, text, scanlet;
    for (int i = 0; i < runs; ++i) {
        bare.append(once("bare"));
        text.append(once("text"));
        scanlet.append(once("scanlet"));
    }
    const double bareBest = *std::min_element(bare.begin(), bare.end());
    const double textBest = *std::min_element(text.begin(), text.end());
    const double scanletBest = *std::min_element(scanlet.begin(), scanlet.end());
    out << QStringLiteral("start-up to the first paint, fastest of %1: bare Qt window %2 ms, with a label "
                          "%3 ms, Scanlet %4 ms: %5x the bare window, %6x the labelled one")
               .arg(runs)
               .arg(bareBest, 0, 'f', 1)
               .arg(textBest, 0, 'f', 1)
               .arg(scanletBest, 0, 'f', 1)
               .arg(scanletBest / bareBest, 0, 'f', 2)
               .arg(scanletBest / textBest, 0, 'f', 2)
        << Qt::endl;
    verdict(scanletBest <= 1.5 * bareBest, QStringLiteral("start-up <= 1.5x a bare Qt window"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && qstrcmp(argv[1], "--startup-child") == 0)
        return startupChild(argc, argv, argv[2], std::atof(argv[3]));
    QApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--startup")) {
        startup(qMax(app.arguments().value(2).toInt(), 5));
        return 0;
    }
    FakeEnvironment env; // no instrument: the machine's own disks must not start a loading

    QList<int> counts;
    const bool quick = app.arguments().contains(QStringLiteral("--quick")); // warm, no naive load
    for (const QString &arg : app.arguments().mid(1))
        if (arg.toInt() > 0)
            counts.append(arg.toInt());
    if (counts.isEmpty())
        counts = {1000, 10000};
    const Storage storage;
    const bool canDrop = dropPageCache();
    out << "folders in " << storage.base << (storage.mounted ? " (ext2 image on a loop device with direct I/O)" : "") << Qt::endl
        << "page cache: " << (canDrop ? "a cold round drops it before each measurement"
                                      : "cannot be dropped (drop_caches not writable); warm round only") << Qt::endl;
    warmupDir = folderFor(storage.base, 20, QStringLiteral("warmup"));
    QMap<int, double> warmPerFile, warmCpuPerFile; // Scanlet's warm ms per file, by count
    for (int count : counts) {
        const QString dir = folderFor(storage.base, count);
        if (dir.isEmpty())
            continue;
        for (bool cold : {false, true}) {
            if (cold && (!canDrop || quick))
                break;
            if (!cold)
                floorLoad(QFile::encodeName(dir).constData(), 0); // headers in the cache
            out << Qt::endl << count << " files, " << (cold ? "cold" : "warm") << " page cache" << Qt::endl;
            const Round r = runRound(env.dialogs, dir, cold, count, quick);
            report(r, count);
            if (cold && count <= DistinctAscans)
                verdict(double(r.real.device) / count <= 1000, QStringLiteral("device bytes per file <= 1000"));
            if (!cold) {
                warmPerFile[count] = r.real.ms / count;
                warmCpuPerFile[count] = r.real.cpuMs / count;
                verdict(r.real.ms <= 1.6 * r.cFloor.ms, QStringLiteral("load <= 1.6x the C floor"));
                verdict(r.afterScrollKb <= 40 * 1024, QStringLiteral("memory after the scroll <= 40 MB"));
            }
        }
    }
    if (warmPerFile.contains(10000) && warmPerFile.lastKey() > 10000) {
        const double growth = warmPerFile.last() / warmPerFile.value(10000);
        out << Qt::endl << QStringLiteral("time per file at %1 against 10,000: %2x (cpu %3x)").arg(warmPerFile.lastKey())
                   .arg(growth, 0, 'f', 2).arg(warmCpuPerFile.last() / warmCpuPerFile.value(10000), 0, 'f', 2) << Qt::endl;
        verdict(growth <= 1.2, QStringLiteral("time per file growth <= 1.2x"));
    }
    return 0;
}
