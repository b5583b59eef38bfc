// The instrument: detection over a fake platform and over fake system trees, the mount table
// parser, the window's reaction to arrivals and removals, and real tmpfs mounts.
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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

// Disks of a /sys lookalike, in the kernel's layout: devices/.../block/<name>/device/{vendor,
// model,rev[,inquiry]} (no vendor file for a null vendor), block/<name> linked there, and
// dev/block/MAJ:MIN linked to the disk and MAJ:MIN+1 to its partition <name>1.
struct SysDisk { QString name; int major, minor; QByteArray vendor, model, inquiry; };
const SysDisk sysDisks[] = {
    {"sda", 8, 0, "ATA     ", "Samsung SSD 870 EVO", {}},
    {"sdb", 8, 16, "KINETIS ", "Mass Storage    ", {}},  // vendor padded as the kernel shows it
    {"sdc", 8, 32, "NXP     ", "kinetis MSD     ", {}},
    {"sde", 8, 64, "USB     ", "Flash Disk", QByteArray("\x00\x80\x06\x02\x1f\x00\x00\x00KiNeTiS MSD", 19)},
    {"sdk", 8, 160, "KINETIS ", "Flaw detector   ", {}},
    {"sdz", 65, 144, QByteArray(250, 'V'), "KINETIS", {}},  // the id lies past the 256 bytes
    {"nvme0n1", 259, 0, QByteArray(), "KINETIS NVMe", {}},
};

void addDisk(const QString &sys, const QString &name)
{
    const SysDisk &disk = *std::find_if(std::begin(sysDisks), std::end(sysDisks),
                                        [&](const SysDisk &d) { return d.name == name; });
    const QString folder = "devices/pci0000:00/usb1/host6/block/" + name, device = sys + '/' + folder + "/device/";
    QVERIFY(writeText(device + "model", disk.model + '\n') && writeText(device + "rev", "1.00\n"));
    QVERIFY(disk.vendor.isNull() || writeText(device + "vendor", disk.vendor + '\n'));
    QVERIFY(disk.inquiry.isEmpty() || writeText(device + "inquiry", disk.inquiry));
    QVERIFY(writeText(sys + '/' + folder + '/' + name + "1/partition", "1\n"));
    QVERIFY(QDir().mkpath(sys + "/block") && QDir().mkpath(sys + "/dev/block"));
    QVERIFY(QFile::link("../" + folder, sys + "/block/" + name));
    const QString dev = sys + QStringLiteral("/dev/block/%1:%2");
    QVERIFY(QFile::link("../../" + folder, dev.arg(disk.major).arg(disk.minor)));
    QVERIFY(QFile::link("../../" + folder + '/' + name + '1', dev.arg(disk.major).arg(disk.minor + 1)));
}

QByteArray mountLine(const QByteArray &majorMinor, const QByteArray &mountPoint)
{
    return "30 1 " + majorMinor + " / " + mountPoint + " rw,relatime shared:7 - vfat /dev/x rw\n";
}

} // namespace

Q_DECLARE_METATYPE(FakeMachine::Disk)
Q_DECLARE_METATYPE(DetectionResult)

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir data;
    QString instrumentRoot, secondRoot, folderDir, mounted;
    std::unique_ptr<FakeEnvironment> env;
    QByteArray savedDirFile;
    bool hadSavedDirFile = false;

    QString sysDir() const { return data.path() + QStringLiteral("/sys"); }

private slots:
    void initTestCase()
    {
        instrumentRoot = data.path() + "/instrument/";
        secondRoot = data.path() + "/second/";
        folderDir = data.path() + "/folder";
        for (const auto &dir : QVector<QPair<QString, int>>{{instrumentRoot, 3}, {secondRoot, 2}, {folderDir + '/', 1}})
            for (int i = 1; i <= dir.second; ++i)
                QVERIFY(writeText(dir.first + QString::number(i) + ".jpg", buildAscan(AscanFields())));
        // The window starts in the remembered save directory; these tests start with none.
        QFile saved(CDataManager::saveDirFilePath());
        if ((hadSavedDirFile = saved.open(QIODevice::ReadOnly))) {
            savedDirFile = saved.readAll();
            QVERIFY(saved.remove());
        }
    }
    void cleanupTestCase() { QVERIFY(!hadSavedDirFile || writeBytes(CDataManager::saveDirFilePath(), savedDirFile)); }
    void init()
    {
        env = std::make_unique<FakeEnvironment>();
    }
    void cleanup()
    {
        if (!mounted.isEmpty())  // a failed test leaves nothing mounted
            QProcess::execute("umount", {"-l", mounted});
        mounted.clear();
        env.reset();
        QDir(sysDir()).removeRecursively();
    }

    void detection_data()
    {
        QTest::addColumn<QVector<FakeMachine::Disk>>("disks");
        QTest::addColumn<Drives>("drives");
        QTest::addColumn<DetectionResult>("result");
        QTest::addColumn<QString>("devicePath");

        using Disks = QVector<FakeMachine::Disk>;
        const FakeMachine::Disk ata{storageDescriptor("ATA", "Samsung SSD")}, inst{storageDescriptor("KINETIS")};
        const Drives ce{{"C:/", 0}, {"E:/", 1}};
        const QString e = QStringLiteral("E:") + QDir::separator(), f = QStringLiteral("F:") + QDir::separator();
        const auto found = DetectionResult::Found, none = DetectionResult::NotFound;
        QTest::newRow("no instrument") << Disks{ata, {storageDescriptor("SanDisk", "Cruzer")}} << ce << none << "";
        QTest::newRow("KINETIS in vendor") << Disks{ata, inst} << ce << found << e;
        QTest::newRow("Kinetis in product") << Disks{ata, {storageDescriptor("NXP", "Kinetis MSD")}} << ce << found << e;
        QTest::newRow("kinetis in serial") << Disks{ata, {storageDescriptor("NXP", "MSD", "kinetis-42")}} << ce << found << e;
        QTest::newRow("id ends the 256 bytes") << Disks{ata, {QByteArray(249, '\0') + "KINETIS"}} << ce << found << e;
        QTest::newRow("id split by a zero byte") << Disks{ata, {storageDescriptor(QByteArray("KINE\0TIS", 8))}} << ce << none << "";
        QTest::newRow("instrument without a drive") << Disks{ata, inst} << Drives{{"C:/", 0}, {"E:/", -1}} << none << "";
        QTest::newRow("two drives on the instrument: the last wins")
            << Disks{ata, inst} << Drives{{"C:/", 0}, {"E:/", 1}, {"F:/", 1}, {"G:/", 0}} << found << f;
        QTest::newRow("two instruments: the first disk wins")
            << Disks{ata, inst, {storageDescriptor("KINETIS", "second")}} << Drives{{"E:/", 2}, {"F:/", 1}} << found << f;
        QTest::newRow("unreadable disk skipped")
            << Disks{{storageDescriptor("KINETIS"), false}, inst} << Drives{{"D:/", 0}, {"E:/", 1}} << found << e;
        QTest::newRow("disk list unavailable") << Disks{inst} << Drives{{"E:/", 0}} << DetectionResult::DiskListUnavailable << "";
    }
    void detection()
    {
        QFETCH(QVector<FakeMachine::Disk>, disks);
        QFETCH(Drives, drives);
        QFETCH(DetectionResult, result);
        QFETCH(QString, devicePath);
        FakeMachine &sys = env->machine;
        sys = {result != DetectionResult::DiskListUnavailable, disks, drives};
        FakePlatform platform(&sys);
        QString path = QStringLiteral("Z:/stale/");  // emptied first, set only on success
        QCOMPARE(detectInstrumentRoot(platform, path), result);
        QCOMPARE(path, devicePath);
        QCOMPARE(env->machine.opened, 1);  // the list is released exactly once when it was taken
        QCOMPARE(env->machine.closed, env->machine.listAvailable ? 1 : 0);
    }

    void diskListWarning()
    {
        env->machine.listAvailable = false;
        CDataManager window;
        QCOMPARE(env->dialogs->warnings, QStringList{"Unable to get system information about present disks!"});
        QCOMPARE(env->dialogs->warningTitles, QStringList{"Scanlet"});
        QVERIFY(QMetaObject::invokeMethod(&window, "slot_deviceArrived"));  // detects and warns again
        QCOMPARE(env->dialogs->warnings.size(), 2);
    }

    void linuxDetection_data()
    {
        QTest::addColumn<QStringList>("disks");  // none: the tree has no block folder
        QTest::addColumn<QByteArray>("mountInfo");
        QTest::addColumn<QString>("devicePath");

        const QStringList usual{"sda", "sdb"};
        const QByteArray root = mountLine("8:1", "/");
        QTest::newRow("whole disk, escaped space, last mount wins")
            << usual << mountLine("8:17", "/media/a") + root + mountLine("8:16", "/media/my\\040card") << "/media/my card/";
        QTest::newRow("lower-case model") << QStringList{"sda", "sdc"} << root + mountLine("8:32", "/media/nxp") << "/media/nxp/";
        QTest::newRow("vendor only in the raw inquiry bytes")
            << QStringList{"sda", "sde"} << root + mountLine("8:65", "/media/usb") << "/media/usb/";
        QTest::newRow("partition resolves to its disk; two instruments: the first disk wins")
            << QStringList{"sdc", "sdb"} << mountLine("8:17", "/media/scan") + mountLine("8:32", "/media/nxp") << "/media/scan/";
        QTest::newRow("disk without a vendor file skipped")
            << QStringList{"nvme0n1", "sdb"} << mountLine("259:0", "/") + mountLine("8:17", "/media/scan") << "/media/scan/";
        QTest::newRow("id past the 256 bytes") << QStringList{"sda", "sdz"} << root + mountLine("65:144", "/media/z") << "";
        QTest::newRow("instrument without a mount") << usual << root + mountLine("0:45", "/run/user") << "";
        QTest::newRow("no block folder") << QStringList{} << root + mountLine("8:16", "/media/scan") << "";
    }
    void linuxDetection()
    {
        QFETCH(QStringList, disks);
        QFETCH(QByteArray, mountInfo);
        QFETCH(QString, devicePath);
        for (const QString &name : qAsConst(disks))
            addDisk(sysDir(), name);
        const QString mountInfoPath = data.path() + QStringLiteral("/mountinfo");
        QVERIFY(writeText(mountInfoPath, mountInfo));
        LinuxInstrumentPlatform platform(sysDir(), mountInfoPath);
        QString path = QStringLiteral("/stale/");
        QCOMPARE(detectInstrumentRoot(platform, path), disks.isEmpty() ? DetectionResult::DiskListUnavailable
                                                       : devicePath.isEmpty() ? DetectionResult::NotFound : DetectionResult::Found);
        QCOMPARE(path, devicePath);
        QCOMPARE(platform.rootPresent(devicePath), !devicePath.isEmpty());  // present while mounted
        QVERIFY(!platform.rootPresent(QStringLiteral("/media/")));
    }

    void parseMountInfo_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("entries");  // "MAJ:MIN|mount point"
        QTest::newRow("optional fields; escapes, one at the very end; no final newline")
            << QByteArray("36 35 98:0 /mnt1 /m/a\\040b\\011c\\012d\\134e\\040 rw shared:1 master:2 - ext3 /dev/root rw")
            << QStringList{"98:0|/m/a b\tc\nd\\e "};
        QTest::newRow("UTF-8, backslash without three octal digits kept")
            << mountLine("8:1", "/media/\xd0\xba\xd0\xb0\xd1\x80\xd1\x82\xd0\xb0\\09\\")
            << QStringList{QString::fromUtf8("8:1|/media/карта\\09\\")};
        QTest::newRow("order kept, blank and malformed lines skipped")
            << QByteArray("\n1 0 8:1 / / rw - ext4 /dev/sda1 rw\n\n"
                          "1 0 8:1 / /short rw - ext4\n"                     // no source after the type
                          "2 0 81 / /nocolon rw - ext4 /dev/a rw\n"          // no MAJ:MIN
                          "3 0 a:b / /letters rw - ext4 /dev/a rw\n"
                          "4 0 8:1 / /nosep rw shared:1 ext4 /dev/a rw x\n"  // no separator
                          "garbage\n5 0 0:45 / /run rw - tmpfs tmpfs rw\n")
            << QStringList{"8:1|/", "0:45|/run"};
    }
    void parseMountInfo()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, entries);
        QStringList got;
        for (const MountEntry &entry : ::parseMountInfo(text))
            got << entry.device + '|' + entry.mountPoint;
        QCOMPARE(got, entries);
    }

    // Each situation before the event (instruments attached, what the strip shows) x arrival or
    // removal -> strip, device root, data directory, go-to-instrument button.
    void deviceChanges_data()
    {
        QTest::addColumn<QStringList>("before");  // instrument roots in disk order
        QTest::addColumn<QString>("opened");      // folder opened with Open File after start
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("arrival");        // else a removal
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<bool>("button");

        const QString i = instrumentRoot, s = secondRoot, f = folderDir, cwd = QDir::currentPath();
        const QStringList no, I{i}, IS{i, s}, S{s}, SI{s, i};
        QTest::newRow("empty strip, instrument plugged") << no << "" << I << true << 3 << i << i << true;
        QTest::newRow("folder shown, instrument plugged") << no << f << I << true << 1 << i << f << true;
        QTest::newRow("folder shown, other device arrives") << no << f << no << true << 1 << "" << f << false;
        QTest::newRow("instrument shown, second plugged first") << I << "" << SI << true << 3 << i << i << true;
        QTest::newRow("instrument shown, pulled") << I << "" << no << false << 0 << "" << cwd << false;
        QTest::newRow("instrument shown, pulled, second attached") << IS << "" << S << false << 2 << s << s << true;
        // A second instrument that now comes first shows whether the first one was looked for again.
        QTest::newRow("instrument shown, other removed") << I << "" << SI << false << 3 << i << i << true;
        QTest::newRow("folder shown, instrument pulled, second attached") << IS << f << S << false << 1 << s << f << true;
        QTest::newRow("folder shown, instrument known, other removed") << I << f << SI << false << 1 << i << f << true;
        QTest::newRow("folder shown, none known, removal") << no << f << I << false << 1 << "" << f << false;
        QTest::newRow("nothing loaded, removal finds an instrument") << no << "" << I << false << 3 << i << i << true;
        QTest::newRow("instrument root opened as a folder, pulled")
            << I << i.chopped(1) << no << false << 3 << "" << i.chopped(1) << false;
    }
    void deviceChanges()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, opened);
        QFETCH(QStringList, after);
        QFETCH(bool, arrival);
        QFETCH(int, count);
        QFETCH(QString, device);
        QFETCH(QString, dataDir);
        QFETCH(bool, button);
        env->machine.plugInstruments(before);
        CDataManager window;
        env->dialogs->openAnswer = opened + "/1.jpg";
        QVERIFY(opened.isEmpty() || QMetaObject::invokeMethod(&window, "slot_loadDataDir"));
        env->machine.plugInstruments(after);
        QVERIFY(QMetaObject::invokeMethod(&window, arrival ? "slot_deviceArrived" : "slot_deviceRemoved"));
        QCOMPARE(window.form()->fileListWidget->count(), count);
        QCOMPARE(window.deviceRoot(), device);
        QCOMPARE(window.dataDirectory(), dataDir);
        QCOMPARE(window.form()->tbtn_gotoDevice->isEnabled(), button);
        QVERIFY(!window.loading());
        QCOMPARE(env->dialogs->warnings, QStringList());
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
        const auto write = [](const QString &dir, int count, const QByteArray &title) {
            AscanFields ascan;
            ascan.title = title;
            for (int i = 1; i <= 30; ++i) {
                const QString path = dir + QStringLiteral("/%1.jpg").arg(i);
                QVERIFY(i > count ? QFile::remove(path) : writeAscan(path, ascan));
            }
        };
        write(card.path(), 30, "Old card");
        write(cwd.path(), 30, "Working folder");
        const QString previous = QDir::currentPath();
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(cwd.path()));
        CDataManager window;
        CListWidgetHeir *strip = window.form()->fileListWidget;
        connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (strip->count() == 3 && strip->item(0)->text() == "Old card")
                QMetaObject::invokeMethod(this, [&] {
                    env->machine.plugInstruments(replug ? QStringList{card.path() + '/'} : QStringList());
                    env->machine.volume = "8:33";
                    if (replug)
                        write(card.path(), 2, "New card");
                    window.handleDeviceRemoval();
                    window.handleDeviceArrival();
                }, Qt::QueuedConnection);
        });
        env->machine.plugInstruments({card.path() + '/'});
        env->machine.volume = "8:17";
        QVERIFY(QMetaObject::invokeMethod(&window, "slot_deviceArrived"));

        QStringList items;
        for (int row = 0; row < strip->count(); ++row)
            items << strip->item(row)->text() + " " + strip->paths().at(row);
        const QString fresh = "New card " + card.path() + "//%1.jpg";
        QCOMPARE(items, (replug ? QStringList{fresh.arg(1), fresh.arg(2)} : QStringList()));
        QCOMPARE(window.dataDirectory(), replug ? card.path() + '/' : cwd.path());
        QVERIFY(!window.loading() && !window.loadingWindow());
    }

    void startUpWithInstrument()
    {
        env->machine.plugInstruments({instrumentRoot});
        CDataManager window;
        QVERIFY(!window.isVisible());  // loaded by the constructor, before the window is first shown
        QCOMPARE(window.form()->fileListWidget->count(), 3);
        QCOMPARE(window.dataDirectory(), instrumentRoot);
        QVERIFY(window.form()->tbtn_gotoDevice->isEnabled());
    }

    // A tmpfs mounted and unmounted, named the instrument's by a fake disk tree.
    void realMount()
    {
        if (!privateMounts)
            QSKIP("mounting a tmpfs needs root: the real mount table and its watcher were not exercised");
        const QString tree = sysDir();
        addDisk(tree, "sda");
        addDisk(tree, "sdk");
        setInstrumentPlatformFactory([tree] { return std::make_unique<LinuxInstrumentPlatform>(tree, "/proc/self/mountinfo"); });
        CDataManager window;
        QSignalSpy arrived(window.findChild<DeviceWatcher *>(), SIGNAL(deviceArrived()));
        QSignalSpy removed(window.findChild<DeviceWatcher *>(), SIGNAL(deviceRemoved()));
        QCOMPARE(window.form()->fileListWidget->count(), 0);

        // By the time the event loop runs again, the fake tree names the new mount's device as
        // the instrument's disk and the A-scans are there.
        const QString dir = data.path() + QStringLiteral("/instrument card");
        QVERIFY(QDir().mkpath(dir));
        QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=4m", "tmpfs", dir}), 0);
        mounted = dir;
        struct stat status;
        QCOMPARE(stat(QFile::encodeName(dir).constData(), &status), 0);
        const QString device = QStringLiteral("%1:%2").arg(major(status.st_dev)).arg(minor(status.st_dev));
        QVERIFY(QFile::link("../../block/sdk", tree + "/dev/block/" + device));
        QCOMPARE(LinuxInstrumentPlatform(tree, "/proc/self/mountinfo").rootIdentity(dir + '/'), device);
        for (const QString &name : QDir(instrumentRoot).entryList(QDir::Files))
            QVERIFY(QFile::copy(instrumentRoot + name, dir + '/' + name));
        QTRY_COMPARE_WITH_TIMEOUT(window.form()->fileListWidget->count(), 3, 10000);
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(window.deviceRoot(), dir + '/');
        QCOMPARE(window.dataDirectory(), window.deviceRoot());
        QVERIFY(window.form()->tbtn_gotoDevice->isEnabled());

        QCOMPARE(QProcess::execute("umount", {dir}), 0);
        mounted.clear();
        QTRY_COMPARE_WITH_TIMEOUT(window.form()->fileListWidget->count(), 0, 10000);
        QCOMPARE(removed.count(), 1);
        QVERIFY(window.deviceRoot().isEmpty());
        QCOMPARE(window.dataDirectory(), QDir::currentPath());
        QVERIFY(!window.form()->tbtn_gotoDevice->isEnabled());
        QCOMPARE(env->dialogs->warnings, QStringList());
    }
};

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
