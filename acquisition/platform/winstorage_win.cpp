#include "winstorage_win.h"

#include <devguid.h>
#include <winioctl.h>

#include <cstring>

namespace winstorage {

namespace {

constexpr UINT DeviceChangeMessage = 0x0219;     // WM_DEVICECHANGE
constexpr WPARAM DeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
constexpr WPARAM DeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE

// {4D36E967-E325-11CE-BFC1-08002BE10318}
const GUID DiskDriveClass = {0x4d36e967, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

HANDLE openDevice(const std::wstring &name, DWORD shareMode)
{
    return CreateFileW(name.c_str(), 0, shareMode, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool queryDeviceDescriptor(HANDLE disk, unsigned char (&buffer)[DescriptorBufferSize])
{
    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, 0, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    DWORD returned = 0;
    return DeviceIoControl(disk, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer,
                           DescriptorBufferSize, &returned, nullptr) != FALSE;
}

bool queryDeviceNumber(HANDLE volume, STORAGE_DEVICE_NUMBER *number)
{
    DWORD returned = 0;
    return DeviceIoControl(volume, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, number,
                           sizeof *number, &returned, nullptr) != FALSE;
}

} // namespace

HDEVINFO openPresentDisks()
{
    return SetupDiGetClassDevsW(&DiskDriveClass, nullptr, nullptr, DIGCF_PRESENT);
}

void closeDiskList(HDEVINFO list)
{
    SetupDiDestroyDeviceInfoList(list);
}

bool enumDisk(HDEVINFO list, DWORD index, SP_DEVINFO_DATA *deviceInfo)
{
    return SetupDiEnumDeviceInfo(list, index, deviceInfo) != FALSE;
}

bool readDiskDescriptor(DWORD index, unsigned char (&buffer)[DescriptorBufferSize])
{
    const HANDLE disk = openDevice(L"\\\\.\\PhysicalDrive" + std::to_wstring(index),
                                   FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (disk == INVALID_HANDLE_VALUE)
        return false;
    std::memset(buffer, 0, DescriptorBufferSize);
    const bool ok = queryDeviceDescriptor(disk, buffer);
    CloseHandle(disk);
    return ok;
}

int volumeDiskNumber(const std::wstring &drive)
{
    const HANDLE volume = openDevice(L"\\\\.\\" + drive, 0);
    if (volume == INVALID_HANDLE_VALUE)
        return -1;
    STORAGE_DEVICE_NUMBER number;
    std::memset(&number, 0, sizeof number);
    const bool ok = queryDeviceNumber(volume, &number);
    CloseHandle(volume);
    return ok ? int(number.DeviceNumber) : -1;
}

DeviceChange decodeDeviceChange(const MSG *message)
{
    if (message == nullptr || message->message != DeviceChangeMessage)
        return DeviceChange::None;
    if (message->wParam == DeviceArrival)
        return DeviceChange::Arrival;
    if (message->wParam == DeviceRemoveComplete)
        return DeviceChange::Removal;
    return DeviceChange::None;
}

} // namespace winstorage
