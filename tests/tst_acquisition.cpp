// The instrument: detection over a fake platform and over fake system trees, the mount table
// parser, the window's reaction to arrivals and removals, and real tmpfs mounts.
#include <QtTest>

#include "acquisition/instrumentdetection.h"
#include "acquisition/platform/linuxplatform.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {


bool writeText(const QString &path, const QByteArray &text)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && writeBytes(path, text);
}

// A /sys lookalike: a disk without a vendor file naming the instrument in its model (skipped), then
// one naming it only in its raw inquiry data, with a partition; dev/block/MAJ:MIN linked to each.
bool writeSysTree(const QString &sys)
{
    const QString block = sys + "/block/", dev = sys + "/dev/block/";
    return writeText(block + "nvme0n1/device/model", "KINETIS NVMe\n")
        && writeText(block + "sde/sde1/partition", "1\n")
        && writeText(block + "sde/device/vendor", "USB     \n")
        && writeText(block + "sde/device/model", "Flash Disk\n")
        && writeText(block + "sde/device/inquiry",
                     QByteArray("\x00\x80\x06\x02\x1f\x00\x00\x00KiNeTiS MSD", 19))
        && QDir().mkpath(dev) && QFile::link(block + "nvme0n1", dev + "259:0")
        && QFile::link(block + "sde", dev + "8:64")
        && QFile::link(block + "sde/sde1", dev + "8:65");
}

QByteArray mountLine(const QByteArray &majorMinor, const QByteArray &mountPoint)
{
    return "30 1 " + majorMinor + " / " + mountPoint
        + " rw,relatime shared:1 master:2 - vfat /dev/x rw\n";
}

// What the window shows of the instrument: the strip's size, the device root and the data
// directory. The go-to-instrument button is enabled exactly while a root is known.
QStringList shown(CDataManager &w)
{
    const bool buttonRight = w.form()->tbtn_gotoDevice->isEnabled() != w.deviceRoot().isEmpty();
    return {QString::number(w.form()->fileListWidget->count()), w.deviceRoot(),
            w.dataDirectory() + (buttonRight ? "" : " (button wrong)")};
}

// Instruments attached at start-up (roots in disk order), a folder opened with Open File, then the
// instruments attached after an arrival or a removal; what the window shows then.
struct Change
{
    QStringList before;
    QString opened;
    QStringList after;
    bool arrival = true;
    QStringList shown;
};

// The disks present in the system's order, each with the number the system gave it, the drives
// with the number of the disk holding each, and the root detection should find.
struct NumberedDisks
{
    QVector<FakeMachine::Disk> disks;
    QMap<QString, int> drives;
    QStringList opticalDrives;
    QString expectedRoot;
};

FakeMachine::Disk numberedDisk(const QByteArray &vendor, int number)
{
    FakeMachine::Disk disk;
    disk.descriptor = storageDescriptor(vendor);
    disk.number = number;
    return disk;
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(NumberedDisks)

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir data;
    const QString instrumentRoot = data.path() + "/instrument/",
                  secondRoot = data.path() + "/second/";
    const QString savedDir = CDataManager::saveDirFilePath();
    std::unique_ptr<FakeEnvironment> env;

private slots:
    void initTestCase()
    {
        for (const char *file :
             {"instrument/1", "instrument/2", "instrument/3", "second/1", "second/2", "folder/1"})
            QVERIFY(writeText(data.path() + '/' + file + ".jpg", buildAscan(AscanFields())));
        QFile::rename(savedDir,
                      savedDir + ".away"); // the window would start in a remembered folder
    }
    void cleanupTestCase() { QFile::rename(savedDir + ".away", savedDir); }
    void init() { env = std::make_unique<FakeEnvironment>(); }
    void cleanup() { env.reset(); }

    // The window at start-up. Ids: an unreadable disk's, one split by a zero byte and one cut at
    // 256 bytes are skipped; one in lower case ending the 256 bytes is found before a later one.
    // The list is released; a list that cannot be taken is a warning.
    void detection()
    {
        env->machine.disks = {{storageDescriptor("KINETIS"), false},
                              {storageDescriptor(QByteArray("KINE\0TIS", 8))},
                              {QByteArray(250, '\0') + "KINETIS"},
                              {QByteArray(249, '\0') + "kinetis"},
                              {storageDescriptor("KINETIS")}};
        env->machine.drives = {{"D:/", 0}, {"E:/", 4}, {"F:/", 3}, {"G:/", 1}, {"H:/", 2}};
        QCOMPARE(CDataManager().deviceRoot(), QString("F:/"));
        QVERIFY(env->machine.opened > 0 && env->machine.closed == env->machine.opened);
        // Nothing found: the list is released all the same.
        env->machine.disks.resize(3);
        QCOMPARE(CDataManager().deviceRoot(), QString());
        QCOMPARE(env->machine.closed, env->machine.opened);
        env->machine.listAvailable = false;
        QCOMPARE(CDataManager().deviceRoot(), QString());
        QCOMPARE(env->dialogs->warningTitles, QStringList{"Scanlet"});
    }

    // Disks are matched to drives by the number each disk reports, never by its place in the list,
    // and only volumes on disks count.
    void detectionByDiskNumber_data()
    {
        QTest::addColumn<NumberedDisks>("machine");
        const FakeMachine::Disk laptop = numberedDisk("WDC", 0);
        NumberedDisks gap;   // a stick that had number 1 was pulled
        gap.disks = {laptop, numberedDisk("KINETIS", 2)};
        gap.drives = {{"C:/", 0}, {"E:/", 2}};
        gap.expectedRoot = "E:/";
        QTest::newRow("gap in the disk numbers") << gap;
        NumberedDisks cdrom;  // CdRom1 on a later letter than the instrument's PhysicalDrive1
        cdrom.disks = {laptop, numberedDisk("KINETIS", 1)};
        cdrom.drives = {{"C:/", 0}, {"E:/", 1}, {"F:/", 1}};
        cdrom.opticalDrives = QStringList{"F:/"};
        cdrom.expectedRoot = "E:/";
        QTest::newRow("CD-ROM with the instrument's number") << cdrom;
        NumberedDisks two;   // the first instrument in the system's list wins
        two.disks = {laptop, numberedDisk("KINETIS", 3), numberedDisk("KINETIS", 1)};
        two.drives = {{"C:/", 0}, {"E:/", 1}, {"F:/", 3}};
        two.expectedRoot = "F:/";
        QTest::newRow("two instruments") << two;
        NumberedDisks none;
        none.drives = {{"E:/", 0}};
        QTest::newRow("no disk at all") << none;
    }
    void detectionByDiskNumber()
    {
        QFETCH(NumberedDisks, machine);
        env->machine.disks = machine.disks;
        env->machine.drives = machine.drives;
        env->machine.opticalDrives = machine.opticalDrives;
        FakePlatform platform(&env->machine);
        QString root = "stale";
        const DetectionResult result = detectInstrumentRoot(platform, root);
        QCOMPARE(root, machine.expectedRoot);
        QCOMPARE(result, root.isEmpty() ? DetectionResult::NotFound : DetectionResult::Found);
        QCOMPARE(env->machine.closed, env->machine.opened);
    }

    // A /sys lookalike and a mount table -> the instrument's root. In the table: escapes, one at
    // the very end; the last mount of the disk wins, here a partition's without optional fields;
    // malformed lines skipped.
    void linuxDetection()
    {
        QTemporaryDir sys;
        LinuxInstrumentPlatform platform(sys.path(), sys.filePath("mountinfo"));
        QString path;
        const QByteArray table = mountLine("8:64", "/a") + mountLine("259:0", "/")
            + "\n36 35 8:65 /mnt1 /m/a\\040b\\011c\\012d\\134e\\09\\\xd0\xba\\040 rw - ext3 "
              "/dev/sde1 rw\n\n"
              "1 0 8:64 / /bad rw - ext4\n" // no source after the type
              "2 0 864 / /bad rw - ext4 /dev/a rw\n" // no MAJ:MIN
              "3 0 a:b / /bad rw - ext4 /dev/a rw\n"
              "4 0 8:64 / /bad rw shared:1 ext4 /dev/a rw x"; // no separator, no final newline
        QVERIFY(writeSysTree(sys.path()) && writeBytes(sys.filePath("mountinfo"), table));
        QCOMPARE(detectInstrumentRoot(platform, path), DetectionResult::Found);
        QCOMPARE(path, QString::fromUtf8("/m/a b\tc\nd\\e\\09\\к /"));
        QVERIFY(platform.rootPresent(path)
                && !platform.rootPresent(QStringLiteral("/bad/"))); // present while mounted
    }

    void deviceChanges_data()
    {
        QTest::addColumn<Change>("c");
        const QString folder = data.path() + "/folder";
        QTest::newRow("empty strip, instrument plugged") << Change{
            .after = {instrumentRoot},
            .shown = {"3", instrumentRoot, instrumentRoot}};
        QTest::newRow("folder shown, instrument plugged") << Change{
            .opened = folder,
            .after = {instrumentRoot},
            .shown = {"1", instrumentRoot, folder}};
        QTest::newRow("instrument shown, second plugged first") << Change{
            .before = {instrumentRoot},
            .after = {secondRoot, instrumentRoot},
            .shown = {"3", instrumentRoot, instrumentRoot}};
        QTest::newRow("instrument shown, pulled") << Change{
            .before = {instrumentRoot},
            .arrival = false,
            .shown = {"0", "", QDir::currentPath()}};
        QTest::newRow("instrument shown, pulled, second attached") << Change{
            .before = {instrumentRoot, secondRoot},
            .after = {secondRoot},
            .arrival = false,
            .shown = {"2", secondRoot, secondRoot}};
        // A second instrument that now comes first shows whether the first one was looked for
        // again.
        QTest::newRow("instrument shown, other removed") << Change{
            .before = {instrumentRoot},
            .after = {secondRoot, instrumentRoot},
            .arrival = false,
            .shown = {"3", instrumentRoot, instrumentRoot}};
        QTest::newRow("folder shown, instrument pulled") << Change{
            .before = {instrumentRoot},
            .opened = folder,
            .arrival = false,
            .shown = {"1", "", folder}};
    }
    void deviceChanges()
    {
        QFETCH(Change, c);
        env->machine.plugInstruments(c.before);   // loaded before the window is shown
        CDataManager window;
        QCOMPARE(
            shown(window),
            (QStringList{c.before.isEmpty() ? "0" : "3", c.before.value(0), c.before.value(0)}));
        env->dialogs->openAnswer = c.opened + "/1.jpg";
        QVERIFY(c.opened.isEmpty() || QMetaObject::invokeMethod(&window, "slot_loadDataDir"));
        env->machine.plugInstruments(c.after);
        c.arrival ? window.handleDeviceArrival() : window.handleDeviceRemoval();
        QCOMPARE(shown(window), c.shown);
        QVERIFY(!window.loading() && env->dialogs->warnings.isEmpty());
    }

    // The card is pulled (or pulled and another put in its place) while its 30 files load.
    void removalWhileLoading_data()
    {
        QTest::addColumn<bool>("replug");
        QTest::newRow("pulled") << false;
        QTest::newRow("pulled and replaced within one event pass") << true;
    }
    void removalWhileLoading()
    {
        QFETCH(bool, replug);
        QTemporaryDir card;
        const QString root = card.path() + '/';
        for (int i = 1; i <= 30; ++i)
            QVERIFY(writeAscan(root + QString::number(i) + ".jpg", {}));
        CDataManager window;
        CListWidgetHeir *strip = window.form()->fileListWidget;
        connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (strip->count() == 3)
                QMetaObject::invokeMethod(this, [&] {
                    env->machine.plugInstruments(replug ? QStringList{root} : QStringList());
                    env->machine.volume
                        = "8:33"; // another card, should one be there: it holds two files
                    for (int i = 3; replug && i <= 30; ++i)
                        QVERIFY(QFile::remove(root + QString::number(i) + ".jpg"));
                    window.handleDeviceRemoval();
                    window.handleDeviceArrival();
                }, Qt::QueuedConnection);
        });
        env->machine.plugInstruments({root});
        env->machine.volume = "8:17";
        window.handleDeviceArrival();
        QCOMPARE(strip->paths(),
                 replug ? QStringList({root + "/1.jpg", root + "/2.jpg"}) : QStringList());
        QCOMPARE(shown(window),
                 (QStringList{replug ? "2" : "0", replug ? root : "",
                              replug ? root : QDir::currentPath()}));
        QVERIFY(!window.loading() && !window.loadingWindow());
    }

};

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
