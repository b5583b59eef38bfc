#include "acquisition/instrumentplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquisition/platform/winstorage_win.h"

namespace {

// The disk interfaces of SetupAPI, each disk asked for its own number, and the drive letters' volumes.
class WindowsInstrumentPlatform : public InstrumentPlatform
{
public:
    bool openDiskList() override
    {
        return winstorage::presentDiskPaths(&diskPaths);
    }

    void closeDiskList() override
    {
        diskPaths.clear();
    }

    bool diskAt(int index) override
    {
        return index >= 0 && size_t(index) < diskPaths.size();
    }

    bool readDiskDescriptor(int index, QByteArray &descriptor) override
    {
        unsigned char buffer[winstorage::DescriptorBufferSize];
        if (!diskAt(index) || !winstorage::readDiskDescriptor(diskPaths[size_t(index)], buffer))
            return false;
        descriptor = QByteArray(reinterpret_cast<const char *>(buffer), winstorage::DescriptorBufferSize);
        return true;
    }

    int diskNumber(int index) override
    {
        if (!diskAt(index))
            return -1;
        const winstorage::DeviceNumber number = winstorage::deviceNumber(diskPaths[size_t(index)]);
        return number.known && number.isDisk ? number.number : -1;
    }

    QStringList driveRoots() override
    {
        QStringList roots;
        for (const QFileInfo &drive : QDir::drives())
            roots.append(drive.filePath());
        return roots;
    }

    VolumeDevice volumeDevice(const QString &drive) override
    {
        const winstorage::DeviceNumber number =
            winstorage::deviceNumber(winstorage::volumeDevicePath(drive.toStdWString()));
        VolumeDevice volume;
        volume.isDisk = number.known && number.isDisk;
        volume.number = number.known ? number.number : -1;
        return volume;
    }

    bool rootPresent(const QString &root) override
    {
        return QFile::exists(root);
    }

    QString rootIdentity(const QString &root) override
    {
        DWORD serial = 0;
        const std::wstring path = QDir::toNativeSeparators(root).toStdWString();
        if (!GetVolumeInformationW(path.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
            return QString();
        return QString::number(serial);
    }

private:
    std::vector<std::wstring> diskPaths;   // taken by openDiskList
};

} // namespace

std::unique_ptr<InstrumentPlatform> createInstrumentPlatform()
{
    return std::make_unique<WindowsInstrumentPlatform>();
}
