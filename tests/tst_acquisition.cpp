// The instrument: detection over a fake platform and over a fake system tree and mount table, and
// the window's reaction to arrivals and removals.
#include <QtTest>

#include "acquisition/instrumentdetection.h"
#ifdef Q_OS_LINUX
#include "acquisition/platform/linuxplatform.h"
#endif
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

bool writeText(const QString &path, const QByteArray &text)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && writeBytes(path, text);
}

// A folder opened with Open File, then instruments attached (roots in disk order) and their
// arrival; then those attached at an arrival or a removal, which comes once the strip holds
// `atItem` items (0: once the loading is over); what the window shows then: the strip's size,
// the instrument's root its go-to button offers (none while disabled) and the data directory.
struct Change
{
    QString opened;
    QStringList before;
    QStringList after;
    bool arrival = false;   // otherwise a removal
    int atItem = 0;
    bool replaced = false;   // the card at the root replaced by another, with a second file
    QStringList shown;
};

// A disk whose id names `vendor`, with the number the system gave it (-1: its place in the list).
FakeMachine::Disk disk(const QByteArray &vendor, int number = -1)
{
    return {.descriptor = storageDescriptor(vendor), .number = number};
}

#ifdef Q_OS_LINUX
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
#endif

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(FakeMachine)

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir data;
    const QString instrumentRoot = data.path() + "/instrument/";
    const QString secondRoot = data.path() + "/second/";

private slots:
    void initTestCase()
    {
        for (auto file :
             {"instrument/1.jpg", "instrument/2.jpg", "second/1.jpg", "folder/1.jpg"})
            QVERIFY(writeText(data.filePath(file), buildAscan({})));
    }

    // The disks and drives present and the instrument's root found among them.
    void detection_data()
    {
        QTest::addColumn<FakeMachine>("machine");
        QTest::addColumn<QString>("root");
        // An unreadable disk's id is skipped; one in lower case ending the 256 bytes read is found
        // before a later one.
        QTest::newRow("ids") << FakeMachine{
            .disks = {{.descriptor = storageDescriptor("KINETIS"), .readable = false},
                      {.descriptor = QByteArray(249, '\0') + "kinetis"},
                      disk("KINETIS")},
            .drives = {{"D:/", 0}, {"E:/", 2}, {"F:/", 1}}} << "F:/";
        // Disks are matched by the number each reports, not by their place: number 1 was pulled.
        QTest::newRow("gap in the disk numbers") << FakeMachine{
            .disks = {disk("WDC", 0), disk("KINETIS", 2)},
            .drives = {{"C:/", 0}, {"E:/", 2}}} << "E:/";
        // Only volumes on disks count: the instrument is disk 1, the volume numbered 1 a CD-ROM's.
        QTest::newRow("CD-ROM with the instrument's number") << FakeMachine{
            .disks = {disk("WDC"), disk("KINETIS")},
            .drives = {{"C:/", 0}, {"F:/", 1}},
            .opticalDrives = {"F:/"}} << "";
    }
    void detection()
    {
        QFETCH(FakeMachine, machine);
        FakePlatform platform(&machine);
        QString root;
        detectInstrumentRoot(platform, root);
        QTEST(QDir::fromNativeSeparators(root), "root");   // "F:\\" on Windows
        // Each list taken is released, found or not.
        QCOMPARE(machine.closed, machine.opened);
    }

    void deviceChanges_data()
    {
        QTest::addColumn<Change>("c");
        QTest::newRow("instrument shown, second plugged first") << Change{
            .before = {instrumentRoot},
            .after = {secondRoot, instrumentRoot},
            .arrival = true,
            .shown = {"2", instrumentRoot, instrumentRoot}};
        QTest::newRow("folder shown, instrument pulled") << Change{
            .opened = data.path() + "/folder",
            .before = {instrumentRoot},
            .shown = {"1", "", data.path() + "/folder"}};
        QTest::newRow("instrument pulled while loading") << Change{
            .before = {instrumentRoot},
            .atItem = 1,
            .shown = {"0", "", QDir::currentPath()}};
        QTest::newRow("card replaced while loading, within one event pass") << Change{
            .before = {secondRoot},
            .after = {secondRoot},
            .atItem = 1,
            .replaced = true,
            .shown = {"2", secondRoot, secondRoot}};
    }
    void deviceChanges()
    {
        QFETCH(Change, c);
        FakeEnvironment env;
        CDataManager window;
        if (!c.opened.isEmpty())
            window.openPath(c.opened);
        const auto change = [&] {
            env.machine.plugInstruments(c.after);
            if (c.replaced) {
                env.machine.volume = "8:33";
                QVERIFY(writeAscan(secondRoot + "2.jpg", {}));
            }
            c.arrival ? window.handleDeviceArrival() : window.handleDeviceRemoval();
        };
        QAbstractItemModel *strip = window.form()->fileListWidget->model();
        connect(strip, &QAbstractItemModel::rowsInserted, this, [&] {
            if (strip->rowCount() == c.atItem)
                QTimer::singleShot(0, &window, change);
        });
        env.machine.plugInstruments(c.before);
        window.handleDeviceArrival();
        if (!c.atItem)
            change();
        const QString offered
            = window.form()->tbtn_gotoDevice->isEnabled() ? window.deviceRoot() : QString();
        const QString shown = QString::number(strip->rowCount()) + '|' + offered + '|'
            + window.dataDirectory();
        QCOMPARE(QDir::fromNativeSeparators(shown), c.shown.join('|'));
    }

#ifdef Q_OS_LINUX
    // A /sys lookalike and a mount table -> the instrument's root. In the table:
    // escapes, one at the very end; the last mount of the disk wins, here a partition's without
    // optional fields; malformed lines skipped.
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
        detectInstrumentRoot(platform, path);
        QCOMPARE(path, QString::fromUtf8("/m/a b\tc\nd\\e\\09\\к /"));
        QVERIFY(!platform.rootPresent("/bad/"));
    }
#endif
};

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
