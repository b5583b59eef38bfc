// The instrument: detection over a fake platform and over fake system trees, the mount table
// parser, the window's reaction to arrivals and removals, and real tmpfs mounts.
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "acquisition/devicewatcher.h"
#include "acquisition/instrumentdetection.h"
#include "acquisition/platform/linuxplatform.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

const bool privateMounts = enterPrivateMountNamespace();

using Drives = QMap<QString, int>;  // root ("E:/") -> number of the disk holding it; -1: cannot be opened

bool writeText(const QString &path, const QByteArray &text)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && writeBytes(path, text);
}

// Disks of a /sys lookalike: block/<name>/device/{vendor,model,rev[,inquiry]} (no vendor file for
// a null vendor), a partition block/<name>/<name>1, and dev/block/MAJ:MIN (MAJ:MIN+1) linked to them.
struct SysDisk { QString name; int major, minor; QByteArray vendor, model, inquiry; };
const SysDisk sysDisks[] = {
    {"sdw", 8, 0, QByteArray("KINE\0TIS", 8), "Disk", {}},
    {"sdx", 8, 16, QByteArray(248, 'V'), "KINETIS", {}},  // each file ends with "\n\0": the id is cut at 256
    {"sdy", 8, 32, QByteArray(247, 'V'), "kinetis", {}},  // ... and ends the 256 bytes
    {"sde", 8, 64, "USB     ", "Flash Disk      ", QByteArray("\x00\x80\x06\x02\x1f\x00\x00\x00KiNeTiS MSD", 19)},
    {"nvme0n1", 259, 0, QByteArray(), "KINETIS NVMe", {}},
};

bool addDisk(const QString &sys, const QString &name)
{
    const SysDisk &d = *std::find_if(std::begin(sysDisks), std::end(sysDisks), [&](auto &d) { return d.name == name; });
    const QString device = sys + "/block/" + name + "/device/", dev = sys + QStringLiteral("/dev/block/%1:%2").arg(d.major);
    return writeText(device + "model", d.model + '\n') && writeText(device + "rev", "1.00\n")
           && (d.vendor.isNull() || writeText(device + "vendor", d.vendor + '\n'))
           && (d.inquiry.isEmpty() || writeText(device + "inquiry", d.inquiry))
           && writeText(sys + "/block/" + name + '/' + name + "1/partition", "1\n") && QDir().mkpath(sys + "/dev/block")
           && QFile::link("../../block/" + name, dev.arg(d.minor))
           && QFile::link("../../block/" + name + '/' + name + '1', dev.arg(d.minor + 1));
}

QByteArray mountLine(const QByteArray &majorMinor, const QByteArray &mountPoint)
{
    return "30 1 " + majorMinor + " / " + mountPoint + " rw,relatime - vfat /dev/x rw\n";
}

// What the window shows of the instrument, and what it should show: the strip's size, the device
// root, the data directory and the go-to-instrument button, enabled exactly while a root is known.
QStringList shown(CDataManager &w)
{
    return {QString::number(w.form()->fileListWidget->count()), w.deviceRoot(), w.dataDirectory(),
            w.form()->tbtn_gotoDevice->isEnabled() ? "enabled" : "disabled"};
}
QStringList expected(int count, const QString &device, const QString &dataDir)
{
    return {QString::number(count), device, dataDir, device.isEmpty() ? "disabled" : "enabled"};
}

} // namespace

Q_DECLARE_METATYPE(FakeMachine::Disk)

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir data;
    const QString instrumentRoot = data.path() + "/instrument/", secondRoot = data.path() + "/second/";
    const QString sysDir = data.path() + "/sys", savedDir = CDataManager::saveDirFilePath();
    std::unique_ptr<FakeEnvironment> env;

private slots:
    void initTestCase()
    {
        for (const char *file : {"instrument/1", "instrument/2", "instrument/3", "second/1", "second/2", "folder/1"})
            QVERIFY(writeText(data.path() + '/' + file + ".jpg", buildAscan(AscanFields())));
        QFile::rename(savedDir, savedDir + ".away");  // the window would start in a remembered folder
    }
    void cleanupTestCase() { QFile::rename(savedDir + ".away", savedDir); }
    void init() { env = std::make_unique<FakeEnvironment>(); }
    void cleanup()
    {
        env.reset();
        QDir(sysDir).removeRecursively();
    }

    // The machine the window starts on -> the instrument's root it finds.
    void detection_data()
    {
        QTest::addColumn<QVector<FakeMachine::Disk>>("disks");  // none: the disk list cannot be taken
        QTest::addColumn<Drives>("drives");
        QTest::addColumn<QString>("devicePath");
        using Disks = QVector<FakeMachine::Disk>;
        QTest::newRow("unreadable disk skipped; id ends the 256 bytes; two instruments: the first disk wins")
            << Disks{{storageDescriptor("KINETIS"), false}, {QByteArray(249, '\0') + "KINETIS"}, {storageDescriptor("KINETIS")}}
            << Drives{{"E:/", 2}, {"F:/", 1}} << "F:/";
        QTest::newRow("disk list unavailable") << Disks{} << Drives{{"E:/", 0}} << "";
    }
    void detection()
    {
        QFETCH(QVector<FakeMachine::Disk>, disks);
        QFETCH(Drives, drives);
        env->machine = {!disks.isEmpty(), disks, drives, {}, 0, 0};
        CDataManager window;
        QTEST(window.deviceRoot(), "devicePath");
        QCOMPARE(env->dialogs->warningTitles, disks.isEmpty() ? QStringList{"Scanlet"} : QStringList());
        QCOMPARE(env->machine.closed, disks.isEmpty() ? 0 : env->machine.opened);  // released once taken
    }

    // A /sys lookalike and a mount table -> the instrument's root.
    void linuxDetection_data()
    {
        QTest::addColumn<QStringList>("disks");  // none: the tree has no block folder
        QTest::addColumn<QByteArray>("mountInfo");
        QTest::addColumn<QString>("devicePath");
        QTest::newRow("ids: split by a zero byte, cut at 256 bytes (both skipped), lower case (found)") << QStringList{"sdw", "sdx", "sdy"}
            << mountLine("8:0", "/w") + mountLine("8:16", "/x") + mountLine("8:32", "/y") << "/y/";
        QTest::newRow("no vendor file: skipped; id in the raw inquiry; partition of the disk; the last mount wins")
            << QStringList{"nvme0n1", "sde"} << mountLine("8:64", "/a") + mountLine("259:0", "/") + mountLine("8:65", "/my\\040card")
            << "/my card/";
        QTest::newRow("mount table: escapes, one at the very end; optional fields; malformed lines skipped")
            << QStringList{"sde"} << QByteArray("\n36 35 8:64 /mnt1 /m/a\\040b\\011c\\012d\\134e\\09\\\xd0\xba\\040 rw shared:1 master:2"
                                                " - ext3 /dev/sde rw\n\n"
                                                "1 0 8:64 / /bad rw - ext4\n"                     // no source after the type
                                                "2 0 864 / /bad rw - ext4 /dev/a rw\n"            // no MAJ:MIN
                                                "3 0 a:b / /bad rw - ext4 /dev/a rw\n"
                                                "4 0 8:64 / /bad rw shared:1 ext4 /dev/a rw x")  // no separator, no final newline
            << QString::fromUtf8("/m/a b\tc\nd\\e\\09\\к /");
        QTest::newRow("no block folder") << QStringList{} << mountLine("8:0", "/w") << "";
    }
    void linuxDetection()
    {
        QFETCH(QStringList, disks);
        QFETCH(QByteArray, mountInfo);
        QFETCH(QString, devicePath);
        for (const QString &name : qAsConst(disks))
            QVERIFY(addDisk(sysDir, name));
        QVERIFY(writeText(sysDir + "/mountinfo", mountInfo));
        LinuxInstrumentPlatform platform(sysDir, sysDir + "/mountinfo");
        QString path = QStringLiteral("/stale/");
        QCOMPARE(detectInstrumentRoot(platform, path), disks.isEmpty() ? DetectionResult::DiskListUnavailable : DetectionResult::Found);
        QCOMPARE(path, devicePath);
        QCOMPARE(platform.rootPresent(devicePath), !devicePath.isEmpty());  // present while mounted
        QVERIFY(!platform.rootPresent(QStringLiteral("/bad/")) && !platform.rootPresent(QStringLiteral("/my/")));
    }

    // Instruments attached at start-up (loaded before the window is shown) and a folder opened
    // with Open File, then the instruments attached after an arrival or a removal.
    void deviceChanges_data()
    {
        QTest::addColumn<QStringList>("before");  // instrument roots in disk order
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("arrival");        // else a removal
        QTest::addColumn<QStringList>("result");
        const QString i = instrumentRoot, s = secondRoot, f = data.path() + "/folder", cwd = QDir::currentPath();
        const QStringList no, I{i}, IS{i, s}, S{s}, SI{s, i};
        QTest::newRow("empty strip, instrument plugged") << no << "" << I << true << expected(3, i, i);
        QTest::newRow("folder shown, instrument plugged") << no << f << I << true << expected(1, i, f);
        QTest::newRow("instrument shown, second plugged first") << I << "" << SI << true << expected(3, i, i);
        QTest::newRow("instrument shown, pulled") << I << "" << no << false << expected(0, "", cwd);
        QTest::newRow("instrument shown, pulled, second attached") << IS << "" << S << false << expected(2, s, s);
        // A second instrument that now comes first shows whether the first one was looked for again.
        QTest::newRow("instrument shown, other removed") << I << "" << SI << false << expected(3, i, i);
        QTest::newRow("folder shown, instrument pulled, second attached") << IS << f << S << false << expected(1, s, f);
        QTest::newRow("folder shown, instrument known, other removed") << I << f << SI << false << expected(1, i, f);
        QTest::newRow("folder shown, none known, removal") << no << f << I << false << expected(1, "", f);
        QTest::newRow("nothing loaded, removal finds an instrument") << no << "" << I << false << expected(3, i, i);
        QTest::newRow("instrument root opened as a folder, pulled") << I << i.chopped(1) << no << false
                                                                    << expected(3, "", i.chopped(1));
    }
    void deviceChanges()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, opened);
        QFETCH(QStringList, after);
        env->machine.plugInstruments(before);
        CDataManager window;
        QCOMPARE(shown(window), expected(before.isEmpty() ? 0 : 3, before.value(0), before.value(0)));
        env->dialogs->openAnswer = opened + "/1.jpg";
        QVERIFY(opened.isEmpty() || QMetaObject::invokeMethod(&window, "slot_loadDataDir"));
        env->machine.plugInstruments(after);
        QFETCH(bool, arrival);
        QVERIFY(QMetaObject::invokeMethod(&window, arrival ? "slot_deviceArrived" : "slot_deviceRemoved"));
        QTEST(shown(window), "result");
        QVERIFY(!window.loading() && env->dialogs->warnings.isEmpty());
    }

    // The card is pulled (or pulled and another put in its place) while its 30 files load; the
    // working folder holds A-scans of the same names, which must not come in.
    void removalWhileLoading_data()
    {
        QTest::addColumn<bool>("replug");
        QTest::newRow("pulled") << false;
        QTest::newRow("pulled and replaced within one event pass") << true;
    }
    void removalWhileLoading()
    {
        QFETCH(bool, replug);
        QTemporaryDir card, cwd;
        const QString root = card.path() + '/', previous = QDir::currentPath();
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        AscanFields fresh;
        fresh.title = "New card";
        bool pulled = false;
        for (int i = 1; i <= 30; ++i)
            QVERIFY(writeAscan(root + QString::number(i) + ".jpg", {}) && writeAscan(cwd.filePath(QString::number(i) + ".jpg"), {}));
        QVERIFY(QDir::setCurrent(cwd.path()));
        CDataManager window;
        CListWidgetHeir *strip = window.form()->fileListWidget;
        connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (strip->count() == 3 && !std::exchange(pulled, true))
                QMetaObject::invokeMethod(this, [&] {
                    env->machine.plugInstruments(replug ? QStringList{root} : QStringList());
                    env->machine.volume = "8:33";
                    QVERIFY(!replug || (QDir(root).removeRecursively() && writeText(root + "1.jpg", buildAscan(fresh))
                                        && writeText(root + "2.jpg", buildAscan(fresh))));
                    window.handleDeviceRemoval();
                    window.handleDeviceArrival();
                }, Qt::QueuedConnection);
        });
        env->machine.plugInstruments({root});
        env->machine.volume = "8:17";
        QVERIFY(QMetaObject::invokeMethod(&window, "slot_deviceArrived"));
        QCOMPARE(strip->paths(), replug ? QStringList({root + "/1.jpg", root + "/2.jpg"}) : QStringList());
        QVERIFY(!replug || strip->item(1)->text() == fresh.title);
        QCOMPARE(shown(window), replug ? expected(2, root, root) : expected(0, "", cwd.path()));
        QVERIFY(!window.loading() && !window.loadingWindow());
    }

    // A tmpfs mounted and unmounted, named the instrument's by a fake disk tree.
    void realMount()
    {
        if (!privateMounts)
            QSKIP("mounting a tmpfs needs root: the real mount table and its watcher were not exercised");
        const QString tree = sysDir, dir = data.path() + QStringLiteral("/instrument card"), root = dir + '/';
        QVERIFY(addDisk(tree, "sdw") && addDisk(tree, "sde") && QDir().mkpath(dir));
        setInstrumentPlatformFactory([tree] { return std::make_unique<LinuxInstrumentPlatform>(tree, "/proc/self/mountinfo"); });
        CDataManager window;
        QSignalSpy arrived(window.findChild<DeviceWatcher *>(), SIGNAL(deviceArrived()));
        QSignalSpy removed(window.findChild<DeviceWatcher *>(), SIGNAL(deviceRemoved()));
        // By the time the event loop runs again, the fake tree names the new mount's device as
        // the instrument's disk and the A-scans are there.
        QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=4m", "tmpfs", dir}), 0);
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {"-lq", dir}); });  // even when failing
        struct stat status;
        QCOMPARE(stat(QFile::encodeName(dir).constData(), &status), 0);
        QVERIFY(QFile::link("../../block/sde", tree + QStringLiteral("/dev/block/%1:%2").arg(major(status.st_dev)).arg(minor(status.st_dev))));
        for (const QString &name : QDir(instrumentRoot).entryList(QDir::Files))
            QVERIFY(QFile::copy(instrumentRoot + name, root + name));
        QTRY_COMPARE_WITH_TIMEOUT(shown(window), expected(3, root, root), 10000);
        QCOMPARE(QProcess::execute("umount", {dir}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(shown(window), expected(0, "", QDir::currentPath()), 10000);
        QCOMPARE((QVector<int>{arrived.count(), removed.count()}), (QVector<int>{1, 1}));  // a burst is one event
        QVERIFY(env->dialogs->warnings.isEmpty());
    }
};

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
