// The instrument: detection over a fake platform and over fake system trees, the mount table
// parser and watcher, the window's reaction to arrivals and removals, and real tmpfs mounts.
#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>

#include <unistd.h>

#include "acquisition/instrumentdetection.h"
#include "acquisition/instrumentplatform.h"
#include "acquisition/platform/linuxplatform.h"
#include "acquisition/platform/mountinfo.h"
#include "acquisition/platform/mountwatcher.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanbuilder.h"
#include "ui_cdatamanager.h"

namespace {

struct FakeDisk
{
    QByteArray descriptor;
    bool readable = true;
};

struct FakeDrive
{
    QString root;  // "E:/"
    int disk;      // what the volume query answers; -1 when the volume cannot be opened
};

// The system the fake platform answers from; tests change it between events.
struct FakeSystem
{
    bool listAvailable = true;
    QVector<FakeDisk> disks;
    QVector<FakeDrive> drives;
    int opened = 0;
    int closed = 0;
};

class FakePlatform : public InstrumentPlatform
{
public:
    explicit FakePlatform(FakeSystem *system) : sys(system) {}

    bool openDiskList() override { ++sys->opened; return sys->listAvailable; }
    void closeDiskList() override { ++sys->closed; }
    bool diskAt(int index) override { return index >= 0 && index < sys->disks.size(); }
    bool readDiskDescriptor(int index, QByteArray &descriptor) override
    {
        const QByteArray bytes = sys->disks.at(index).descriptor.left(descriptor.size());
        descriptor.replace(0, bytes.size(), bytes);
        return sys->disks.at(index).readable;
    }
    QStringList driveRoots() override
    {
        QStringList roots;
        for (const FakeDrive &drive : qAsConst(sys->drives))
            roots.append(drive.root);
        return roots;
    }
    int volumeDiskNumber(const QString &drive) override
    {
        const int i = driveRoots().indexOf(drive + QLatin1Char('/'));
        return i < 0 ? -1 : sys->drives.at(i).disk;
    }
    bool rootPresent(const QString &root) override { return driveRoots().contains(root); }

private:
    FakeSystem *sys;
};

// A STORAGE_DEVICE_DESCRIPTOR: a binary header with zero bytes, then NUL-terminated strings.
QByteArray descriptor(const QByteArray &vendor, const QByteArray &product = "Disk",
                      const QByteArray &revision = "1.0", const QByteArray &serial = "0001")
{
    QByteArray bytes(40, '\0');
    bytes[0] = 0x01;
    bytes[4] = 0x28;
    bytes[8] = 0x07;
    return bytes + vendor + '\0' + product + '\0' + revision + '\0' + serial + '\0';
}

FakeDisk disk(const QByteArray &bytes, bool readable = true) { return {bytes, readable}; }

void plug(FakeSystem &sys, const QString &root, bool first = false)
{
    const int index = first ? 0 : sys.disks.size();
    for (FakeDrive &drive : sys.drives)
        drive.disk += drive.disk >= index ? 1 : 0;
    sys.disks.insert(index, disk(descriptor("KINETIS", "Flaw detector")));
    sys.drives.append({root, index});
}

void unplug(FakeSystem &sys, const QString &root)
{
    for (int i = 0; i < sys.drives.size(); ++i) {
        if (sys.drives.at(i).root != root)
            continue;
        const int index = sys.drives.takeAt(i).disk;
        sys.disks.removeAt(index);
        for (FakeDrive &drive : sys.drives)
            drive.disk -= drive.disk > index ? 1 : 0;
        return;
    }
}

class FakeDialogs : public Dialogs
{
public:
    QString openAnswer;
    QStringList warnings;  // "title|text"

    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return openAnswer;
    }
    QMessageBox::StandardButton warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings.append(title + QLatin1Char('|') + text);
        return QMessageBox::Ok;
    }
};

bool writeAscans(const QString &dir, int count)
{
    QDir().mkpath(dir);
    for (int i = 1; i <= count; ++i) {
        AscanFields ascan;
        ascan.title = "Scan " + QByteArray::number(i);
        if (!writeAscan(dir + QStringLiteral("/%1.jpg").arg(i), ascan))
            return false;
    }
    return true;
}

bool writeText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeBytes(path, text);
}

// <sys>/dev/block/MAJ:MIN -> ../../<target>, as the kernel links them.
void linkBlock(const QString &sys, const QString &majorMinor, const QString &target)
{
    const QString link = sys + QStringLiteral("/dev/block/") + majorMinor;
    QDir().mkpath(sys + QStringLiteral("/dev/block"));
    QFile::remove(link);
    QFile::link(QStringLiteral("../../") + target, link);
}

// A disk of a /sys lookalike: block/<name>/device/{vendor,model,rev[,inquiry]}. With `devices`
// its folder lies under devices/ and block/<name> links there, as on a real system.
void addDisk(const QString &sys, const QString &name, const QString &majorMinor, const QByteArray &vendor,
             const QByteArray &model, const QByteArray &inquiry = QByteArray(), const QString &devices = QString())
{
    const QString folder = devices.isEmpty() ? QStringLiteral("block/") + name
                                             : QStringLiteral("devices/") + devices + QStringLiteral("/block/") + name;
    const QString device = sys + QLatin1Char('/') + folder + QStringLiteral("/device/");
    QDir().mkpath(device);
    QDir().mkpath(sys + QStringLiteral("/block"));
    if (!devices.isEmpty())
        QFile::link(QStringLiteral("../") + folder, sys + QStringLiteral("/block/") + name);
    if (!vendor.isNull())
        writeText(device + QStringLiteral("vendor"), vendor + '\n');
    writeText(device + QStringLiteral("model"), model + '\n');
    writeText(device + QStringLiteral("rev"), "1.00\n");
    if (!inquiry.isEmpty())
        writeText(device + QStringLiteral("inquiry"), inquiry);
    linkBlock(sys, majorMinor, folder);
}

void addPartition(const QString &sys, const QString &disk, const QString &name, const QString &majorMinor)
{
    const QString folder = QStringLiteral("block/") + disk + QLatin1Char('/') + name;
    writeText(sys + QLatin1Char('/') + folder + QStringLiteral("/partition"), "1\n");
    linkBlock(sys, majorMinor, folder);
}

// The fake trees' disks: a system disk, two instruments, a disk without a vendor file, a USB
// disk that names the vendor only in its raw inquiry bytes, a loop device (no device folder).
void addCatalogueDisk(const QString &sys, const QString &name)
{
    if (name == QLatin1String("sda")) {
        addDisk(sys, name, "8:0", "ATA     ", "Samsung SSD 870 EVO");
        addPartition(sys, name, "sda1", "8:1");
    } else if (name == QLatin1String("sdb")) {
        addDisk(sys, name, "8:16", "KINETIS ", "Mass Storage    ");
        addPartition(sys, name, "sdb1", "8:17");
        addPartition(sys, name, "sdb2", "8:18");
    } else if (name == QLatin1String("sdc")) {
        addDisk(sys, name, "8:32", "NXP     ", "kinetis MSD     ", QByteArray(), "pci0000:00/usb1/1-2/host6/6:0:0:0");
    } else if (name == QLatin1String("nvme0n1")) {
        addDisk(sys, name, "259:0", QByteArray(), "KINETIS NVMe");
    } else if (name == QLatin1String("sde")) {
        addDisk(sys, name, "8:64", "USB     ", "Flash Disk", QByteArray("\x00\x80\x06\x02\x1f\x00\x00\x00KiNeTiS MSD", 19));
    } else if (name == QLatin1String("loop0")) {
        QDir().mkpath(sys + QStringLiteral("/block/loop0"));
        linkBlock(sys, "7:0", "block/loop0");
    }
}

QByteArray mountLine(int id, const QByteArray &majorMinor, const QByteArray &mountPoint)
{
    return QByteArray::number(id) + " 1 " + majorMinor + " / " + mountPoint + " rw,relatime shared:7 - vfat /dev/x rw\n";
}

// MAJ:MIN of the mount at `mountPoint`, read straight from the kernel's table.
QString majorMinorOf(QString mountPoint)
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    mountPoint.replace(QLatin1Char(' '), QStringLiteral("\\040"));
    QString found;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && QString::fromUtf8(fields.at(4)) == mountPoint)
            found = QString::fromLatin1(fields.at(2));
    }
    return found;
}

} // namespace

Q_DECLARE_METATYPE(FakeDisk)
Q_DECLARE_METATYPE(FakeDrive)

class TestAcquisition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void detection_data();
    void detection();
    void detectionWarningInWindow();

    void linuxDetection_data();
    void linuxDetection();
    void linuxLayer();
    void parseMountInfo_data();
    void parseMountInfo();
    void compareMountTables_data();
    void compareMountTables();

    void deviceChanges_data();
    void deviceChanges();
    void startUpWithInstrument();

    void realMountWatcher();
    void realMountInWindow();

private:
    CDataManager *newWindow();
    bool mountTmpfs(const QString &dir);

    QTemporaryDir data;
    QTemporaryDir sysTree;
    QString instrumentDir, secondDir, folderDir;
    FakeSystem sys;
    FakeDialogs *dialogs = nullptr;
    QStringList mounted;
    QByteArray savedDirFile;
    bool hadSavedDirFile = false;
};

void TestAcquisition::initTestCase()
{
    QVERIFY(data.isValid());
    instrumentDir = data.path() + QStringLiteral("/instrument");
    secondDir = data.path() + QStringLiteral("/second");
    folderDir = data.path() + QStringLiteral("/folder");
    QVERIFY(writeAscans(instrumentDir, 3));
    QVERIFY(writeAscans(secondDir, 1));
    QVERIFY(writeAscans(folderDir, 2));
    // The window starts in the remembered save directory; these tests start with none.
    QFile saved(CDataManager::saveDirFilePath());
    hadSavedDirFile = saved.open(QIODevice::ReadOnly);
    if (hadSavedDirFile) {
        savedDirFile = saved.readAll();
        saved.close();
        saved.remove();
    }
}

void TestAcquisition::cleanupTestCase()
{
    if (hadSavedDirFile)
        writeBytes(CDataManager::saveDirFilePath(), savedDirFile);
}

void TestAcquisition::cleanup()
{
    while (!mounted.isEmpty()) {
        const QString dir = mounted.takeLast();
        if (!majorMinorOf(dir).isEmpty() && QProcess::execute(QStringLiteral("umount"), {dir}) != 0)
            QProcess::execute(QStringLiteral("umount"), {"-l", dir});
    }
    setInstrumentPlatformFactory(nullptr);
    Dialogs::install(nullptr);
    dialogs = nullptr;
    sys = FakeSystem();
    QDir(sysTree.path()).removeRecursively();
}

CDataManager *TestAcquisition::newWindow()
{
    dialogs = new FakeDialogs;
    Dialogs::install(dialogs);
    FakeSystem *system = &sys;
    setInstrumentPlatformFactory([system] { return std::make_unique<FakePlatform>(system); });
    return new CDataManager;
}

void TestAcquisition::detection_data()
{
    QTest::addColumn<QVector<FakeDisk>>("disks");
    QTest::addColumn<QVector<FakeDrive>>("drives");
    QTest::addColumn<bool>("listAvailable");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("devicePath");

    using Disks = QVector<FakeDisk>;
    using Drives = QVector<FakeDrive>;
    const FakeDisk ata = disk(descriptor("ATA", "Samsung SSD"));
    const FakeDisk inst = disk(descriptor("KINETIS"));
    const QString e = QStringLiteral("E:") + QDir::separator();
    const QString f = QStringLiteral("F:") + QDir::separator();
    const int found = int(DetectionResult::Found);
    const int none = int(DetectionResult::NotFound);
    const Drives ce = {{"C:/", 0}, {"E:/", 1}};

    QTest::newRow("no disks") << Disks{} << Drives{} << true << none << QString();
    QTest::newRow("no instrument") << Disks{ata, disk(descriptor("SanDisk", "Cruzer"))} << ce << true << none << QString();
    QTest::newRow("KINETIS in vendor") << Disks{ata, inst} << ce << true << found << e;
    QTest::newRow("Kinetis in product") << Disks{ata, disk(descriptor("NXP", "Kinetis MSD"))} << ce << true << found << e;
    QTest::newRow("kinetis in serial") << Disks{ata, disk(descriptor("NXP", "MSD", "1.0", "kinetis-42"))} << ce << true << found << e;
    QTest::newRow("KiNeTiS in revision") << Disks{ata, disk(descriptor("", "", "KiNeTiS"))} << ce << true << found << e;
    QTest::newRow("id after NUL padding, at the buffer's end")
        << Disks{ata, disk(QByteArray(249, '\0') + "KINETIS")} << ce << true << found << e;
    QTest::newRow("id split by a NUL byte") << Disks{ata, disk(descriptor(QByteArray("KINE\0TIS", 8)))} << ce << true << none << QString();
    QTest::newRow("id beside invalid UTF-8") << Disks{ata, disk("\xff\xfe\x80KINETIS\xc3")} << ce << true << found << e;
    QTest::newRow("instrument without a drive") << Disks{ata, inst} << Drives{{"C:/", 0}} << true << none << QString();
    QTest::newRow("volume that cannot be opened") << Disks{inst} << Drives{{"E:/", -1}} << true << none << QString();
    QTest::newRow("two drives on the instrument: the last wins")
        << Disks{ata, inst} << Drives{{"C:/", 0}, {"E:/", 1}, {"F:/", 1}, {"G:/", 0}} << true << found << f;
    QTest::newRow("two instruments: the first disk wins")
        << Disks{ata, inst, disk(descriptor("KINETIS", "second"))} << Drives{{"E:/", 2}, {"F:/", 1}} << true << found << f;
    QTest::newRow("unreadable disk skipped") << Disks{disk(descriptor("KINETIS"), false), inst}
                                             << Drives{{"D:/", 0}, {"E:/", 1}} << true << found << e;
    QTest::newRow("disk list unavailable") << Disks{inst} << Drives{{"E:/", 0}} << false
                                           << int(DetectionResult::DiskListUnavailable) << QString();
}

void TestAcquisition::detection()
{
    QFETCH(QVector<FakeDisk>, disks);
    QFETCH(QVector<FakeDrive>, drives);
    QFETCH(bool, listAvailable);
    QFETCH(int, result);
    QFETCH(QString, devicePath);

    sys.disks = disks;
    sys.drives = drives;
    sys.listAvailable = listAvailable;
    FakePlatform platform(&sys);
    QString path = QStringLiteral("Z:/stale/");  // emptied first, set only on success
    QCOMPARE(int(detectInstrumentRoot(platform, path)), result);
    QCOMPARE(path, devicePath);
    // The list is released exactly once when it was taken, on every way out.
    QCOMPARE(sys.opened, 1);
    QCOMPARE(sys.closed, listAvailable ? 1 : 0);
}

void TestAcquisition::detectionWarningInWindow()
{
    sys.listAvailable = false;
    std::unique_ptr<CDataManager> window(newWindow());
    const QString warning = QStringLiteral("Scanlet|Unable to get system information about present disks!");
    QCOMPARE(dialogs->warnings, QStringList{warning});
    QVERIFY(window->deviceRoot().isEmpty());
    QVERIFY(!window->form()->tbtn_gotoDevice->isEnabled());

    // A device change runs the detection again, and warns again.
    QVERIFY(QMetaObject::invokeMethod(window.get(), "slot_deviceArrived"));
    QCOMPARE(dialogs->warnings, QStringList({warning, warning}));
    QVERIFY(!window->form()->tbtn_gotoDevice->isEnabled());
}

void TestAcquisition::linuxDetection_data()
{
    QTest::addColumn<QStringList>("disks");
    QTest::addColumn<QByteArray>("mountInfo");
    QTest::addColumn<QString>("devicePath");

    const QStringList usual{"sda", "sdb"};
    const QByteArray root = mountLine(20, "8:1", "/");
    QTest::newRow("vendor padded with spaces, whole disk mounted")
        << usual << root + mountLine(30, "8:16", "/media/scan") << "/media/scan/";
    QTest::newRow("partition resolves to its disk") << usual << root + mountLine(30, "8:17", "/media/scan") << "/media/scan/";
    QTest::newRow("mount point with an escaped space")
        << usual << root + mountLine(30, "8:17", "/media/my\\040card") << "/media/my card/";
    QTest::newRow("last of several mounts wins")
        << usual << mountLine(30, "8:17", "/media/a") + root + mountLine(31, "8:18", "/media/b") + mountLine(32, "8:1", "/home")
        << "/media/b/";
    QTest::newRow("unresolvable mount after the instrument's")
        << usual << mountLine(30, "8:17", "/media/scan") + mountLine(31, "8:48", "/media/gone") << "/media/scan/";
    QTest::newRow("lower-case model, disk reached through devices/")
        << QStringList{"sda", "sdc"} << root + mountLine(30, "8:32", "/media/nxp") << "/media/nxp/";
    QTest::newRow("vendor only in the raw inquiry bytes")
        << QStringList{"sda", "sde"} << root + mountLine(30, "8:64", "/media/usb") << "/media/usb/";
    QTest::newRow("two instruments: the first disk wins")
        << QStringList{"sda", "sdb", "sdc"} << mountLine(30, "8:17", "/media/scan") + mountLine(31, "8:32", "/media/nxp")
        << "/media/scan/";
    QTest::newRow("disk without a vendor file skipped")
        << QStringList{"nvme0n1", "sda", "sdb"} << mountLine(30, "259:0", "/") + mountLine(31, "8:17", "/media/scan")
        << "/media/scan/";
    QTest::newRow("instrument without a mount") << usual << root << QString();
    QTest::newRow("no instrument; loop device and tmpfs mounted")
        << QStringList{"sda", "loop0"} << root + mountLine(30, "7:0", "/snap/core") + mountLine(31, "0:45", "/run/user")
        << QString();
}

void TestAcquisition::linuxDetection()
{
    QFETCH(QStringList, disks);
    QFETCH(QByteArray, mountInfo);
    QFETCH(QString, devicePath);

    for (const QString &name : qAsConst(disks))
        addCatalogueDisk(sysTree.path(), name);
    const QString mountInfoPath = data.path() + QStringLiteral("/mountinfo");
    QVERIFY(writeText(mountInfoPath, mountInfo));

    LinuxInstrumentPlatform platform(sysTree.path(), mountInfoPath);
    QString path;
    const DetectionResult result = detectInstrumentRoot(platform, path);
    QCOMPARE(path, devicePath);
    QCOMPARE(result, devicePath.isEmpty() ? DetectionResult::NotFound : DetectionResult::Found);
    QCOMPARE(platform.rootPresent(devicePath), !devicePath.isEmpty());
}

void TestAcquisition::linuxLayer()
{
    const QString root = sysTree.path();
    for (const char *name : {"sdc", "sdb", "loop0", "nvme0n1", "sda"})
        addCatalogueDisk(root, QString::fromLatin1(name));
    addDisk(root, QStringLiteral("sdz"), QStringLiteral("65:144"), QByteArray(200, 'V'), QByteArray(200, 'M'));
    const QString mountInfoPath = data.path() + QStringLiteral("/mountinfo");
    QVERIFY(writeText(mountInfoPath, mountLine(20, "8:1", "/") + mountLine(30, "8:17", "/media/my\\040card")));
    LinuxInstrumentPlatform platform(root, mountInfoPath);

    // Disks are the block entries that have a device folder, in name order.
    QCOMPARE(platform.presentDisks(), QStringList({"nvme0n1", "sda", "sdb", "sdc", "sdz"}));
    QVERIFY(platform.openDiskList());
    QVERIFY(platform.diskAt(4));
    QVERIFY(!platform.diskAt(5));
    QByteArray bytes(DescriptorSize, '\0');
    QVERIFY(!platform.readDiskDescriptor(0, bytes));  // no vendor file
    QVERIFY(platform.readDiskDescriptor(2, bytes));
    QCOMPARE(bytes.size(), DescriptorSize);
    QVERIFY(bytes.startsWith("KINETIS "));
    QVERIFY(bytes.contains("Mass Storage") && bytes.contains("1.00"));
    QVERIFY(platform.readDiskDescriptor(4, bytes));  // long strings cut to the buffer
    QCOMPARE(bytes.size(), DescriptorSize);
    QVERIFY(bytes.startsWith(QByteArray(200, 'V')));
    platform.closeDiskList();

    QCOMPARE(platform.diskOfDevice(QStringLiteral("8:16")), QStringLiteral("sdb"));
    QCOMPARE(platform.diskOfDevice(QStringLiteral("8:18")), QStringLiteral("sdb"));
    QCOMPARE(platform.diskOfDevice(QStringLiteral("8:32")), QStringLiteral("sdc"));
    QCOMPARE(platform.diskOfDevice(QStringLiteral("0:45")), QString());
    linkBlock(root, QStringLiteral("8:48"), QStringLiteral("block/sdd"));  // dangling
    QCOMPARE(platform.diskOfDevice(QStringLiteral("8:48")), QString());

    // A root is present while it is a mount point.
    QVERIFY(platform.rootPresent(QStringLiteral("/media/my card/")));
    QVERIFY(platform.rootPresent(QStringLiteral("/")));
    QVERIFY(!platform.rootPresent(QStringLiteral("/media/my/")));
    QVERIFY(!platform.rootPresent(QStringLiteral("/media/")));
    QVERIFY(!platform.rootPresent(QString()));

    // Without a block folder the disks cannot be listed.
    LinuxInstrumentPlatform missing(root + QStringLiteral("/nowhere"), mountInfoPath);
    QVERIFY(!missing.openDiskList());
    QVERIFY(writeText(root + QStringLiteral("/flat/block"), "not a folder"));
    LinuxInstrumentPlatform notFolder(root + QStringLiteral("/flat"), mountInfoPath);
    QString path = QStringLiteral("/stale/");
    QCOMPARE(detectInstrumentRoot(notFolder, path), DetectionResult::DiskListUnavailable);
    QVERIFY(path.isEmpty());
}

void TestAcquisition::parseMountInfo_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("entries");  // "MAJ:MIN|mount point"

    QTest::newRow("no optional fields")
        << QByteArray("36 35 8:17 / /media/scan rw,nosuid - vfat /dev/sdb1 rw\n") << QStringList{"8:17|/media/scan"};
    QTest::newRow("several optional fields")
        << QByteArray("36 35 98:0 /mnt1 /mnt/parent rw,noatime shared:1 master:2 propagate_from:3 - ext3 /dev/root rw\n")
        << QStringList{"98:0|/mnt/parent"};
    QTest::newRow("escaped space, tab, newline, backslash")
        << QByteArray("36 35 8:1 / /m/a\\040b\\011c\\012d\\134e rw - ext4 /dev/sda1 rw\n") << QStringList{"8:1|/m/a b\tc\nd\\e"};
    QTest::newRow("backslash without three octal digits kept")
        << QByteArray("36 35 8:1 / /m/a\\09\\ rw - ext4 /dev/sda1 rw\n") << QStringList{"8:1|/m/a\\09\\"};
    QTest::newRow("escape at the very end, no final newline")
        << QByteArray("36 35 8:1 / /m/x\\040 rw - ext4 /dev/sda1 rw") << QStringList{"8:1|/m/x "};
    QTest::newRow("UTF-8 mount point") << QByteArray("36 35 8:1 / /media/\xd0\xba\xd0\xb0\xd1\x80\xd1\x82\xd0\xb0 rw - vfat /dev/sdb1 rw\n")
                                       << QStringList{QString::fromUtf8("8:1|/media/карта")};
    QTest::newRow("order kept, blank lines skipped")
        << QByteArray("\n1 0 8:1 / / rw - ext4 /dev/sda1 rw\n\n2 1 0:45 / /run rw - tmpfs tmpfs rw\n")
        << QStringList{"8:1|/", "0:45|/run"};
    QTest::newRow("malformed lines skipped")
        << QByteArray("1 0 8:1 / /short rw - ext4\n"                   // no source after the type
                      "2 0 81 / /nocolon rw - ext4 /dev/a rw\n"        // no MAJ:MIN
                      "3 0 a:b / /letters rw - ext4 /dev/a rw\n"
                      "4 0 8:1 / /nosep rw shared:1 ext4 /dev/a rw x\n"  // no separator
                      "garbage\n"
                      "5 0 8:2 / /good rw - ext4 /dev/a rw\n")
        << QStringList{"8:2|/good"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
}

void TestAcquisition::parseMountInfo()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, entries);
    QStringList got;
    for (const MountEntry &entry : ::parseMountInfo(text))
        got.append(entry.device + QLatin1Char('|') + entry.mountPoint);
    QCOMPARE(got, entries);
}

void TestAcquisition::compareMountTables_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("added");
    QTest::addColumn<bool>("removed");

    const QByteArray a = mountLine(1, "8:1", "/");
    const QByteArray b = mountLine(2, "8:17", "/media/scan");
    QTest::newRow("unchanged") << a + b << a + b << false << false;
    QTest::newRow("same mounts, new ids") << a + b << mountLine(9, "8:1", "/") + mountLine(8, "8:17", "/media/scan") << false << false;
    QTest::newRow("mounted") << a << a + b << true << false;
    QTest::newRow("unmounted") << a + b << a << false << true;
    QTest::newRow("another device at the same point") << a + b << a + mountLine(3, "8:33", "/media/scan") << true << true;
    QTest::newRow("from an empty table") << QByteArray() << a << true << false;
}

void TestAcquisition::compareMountTables()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, added);
    QFETCH(bool, removed);
    const MountTableChange change = ::compareMountTables(mountKeys(before), mountKeys(after));
    QCOMPARE(change.added, added);
    QCOMPARE(change.removed, removed);
}

void TestAcquisition::deviceChanges_data()
{
    // Places: "instrument", "second" (another instrument), "folder", "instrument dir" (the
    // instrument's root as Open File gives it), "cwd", "" (empty).
    QTest::addColumn<QStringList>("attached");  // instruments present at start, in disk order
    QTest::addColumn<QString>("opened");        // opened with Open File after start
    QTest::addColumn<QString>("change");        // "+instrument", "+second first", "-instrument", ""
    QTest::addColumn<bool>("arrival");          // else a removal
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<bool>("button");

    const QStringList none;
    const QStringList inst{"instrument"};
    const QStringList both{"instrument", "second"};
    QTest::newRow("empty strip, instrument plugged") << none << "" << "+instrument" << true << 3 << "instrument" << "instrument" << true;
    QTest::newRow("empty strip, other device arrives") << none << "" << "" << true << 0 << "" << "" << false;
    QTest::newRow("folder shown, instrument plugged") << none << "folder" << "+instrument" << true << 2 << "instrument" << "folder" << true;
    QTest::newRow("folder shown, other device arrives") << none << "folder" << "" << true << 2 << "" << "folder" << false;
    QTest::newRow("instrument known, folder shown, other arrives") << inst << "folder" << "" << true << 2 << "instrument" << "folder" << true;
    QTest::newRow("instrument shown, second instrument plugged") << inst << "" << "+second first" << true << 3 << "instrument" << "instrument" << true;
    QTest::newRow("instrument shown, instrument pulled") << inst << "" << "-instrument" << false << 0 << "" << "cwd" << false;
    QTest::newRow("instrument shown, pulled, second attached") << both << "" << "-instrument" << false << 1 << "second" << "second" << true;
    // A second instrument that now comes first shows whether the first one was looked for again.
    QTest::newRow("instrument shown, other device removed") << inst << "" << "+second first" << false << 3 << "instrument" << "instrument" << true;
    QTest::newRow("folder shown, instrument pulled") << inst << "folder" << "-instrument" << false << 2 << "" << "folder" << false;
    QTest::newRow("folder shown, instrument pulled, second attached") << both << "folder" << "-instrument" << false << 2 << "second" << "folder" << true;
    QTest::newRow("folder shown, instrument known, other removed") << inst << "folder" << "+second first" << false << 2 << "instrument" << "folder" << true;
    QTest::newRow("folder shown, no instrument, any removal") << none << "folder" << "" << false << 2 << "" << "folder" << false;
    QTest::newRow("nothing loaded, any removal") << none << "" << "" << false << 0 << "" << "cwd" << false;
    QTest::newRow("nothing loaded, removal finds an instrument") << none << "" << "+instrument" << false << 3 << "instrument" << "instrument" << true;
    QTest::newRow("instrument root opened as a folder, pulled") << inst << "instrument dir" << "-instrument" << false << 3 << "" << "instrument dir" << false;
}

void TestAcquisition::deviceChanges()
{
    QFETCH(QStringList, attached);
    QFETCH(QString, opened);
    QFETCH(QString, change);
    QFETCH(bool, arrival);
    QFETCH(int, count);
    QFETCH(QString, device);
    QFETCH(QString, dataDir);
    QFETCH(bool, button);

    const QString instrumentRoot = instrumentDir + QLatin1Char('/');
    const QString secondRoot = secondDir + QLatin1Char('/');
    const QMap<QString, QString> places{{"instrument", instrumentRoot}, {"second", secondRoot},
                                        {"folder", folderDir}, {"instrument dir", instrumentDir},
                                        {"cwd", QDir::currentPath()}};
    for (const QString &name : qAsConst(attached))
        plug(sys, places.value(name));
    std::unique_ptr<CDataManager> window(newWindow());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (!opened.isEmpty()) {
        dialogs->openAnswer = places.value(opened) + QStringLiteral("/1.jpg");
        QVERIFY(QMetaObject::invokeMethod(window.get(), "slot_loadDataDir"));
    }

    if (change == QLatin1String("+instrument"))
        plug(sys, instrumentRoot);
    else if (change == QLatin1String("+second first"))
        plug(sys, secondRoot, true);
    else if (change == QLatin1String("-instrument"))
        unplug(sys, instrumentRoot);
    QVERIFY(QMetaObject::invokeMethod(window.get(), arrival ? "slot_deviceArrived" : "slot_deviceRemoved"));

    QCOMPARE(window->form()->fileListWidget->count(), count);
    QCOMPARE(window->deviceRoot(), places.value(device));
    QCOMPARE(window->dataDirectory(), places.value(dataDir));
    QCOMPARE(window->form()->tbtn_gotoDevice->isEnabled(), button);
    QVERIFY(!window->loading());
    QCOMPARE(dialogs->warnings, QStringList());
}

void TestAcquisition::startUpWithInstrument()
{
    plug(sys, instrumentDir + QLatin1Char('/'));
    std::unique_ptr<CDataManager> window(newWindow());
    // Loaded by the constructor, before the window is first shown.
    QVERIFY(!window->isVisible());
    QCOMPARE(window->form()->fileListWidget->count(), 3);
    QCOMPARE(window->deviceRoot(), instrumentDir + QLatin1Char('/'));
    QCOMPARE(window->dataDirectory(), window->deviceRoot());
    QVERIFY(window->form()->tbtn_gotoDevice->isEnabled());
    QVERIFY(!window->loading());
}

bool TestAcquisition::mountTmpfs(const QString &dir)
{
    if (!QDir().mkpath(dir) || QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=4m", "tmpfs", dir}) != 0)
        return false;
    mounted.append(dir);
    return true;
}

void TestAcquisition::realMountWatcher()
{
    if (geteuid() != 0)
        QSKIP("mounting a tmpfs needs root; the real mount table was not exercised");
    MountTableWatcher watcher(QStringLiteral("/proc/self/mountinfo"));
    QVERIFY(watcher.isWatching());
    QSignalSpy arrived(&watcher, SIGNAL(deviceArrived()));
    QSignalSpy removed(&watcher, SIGNAL(deviceRemoved()));

    const QString dir = data.path() + QStringLiteral("/watched mount");
    QVERIFY(mountTmpfs(dir));
    QVERIFY(arrived.wait(10000));
    QCOMPARE(QProcess::execute(QStringLiteral("umount"), {dir}), 0);
    QVERIFY(removed.wait(10000));
}

void TestAcquisition::realMountInWindow()
{
    if (geteuid() != 0)
        QSKIP("mounting a tmpfs needs root; plugging in through a real mount was not exercised");
    const QString root = sysTree.path();
    addCatalogueDisk(root, QStringLiteral("sda"));
    addDisk(root, QStringLiteral("sdk"), QStringLiteral("8:160"), "KINETIS ", "Flaw detector   ");
    setInstrumentPlatformFactory([root] {
        return std::make_unique<LinuxInstrumentPlatform>(root, QStringLiteral("/proc/self/mountinfo"));
    });
    dialogs = new FakeDialogs;
    Dialogs::install(dialogs);
    CDataManager window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.form()->fileListWidget->count(), 0);

    // The window hears of the mount only once the event loop runs again; by then the fake tree
    // names the new mount's device as the instrument's disk and the A-scans are there.
    const QString dir = data.path() + QStringLiteral("/instrument card");
    QVERIFY(mountTmpfs(dir));
    const QString majorMinor = majorMinorOf(dir);
    QVERIFY(majorMinor.startsWith(QLatin1String("0:")));
    linkBlock(root, majorMinor, QStringLiteral("block/sdk"));
    for (const QString &name : QDir(instrumentDir).entryList(QDir::Files))
        QVERIFY(QFile::copy(instrumentDir + QLatin1Char('/') + name, dir + QLatin1Char('/') + name));

    QTRY_COMPARE_WITH_TIMEOUT(window.form()->fileListWidget->count(), 3, 10000);
    QCOMPARE(window.deviceRoot(), dir + QLatin1Char('/'));
    QCOMPARE(window.dataDirectory(), window.deviceRoot());
    QVERIFY(window.form()->tbtn_gotoDevice->isEnabled());

    QCOMPARE(QProcess::execute(QStringLiteral("umount"), {dir}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(window.form()->fileListWidget->count(), 0, 10000);
    QVERIFY(window.deviceRoot().isEmpty());
    QCOMPARE(window.dataDirectory(), QDir::currentPath());
    QVERIFY(!window.form()->tbtn_gotoDevice->isEnabled());
    QCOMPARE(dialogs->warnings, QStringList());
}

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
