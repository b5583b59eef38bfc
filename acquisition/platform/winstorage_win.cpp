#include "winstorage_win.h"

#include <dbt.h>
#include <initguid.h>  // makes devguid.h define the class GUIDs here instead of declaring them
#include <devguid.h>
#include <winioctl.h>

#include <cstring>

namespace winstorage {

// The values the detection relies on; a header that disagreed would change what is asked.
static_assert(DIGCF_PRESENT == 0x2, "present devices only");
static_assert((FILE_SHARE_READ | FILE_SHARE_WRITE) == 3, "disks are opened shared for reading and writing");
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == 0x002D1400, "storage property query");
static_assert(IOCTL_STORAGE_GET_DEVICE_NUMBER == 0x002D1080, "device number query");
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == 12, "the query is a 12-byte record");
static_assert(sizeof(STORAGE_DEVICE_NUMBER) == 12, "type, number, partition");
static_assert(StorageDeviceProperty == 0 && PropertyStandardQuery == 0, "standard device descriptor");
static_assert(WM_DEVICECHANGE == 0x0219 && DBT_DEVICEARRIVAL == 0x8000 && DBT_DEVICEREMOVECOMPLETE == 0x8004,
              "device-change message and its two events");

namespace {

// Desired access 0: the queries below need no read or write rights, so no elevation either.
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
    return SetupDiGetClassDevsW(&GUID_DEVCLASS_DISKDRIVE, nullptr, nullptr, DIGCF_PRESENT);
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
    if (message == nullptr || message->message != WM_DEVICECHANGE)
        return DeviceChange::None;
    if (message->wParam == DBT_DEVICEARRIVAL)
        return DeviceChange::Arrival;
    if (message->wParam == DBT_DEVICEREMOVECOMPLETE)
        return DeviceChange::Removal;
    return DeviceChange::None;
}

} // namespace winstorage
