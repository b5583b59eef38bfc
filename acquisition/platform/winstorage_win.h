#ifndef WINSTORAGE_WIN_H
#define WINSTORAGE_WIN_H

// Win32 storage queries behind instrument detection, written against the Win32 API and the
// C++ standard library only.

#include <windows.h>
#include <setupapi.h>

#include <string>

namespace winstorage {

constexpr int DescriptorBufferSize = 256;

// SetupDiGetClassDevsW for present disk drives; INVALID_HANDLE_VALUE on failure.
HDEVINFO openPresentDisks();
void closeDiskList(HDEVINFO list);
// SetupDiEnumDeviceInfo for one index; the record's size must be set by the caller.
bool enumDisk(HDEVINFO list, DWORD index, SP_DEVINFO_DATA *deviceInfo);
// Opens \\.\PhysicalDrive<index>, queries the storage device descriptor into the zero-filled
// 256-byte buffer and closes the handle.
bool readDiskDescriptor(DWORD index, unsigned char (&buffer)[DescriptorBufferSize]);
// Opens \\.\<drive> and returns the disk number of its volume, or -1.
int volumeDiskNumber(const std::wstring &drive);

enum class DeviceChange { None, Arrival, Removal };
// WM_DEVICECHANGE with DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE; lParam is not examined.
DeviceChange decodeDeviceChange(const MSG *message);

} // namespace winstorage

#endif // WINSTORAGE_WIN_H
