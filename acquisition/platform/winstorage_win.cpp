#include "winstorage_win.h"

#include <dbt.h>
#include <initguid.h>  // makes the GUID headers define GUID_DEVINTERFACE_DISK here
#include <setupapi.h>
#include <winioctl.h>

#include <cstring>
#include <memory>

namespace winstorage {

// The values the detection relies on; a header that disagreed would change what is asked.
static_assert(DIGCF_PRESENT == 0x2 && DIGCF_DEVICEINTERFACE == 0x10, "present device interfaces");
static_assert((FILE_SHARE_READ | FILE_SHARE_WRITE) == 3, "disks are opened shared for reading and writing");
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == 0x002D1400, "storage property query");
static_assert(IOCTL_STORAGE_GET_DEVICE_NUMBER == 0x002D1080, "device number query");
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == 12, "the query is a 12-byte record");
static_assert(sizeof(STORAGE_DEVICE_NUMBER) == 12, "type, number, partition");
static_assert(FILE_DEVICE_DISK == 7 && FILE_DEVICE_CD_ROM == 2, "device types");
static_assert(StorageDeviceProperty == 0 && PropertyStandardQuery == 0, "standard device descriptor");
static_assert(WM_DEVICECHANGE == 0x0219 && DBT_DEVICEARRIVAL == 0x8000 && DBT_DEVICEREMOVECOMPLETE == 0x8004,
              "device-change message and its two events");

namespace {

// Desired access 0: the queries below need no read or write rights, so no elevation either.
HANDLE openDevice(const std::wstring &name)
{
    return CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

struct HandleCloser
{
    void operator()(void *handle) const { CloseHandle(handle); }
};
using Device = std::unique_ptr<void, HandleCloser>;

Device openDeviceHandle(const std::wstring &name)
{
    const HANDLE handle = openDevice(name);
    return Device(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring interfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA *interfaceData)
{
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(list, interfaceData, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return std::wstring();
    // DWORD-aligned storage: the detail record starts with a DWORD.
    std::vector<DWORD> storage(size / sizeof(DWORD) + 1);
    auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W *>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list, interfaceData, detail, size, nullptr, nullptr))
        return std::wstring();
    return std::wstring(detail->DevicePath);
}

} // namespace

bool presentDiskPaths(std::vector<std::wstring> *paths)
{
    paths->clear();
    const HDEVINFO list = SetupDiGetClassDevsW(&GUID_DEVINTERFACE_DISK, nullptr, nullptr,
                                               DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA interfaceData;
    for (DWORD index = 0;; ++index) {
        std::memset(&interfaceData, 0, sizeof interfaceData);
        interfaceData.cbSize = sizeof interfaceData;
        if (!SetupDiEnumDeviceInterfaces(list, nullptr, &GUID_DEVINTERFACE_DISK, index, &interfaceData))
            break;
        // A disk whose path cannot be had keeps its place: it is skipped as an unreadable disk.
        paths->push_back(interfacePath(list, &interfaceData));
    }
    SetupDiDestroyDeviceInfoList(list);
    return true;
}

bool readDiskDescriptor(const std::wstring &diskPath, unsigned char (&buffer)[DescriptorBufferSize])
{
    std::memset(buffer, 0, DescriptorBufferSize);
    const Device disk = openDeviceHandle(diskPath);
    if (diskPath.empty() || !disk)
        return false;
    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, 0, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    DWORD returned = 0;
    return DeviceIoControl(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer,
                           DescriptorBufferSize, &returned, nullptr) != FALSE;
}

DeviceNumber deviceNumber(const std::wstring &devicePath)
{
    DeviceNumber result;
    const Device device = openDeviceHandle(devicePath);
    if (devicePath.empty() || !device)
        return result;
    STORAGE_DEVICE_NUMBER number;
    std::memset(&number, 0, sizeof number);
    DWORD returned = 0;
    if (!DeviceIoControl(device.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof number,
                         &returned, nullptr))
        return result;
    result.known = true;
    result.isDisk = number.DeviceType == FILE_DEVICE_DISK;
    result.number = int(number.DeviceNumber);
    return result;
}

std::wstring volumeDevicePath(const std::wstring &drive)
{
    return L"\\\\.\\" + drive;
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
