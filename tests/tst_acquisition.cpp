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
        && writeText(block + "sde/device/inquiry",
                     QByteArray("\x00\x80\x06\x02\x1f\x00\x00\x00KiNeTiS MSD", 19))
        && QDir().mkpath(dev) && QFile::link(block + "nvme0n1", dev + "259:0")
        && QFile::link(block + "sde", dev + "8:64")
        && QFile::link(block + "sde/sde1", dev + "8:65");
}

// A folder opened with Open File, then instruments attached (roots in disk order) and their
// arrival; then those attached at an arrival or a removal, which comes once the strip holds
// `atItem` items (0: once the loading is over); what the window shows then: the strip's size,
// the instrument's root and the data directory.
struct Change
{
    QString opened;
    QStringList before;
    QStringList after;
    bool arrival = true;
    int atItem = 0;
    bool replaced = false;   // the card at the root replaced by another, with a third file
    QStringList shown;
};

FakeMachine::Disk disk(const QByteArray &descriptor, int number = -1)
{
    return {.descriptor = descriptor, .number = number};
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(FakeMachine)

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir data;
    const QString instrumentRoot = data.path() + "/instrument/";
    const QString secondRoot = data.path() + "/second/";
    std::unique_ptr<FakeEnvironment> env;

private slots:
    void initTestCase()
    {
        for (const char *file :
             {"instrument/1", "instrument/2", "instrument/3", "second/1", "second/2", "folder/1"})
            QVERIFY(writeText(data.path() + '/' + file + ".jpg", buildAscan(AscanFields())));
    }
    void init() { env = std::make_unique<FakeEnvironment>(); }
    void cleanup() { env.reset(); }

    // The machine at the window's start-up and the instrument's root found then.
    void detection_data()
    {
        QTest::addColumn<FakeMachine>("machine");
        QTest::addColumn<QString>("root");
        // An unreadable disk's id, one split by a zero byte and one cut at 256 bytes are skipped;
        // one in lower case ending the 256 bytes is found before a later one.
        QTest::newRow("ids") << FakeMachine{
            .disks = {{.descriptor = storageDescriptor("KINETIS"), .readable = false},
                      disk(storageDescriptor(QByteArray("KINE\0TIS", 8))),
                      disk(QByteArray(250, '\0') + "KINETIS"),
                      disk(QByteArray(249, '\0') + "kinetis"),
                      disk(storageDescriptor("KINETIS"))},
            .drives = {{"D:/", 0}, {"E:/", 4}, {"F:/", 3}, {"G:/", 1}, {"H:/", 2}}}
                             << "F:/";
        QTest::newRow("disk list unavailable: a warning") << FakeMachine{.listAvailable = false}
                                                          << "";
        // Disks are matched by the number each reports, not by their place: number 1 was pulled.
        QTest::newRow("gap in the disk numbers") << FakeMachine{
            .disks = {disk(storageDescriptor("WDC"), 0), disk(storageDescriptor("KINETIS"), 2)},
            .drives = {{"C:/", 0}, {"E:/", 2}}} << "E:/";
        // Only volumes on disks count: CdRom1 on a later letter than the instrument's disk 1.
        QTest::newRow("CD-ROM with the instrument's number") << FakeMachine{
            .disks = {disk(storageDescriptor("WDC")), disk(storageDescriptor("KINETIS"))},
            .drives = {{"C:/", 0}, {"E:/", 1}, {"F:/", 1}},
            .opticalDrives = {"F:/"}} << "E:/";
        QTest::newRow("no disk at all") << FakeMachine{.drives = {{"E:/", 0}}} << "";
    }
    void detection()
    {
        QFETCH(FakeMachine, machine);
        QFETCH(QString, root);
        env->machine = machine;
        QCOMPARE(CDataManager().deviceRoot(), root);
        QCOMPARE(env->dialogs->warnings.size(), int(!machine.listAvailable));
        // Each list taken is released, found or not.
        QCOMPARE(env->machine.closed, machine.listAvailable ? env->machine.opened : 0);
    }

    // A /sys lookalike and a mount table -> the instrument's root. In the table: escapes, one at
    // the very end; the last mount of the disk wins, here a partition's without optional fields;
    // malformed lines skipped.
    void linuxDetection()
    {
        QTemporaryDir sys;
        LinuxInstrumentPlatform platform(sys.path(), sys.filePath("mountinfo"));
        QString path;
        const QByteArray table
            = "30 1 8:64 / /a rw,relatime shared:1 master:2 - vfat /dev/x rw\n"
              "31 1 259:0 / / rw,relatime shared:1 master:2 - vfat /dev/y rw\n"
              "\n36 35 8:65 /mnt1 /m/a\\040b\\011c\\012d\\134e\\09\\\xd0\xba\\040 rw - ext3 "
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
        QTest::newRow("folder shown, instrument plugged") << Change{
            .opened = folder,
            .before = {instrumentRoot},
            .shown = {"1", instrumentRoot, folder}};
        QTest::newRow("instrument shown, second plugged first") << Change{
            .before = {instrumentRoot},
            .after = {secondRoot, instrumentRoot},
            .shown = {"3", instrumentRoot, instrumentRoot}};
        // A second instrument that now comes first shows whether the first one was looked for
        // again.
        QTest::newRow("instrument shown, other removed") << Change{
            .before = {instrumentRoot},
            .after = {secondRoot, instrumentRoot},
            .arrival = false,
            .shown = {"3", instrumentRoot, instrumentRoot}};
        QTest::newRow("folder shown, instrument pulled") << Change{
            .opened = folder,
            .before = {instrumentRoot},
            .arrival = false,
            .shown = {"1", "", folder}};
        QTest::newRow("instrument pulled while loading") << Change{
            .before = {instrumentRoot},
            .arrival = false,
            .atItem = 1,
            .shown = {"0", "", QDir::currentPath()}};
        QTest::newRow("card replaced while loading, within one event pass") << Change{
            .before = {secondRoot},
            .after = {secondRoot},
            .arrival = false,
            .atItem = 1,
            .replaced = true,
            .shown = {"3", secondRoot, secondRoot}};
    }
    void deviceChanges()
    {
        QFETCH(Change, c);
        CDataManager window;
        if (!c.opened.isEmpty())
            window.openPath(c.opened);
        const auto change = [&] {
            env->machine.plugInstruments(c.after);
            if (c.replaced) {
                env->machine.volume = "8:33";
                QVERIFY(writeAscan(secondRoot + "3.jpg", {}));
            }
            c.arrival ? window.handleDeviceArrival() : window.handleDeviceRemoval();
        };
        const QAbstractItemModel *strip = window.form()->fileListWidget->model();
        connect(strip, &QAbstractItemModel::rowsInserted, this, [&] {
            if (strip->rowCount() == c.atItem)
                QMetaObject::invokeMethod(this, change, Qt::QueuedConnection);
        });
        env->machine.plugInstruments(c.before);
        window.handleDeviceArrival();
        if (c.atItem == 0)
            change();
        const QStringList shown{QString::number(strip->rowCount()), window.deviceRoot(),
                                window.dataDirectory()};
        QCOMPARE(shown, c.shown);
        // The go-to-instrument button is enabled exactly while a root is known.
        QCOMPARE(window.form()->tbtn_gotoDevice->isEnabled(), !window.deviceRoot().isEmpty());
        QVERIFY(!window.loading() && !window.loadingWindow() && env->dialogs->warnings.isEmpty());
    }
};

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
