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

// A WM_DEVICECHANGE (or another message) as the window's nativeEvent receives it.
struct NativeMessage
{
    UINT message = WM_DEVICECHANGE;
    WPARAM event = DBT_DEVICEARRIVAL;
    DeviceChange expected = DeviceChange::Arrival;
};

} // namespace

Q_DECLARE_METATYPE(NativeMessage)

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
        QVERIFY(!isSameFile(path, dir.filePath(QStringLiteral("Рельс2.jpg"))));
    }

    // The replace goes through a temporary file renamed over the old one: the new bytes arrive
    // whole, nothing is left beside them.
    void atomicReplace()
    {
        const QString source = dir.filePath(QStringLiteral("new.jpg"));
        const QString target = dir.filePath(QStringLiteral("target folder/old.jpg"));
        AscanFields fields;
        fields.title = "new";
        QVERIFY(writeAscan(source, fields));
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
        QVERIFY(writeBytes(target, "old contents"));
        QCOMPARE(replaceWithCopy(source, QDir::toNativeSeparators(target)), ReplaceResult::Replaced);
        QCOMPARE(contents(target), contents(source));
    }

    // The report's settings live in the registry under the organisation's key, Cyrillic intact.
    void registrySettings()
    {
        QSettings settings(QStringLiteral("Tarnwell"), QStringLiteral("Scanlet-test"));
        QVERIFY(settings.fileName().startsWith(QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Tarnwell")));
        settings.setValue(QStringLiteral("report/object"), QStringLiteral("Трубопровод № 3 «север»"));
        settings.sync();
        QSettings again(QStringLiteral("Tarnwell"), QStringLiteral("Scanlet-test"));
        QCOMPARE(again.value(QStringLiteral("report/object")).toString(),
                 QStringLiteral("Трубопровод № 3 «север»"));
        again.remove(QString());
    }

    // Where the program's own folder cannot be written, the save folder goes to the user's local
    // application data: a path of this machine is no use on another the profile roams to.
    void applicationData()
    {
        const QString appData = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
        QVERIFY(!appData.isEmpty());
        QVERIFY2(CDataManager::userSaveDirFilePath().startsWith(appData, Qt::CaseInsensitive),
                 qPrintable(CDataManager::userSaveDirFilePath()));
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

    void deviceMessages_data()
    {
        QTest::addColumn<NativeMessage>("native");
        QTest::newRow("arrival") << NativeMessage{WM_DEVICECHANGE, DBT_DEVICEARRIVAL, DeviceChange::Arrival};
        QTest::newRow("removal complete")
            << NativeMessage{WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, DeviceChange::Removal};
        QTest::newRow("other message") << NativeMessage{WM_PAINT, DBT_DEVICEARRIVAL, DeviceChange::None};
    }
    void deviceMessages()
    {
        QFETCH(NativeMessage, native);
        MSG message;
        ZeroMemory(&message, sizeof message);
        message.message = native.message;
        message.wParam = native.event;
        QCOMPARE(decodeNativeDeviceEvent("windows_generic_MSG", &message), native.expected);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
