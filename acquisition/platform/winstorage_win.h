#ifndef WINSTORAGE_WIN_H
#define WINSTORAGE_WIN_H

// Win32 storage queries behind instrument detection, written against the Win32 API and the
// C++ standard library only.

#include <windows.h>

#include <string>
#include <vector>

namespace winstorage {

constexpr int DescriptorBufferSize = 256;

// The device paths of the disk interfaces present (SetupAPI, GUID_DEVINTERFACE_DISK), in the
// system's order; false when the list cannot be taken.
bool presentDiskPaths(std::vector<std::wstring> *paths);
// Opens a disk by its device path, queries the storage device descriptor into the zero-filled
// 256-byte buffer and closes the handle.
bool readDiskDescriptor(const std::wstring &diskPath, unsigned char (&buffer)[DescriptorBufferSize]);

// What IOCTL_STORAGE_GET_DEVICE_NUMBER says of a device: disks and CD-ROMs are numbered apart.
struct DeviceNumber
{
    bool known = false;
    bool isDisk = false;   // FILE_DEVICE_DISK
    int number = -1;
};
// For a disk's device path, or for a volume as "\\.\E:".
DeviceNumber deviceNumber(const std::wstring &devicePath);
std::wstring volumeDevicePath(const std::wstring &drive);

enum class DeviceChange { None, Arrival, Removal };
// WM_DEVICECHANGE with DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE; lParam is not examined.
DeviceChange decodeDeviceChange(const MSG *message);

} // namespace winstorage

#endif // WINSTORAGE_WIN_H
