// Loading benchmark: a directory load through the main window against the floor (open each
// file, read its first 45 bytes) and against the naive load (QIcon(path) per file), in one run.
// Prints wall time, bytes read (rchar of /proc/self/io) and resident memory growth, the ratios,
// and PASS/MISS per target. It never fails: figures are for reading, not for CI.
//
//   bench_loading [--real-only] [count ...]      default: 1000 10000
//
// --real-only runs just the real load, warm, for profiling (perf record).
//
// The folders are generated once into /tmp/scanlet-bench-<count> and reused. When
// /proc/sys/vm/drop_caches is writable (root outside a locked-down container), a cold round
// that drops the page cache before each measurement follows the warm round.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMetaObject>
#include <QTextStream>

#include <functional>
#include <memory>

#include <malloc.h>
#include <unistd.h>

#include "acquisition/fileorder.h"
#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanbuilder.h"
#include "records/ascanfile.h"

namespace {

QTextStream out(stdout);

// No instrument: the machine's own disks must not start a loading of their own.
class NoInstrument : public InstrumentPlatform
{
public:
    bool openDiskList() override { return true; }
    void closeDiskList() override {}
    bool diskAt(int) override { return false; }
    bool readDiskDescriptor(int, QByteArray &) override { return false; }
    QStringList driveRoots() override { return {}; }
    int volumeDiskNumber(const QString &) override { return -1; }
    bool rootPresent(const QString &) override { return false; }
};

class AnswerOpen : public Dialogs
{
public:
    explicit AnswerOpen(const QString &path) : path(path) {}
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return path;
    }
    QMessageBox::StandardButton warning(QWidget *, const QString &, const QString &) override
    {
        return QMessageBox::Ok;
    }

private:
    QString path;
};

qint64 procField(const char *file, const QByteArray &key)
{
    QFile f(QString::fromLatin1(file));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qint64 bytesReadSoFar() { return procField("/proc/self/io", "rchar:"); }
qint64 residentKb() { return procField("/proc/self/status", "VmRSS:"); }

bool dropPageCache()
{
    ::sync();
    QFile f(QStringLiteral("/proc/sys/vm/drop_caches"));
    return f.open(QIODevice::WriteOnly) && f.write("3\n") == 2;
}

struct Figures
{
    double ms = 0;
    qint64 bytes = 0;
    qint64 rssKb = 0;
    int items = 0;
};

// rchar counts every read(), not only file bytes: the event loop's wake-up reads (8 bytes each)
// and the /proc reads of the measurement itself (a few hundred bytes) are left in, which only
// errs against the load.
Figures measure(const std::function<int()> &work)
{
    ::malloc_trim(0); // memory freed by earlier runs must not hide this one's growth
    const qint64 rss0 = residentKb();
    const qint64 read0 = bytesReadSoFar();
    QElapsedTimer timer;
    timer.start();
    Figures f;
    f.items = work();
    f.ms = timer.nsecsElapsed() / 1e6;
    f.bytes = bytesReadSoFar() - read0;
    f.rssKb = residentKb() - rss0;
    return f;
}

QString folderFor(int count)
{
    const QString dir = QStringLiteral("/tmp/scanlet-bench-%1").arg(count);
    const QString done = dir + QStringLiteral("/.complete");
    if (QFile::exists(done))
        return dir;
    out << "generating " << count << " A-scans in " << dir << " ..." << Qt::endl;
    QDir().mkpath(dir);
    // A pool of distinct screens keeps generation quick; every file still has its own title.
    QVector<QImage> screens;
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
    writeBytes(done, QByteArray());
    return dir;
}

void readWholeFiles(const QString &dir)
{
    for (const QString &name : ascanWorkList(dir)) {
        QFile file(dir + QDir::separator() + name);
        if (file.open(QIODevice::ReadOnly))
            file.readAll();
    }
}

int floorLoop(const QString &dir)
{
    int opened = 0;
    for (const QString &name : ascanWorkList(dir)) {
        QFile file(dir + QDir::separator() + name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            continue;
        char header[Ascan::TitleEnd];
        if (file.read(header, sizeof header) == sizeof header)
            ++opened;
    }
    return opened;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void shapeLikeStrip(QListWidget *list)
{
    list->setFlow(QListView::TopToBottom);
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setUniformItemSizes(true);
    list->setBatchSize(1000);
    list->setIconSize(QSize(80, 60));
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setGeometry(60, 20, 680, 110);
}

struct Round
{
    Figures floor, real, naive;
    Figures firstPaint; // after the real load: the strip painting the thumbnails in view
};

Round runRound(const QString &dir, bool cold, bool realOnly)
{
    Round r;
    const auto prepare = [&] {
        if (cold)
            dropPageCache();
    };

    if (!realOnly) {
        prepare();
        r.floor = measure([&] { return floorLoop(dir); });
    }

    {
        Dialogs::install(new AnswerOpen(dir + QStringLiteral("/1.jpg")));
        auto window = std::make_unique<CDataManager>();
        window->show();
        settle();
        prepare();
        r.real = measure([&] {
            QMetaObject::invokeMethod(window.get(), "slot_loadDataDir");
            return window->findChild<QListWidget *>(QStringLiteral("fileListWidget"))->count();
        });
        r.firstPaint = measure([&] {
            settle();
            return 0;
        });
        window.reset();
        Dialogs::install(nullptr);
        settle();
    }

    if (!realOnly) {
        QWidget frame;
        frame.resize(800, 600);
        auto *list = new QListWidget(&frame);
        shapeLikeStrip(list);
        frame.show();
        settle();
        prepare();
        r.naive = measure([&] {
            for (const QString &name : ascanWorkList(dir)) {
                const QString path = dir + QDir::separator() + name;
                const QIcon icon(path);
                const QString title = readTitle(path);
                if (!title.isEmpty()) {
                    auto *item = new QListWidgetItem(title, list);
                    item->setData(Qt::DecorationRole, icon);
                }
                QCoreApplication::processEvents(QEventLoop::AllEvents);
            }
            return list->count();
        });
    }
    settle();
    return r;
}

QString verdict(bool met) { return met ? QStringLiteral("PASS") : QStringLiteral("MISS"); }

void printFigures(const char *name, const Figures &f, int count)
{
    out << QStringLiteral("  %1 %2 ms  %3 bytes read (%4 per file)  RSS %5 MB  items %6")
               .arg(QString::fromLatin1(name), -6)
               .arg(f.ms, 9, 'f', 1)
               .arg(f.bytes, 11)
               .arg(double(f.bytes) / count, 8, 'f', 1)
               .arg(f.rssKb / 1024.0, 7, 'f', 1)
               .arg(f.items)
        << Qt::endl;
}

void report(const Round &r, int count)
{
    printFigures("floor", r.floor, count);
    printFigures("real", r.real, count);
    out << QStringLiteral("  then the first paint of the strip: %1 ms, %2 bytes read")
               .arg(r.firstPaint.ms, 0, 'f', 1)
               .arg(r.firstPaint.bytes)
        << Qt::endl;
    printFigures("naive", r.naive, count);
    const double realOverFloor = r.real.ms / qMax(r.floor.ms, 1e-3);
    const double naiveOverReal = r.naive.ms / qMax(r.real.ms, 1e-3);
    const double perFile = double(r.real.bytes) / count;
    const double growthMb = r.real.rssKb / 1024.0;
    out << QStringLiteral("  real/floor wall %1x  naive/real wall %2x  real bytes/file %3  real RSS growth %4 MB "
                          "(naive %5 MB)")
               .arg(realOverFloor, 0, 'f', 2)
               .arg(naiveOverReal, 0, 'f', 1)
               .arg(perFile, 0, 'f', 1)
               .arg(growthMb, 0, 'f', 1)
               .arg(r.naive.rssKb / 1024.0, 0, 'f', 1)
        << Qt::endl;
    out << "  " << verdict(perFile <= 64) << " bytes read <= 64 per file" << Qt::endl;
    if (count >= 10000)
        out << "  " << verdict(growthMb < 40) << " memory growth < 40 MB" << Qt::endl;
    out << "  " << verdict(realOverFloor <= 3) << " wall <= 3x floor" << Qt::endl;
    out << "  " << verdict(naiveOverReal >= 10) << " wall >= 10x faster than naive" << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setInstrumentPlatformFactory([] { return std::unique_ptr<InstrumentPlatform>(new NoInstrument); });

    QList<int> counts;
    bool realOnly = false;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--real-only"))
            realOnly = true;
        else if (arg.toInt() > 0)
            counts.append(arg.toInt());
    }
    if (counts.isEmpty())
        counts = {1000, 10000};

    const bool canDrop = !realOnly && dropPageCache();
    if (!realOnly)
        out << "page cache: " << (canDrop ? "a cold round drops it before each measurement"
                                          : "cannot be dropped (drop_caches not writable); warm round only")
            << Qt::endl;

    QList<QPair<int, qint64>> warmBytes;
    for (int count : counts) {
        const QString dir = folderFor(count);
        if (dir.isEmpty())
            continue;
        readWholeFiles(dir);
        out << Qt::endl << count << " files, warm page cache" << Qt::endl;
        const Round warm = runRound(dir, false, realOnly);
        warmBytes.append(qMakePair(count, warm.real.bytes + warm.firstPaint.bytes));
        if (realOnly) {
            printFigures("real", warm.real, count);
            out << "  then the first paint of the strip: " << warm.firstPaint.bytes << " bytes read" << Qt::endl;
            continue;
        }
        report(warm, count);
        if (canDrop) {
            out << count << " files, cold page cache" << Qt::endl;
            report(runRound(dir, true, false), count);
        }
    }
    // What one more file costs, without the fixed part (the thumbnails in view, the picture
    // shown); the first paint after the load is counted in, wherever the thumbnails were drawn.
    if (warmBytes.size() >= 2 && warmBytes.last().first != warmBytes.first().first) {
        const double marginal = double(warmBytes.last().second - warmBytes.first().second)
            / (warmBytes.last().first - warmBytes.first().first);
        out << Qt::endl
            << QStringLiteral("bytes read per additional file (warm, %1 to %2 files): %3")
                   .arg(warmBytes.first().first)
                   .arg(warmBytes.last().first)
                   .arg(marginal, 0, 'f', 1)
            << Qt::endl;
    }
    return 0;
}
