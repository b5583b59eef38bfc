#include "acquisition/instrumentplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquisition/platform/winstorage_win.h"

namespace {

// The disk list of SetupAPI, the physical drives and the drive letters' volumes.
class WindowsInstrumentPlatform : public InstrumentPlatform
{
public:
    bool openDiskList() override
    {
        list = winstorage::openPresentDisks();
        return list != INVALID_HANDLE_VALUE;
    }

    void closeDiskList() override
    {
        if (list != INVALID_HANDLE_VALUE)
            winstorage::closeDiskList(list);
        list = INVALID_HANDLE_VALUE;
    }

    bool diskAt(int index) override
    {
        SP_DEVINFO_DATA deviceInfo;
        ZeroMemory(&deviceInfo, sizeof deviceInfo);
        deviceInfo.cbSize = sizeof deviceInfo;
        return winstorage::enumDisk(list, DWORD(index), &deviceInfo);
    }

    bool readDiskDescriptor(int index, QByteArray &descriptor) override
    {
        unsigned char buffer[winstorage::DescriptorBufferSize];
        if (!winstorage::readDiskDescriptor(DWORD(index), buffer))
            return false;
        descriptor = QByteArray(reinterpret_cast<const char *>(buffer), winstorage::DescriptorBufferSize);
        return true;
    }

    QStringList driveRoots() override
    {
        QStringList roots;
        for (const QFileInfo &drive : QDir::drives())
            roots.append(drive.filePath());
        return roots;
    }

    int volumeDiskNumber(const QString &drive) override
    {
        return winstorage::volumeDiskNumber(drive.toStdWString());
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
    HDEVINFO list = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<InstrumentPlatform> createInstrumentPlatform()
{
    return std::make_unique<WindowsInstrumentPlatform>();
}
