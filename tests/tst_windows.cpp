// The Win32 side, run under Windows or Wine: the header reader's CreateFileW, backslash and
// drive-letter paths, names that differ in case only, the atomic replace, the registry, the
// user's application data, the real disk and volume queries and the device-change messages.
#include <QtTest>

#include <windows.h>
#include <dbt.h>

#include "acquisition/devicewatcher.h"
#include "acquisition/instrumentdetection.h"
#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "output/filecopy.h"
#include "output/reportdetails.h"
#include "output/savedirstore.h"
#include "records/filehead.h"

namespace {

QByteArray headOf(FileHead &head, int size)
{
    QByteArray bytes(size, '\0');
    const qint64 got = head.read(bytes.data(), size);
    bytes.resize(got < 0 ? 0 : int(got));
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/Карта #1 % & x")};

private slots:
    // A header read by its backslashed path and through an opened folder; a folder refused.
    void headerReads()
    {
        const QString path = dir.filePath(QStringLiteral("Сварка 3.jpg"));
        QVERIFY(writeAscan(path, AscanFields()));
        const QByteArray expected = contents(path).left(AscanLayout::HeaderEnd);
        FileHead byPath(QDir::toNativeSeparators(path));
        QCOMPARE(headOf(byPath, AscanLayout::HeaderEnd), expected);
        FileFolder folder(dir.path());
        FileHead byName(folder, QStringLiteral("Сварка 3.jpg"));
        QCOMPARE(headOf(byName, AscanLayout::HeaderEnd), expected);
        QVERIFY(!FileHead(dir.path()).isOpen());
        QCOMPARE(regularFileNames(QDir::toNativeSeparators(dir.path()), QStringLiteral(".JPG")),
                 QStringList{QStringLiteral("Сварка 3.jpg")});
    }

    // Windows names ignore case: the same file spelt otherwise is the same file, and saving
    // over it must be recognised as such.
    void sameFileIgnoresCase()
    {
        const QString path = dir.filePath(QStringLiteral("Рельс.jpg"));
        QVERIFY(writeAscan(path, AscanFields()));
        const QString other = QDir::toNativeSeparators(dir.path()) + QStringLiteral("\\рЕЛЬС.JPG");
        QVERIFY(isSameFile(path, other));
    }

    // The replace goes through a temporary file renamed over the old one: the new bytes arrive
    // whole, nothing is left beside them.
    void atomicReplace()
    {
        const QString source = dir.filePath(QStringLiteral("new.jpg"));
        const QString target = dir.filePath(QStringLiteral("target folder/old.jpg"));
        QVERIFY(writeBytes(source, "new contents"));
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
        QVERIFY(writeBytes(target, "old contents"));
        QCOMPARE(replaceWithCopy(source, QDir::toNativeSeparators(target)), ReplaceResult::Replaced);
        QCOMPARE(contents(target), "new contents");
    }

    // The report details live in the user's registry, Cyrillic intact; the user's own are put back.
    void registrySettings()
    {
        const ReportDetails users = loadReportDetails();
        ReportDetails details;
        details.object = QStringLiteral("Трубопровод № 3 «север»");
        saveReportDetails(details);
        QCOMPARE(loadReportDetails().object, details.object);
        QVERIFY(QSettings("Tarnwell", "Scanlet").fileName().startsWith("\\HKEY_CURRENT_USER"));
        saveReportDetails(users);
    }

    // Where the program's own folder cannot be written, the save folder goes to the user's local
    // application data: a path of this machine is no use on another the profile roams to.
    void applicationData()
    {
        const QString appData = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
        QVERIFY(CDataManager::userSaveDirFilePath().startsWith(appData, Qt::CaseInsensitive));
    }

    // The remembered save folder survives a name outside the system's code page, and a line
    // written in that code page by an earlier version still reads.
    void saveFolderLine_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("legacy");
        QTest::newRow("Cyrillic") << QStringLiteral("D:/Отчёты/Шов №1") << false;
        QTest::newRow("code page line") << QStringLiteral("D:/Prüfung/Ärger") << true;
    }
    void saveFolderLine()
    {
        QFETCH(QString, folder);
        QFETCH(bool, legacy);
        const QString file = dir.filePath(QStringLiteral("scanlet_savedir"));
        if (legacy)
            QVERIFY(writeBytes(file, folder.toLocal8Bit() + '\n'));
        else
            QCOMPARE(writeSaveDirLine(file, QString(), folder), file);
        QCOMPARE(readSaveDirLine(file, QString()), folder);
    }

    // The real disk list and volumes: whatever this machine has, detection ends cleanly and the
    // system drive's volume answers.
    void realPlatform()
    {
        const std::unique_ptr<InstrumentPlatform> platform = createInstrumentPlatform();
        QVERIFY(platform->driveRoots().contains(QStringLiteral("C:/")));
        QVERIFY(platform->rootPresent(QStringLiteral("C:/")));
        QString devicePath = QStringLiteral("stale");
        QVERIFY(detectInstrumentRoot(*platform, devicePath) != DetectionResult::Found);
        QVERIFY(devicePath.isEmpty());
    }

    // The device-change messages as the window's nativeEvent receives them.
    void deviceMessages()
    {
        MSG message{};
        message.message = WM_DEVICECHANGE;
        message.wParam = DBT_DEVICEARRIVAL;
        QCOMPARE(decodeNativeDeviceEvent("windows_generic_MSG", &message), DeviceChange::Arrival);
        message.wParam = DBT_DEVICEREMOVECOMPLETE;
        QCOMPARE(decodeNativeDeviceEvent("windows_generic_MSG", &message), DeviceChange::Removal);
        message.message = WM_PAINT;
        QCOMPARE(decodeNativeDeviceEvent("windows_generic_MSG", &message), DeviceChange::None);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
