// Links every storage helper against the real Win32 import libraries; built by wincheck.mk,
// never run here.
#include "winstorage_win.h"

#include <cstdio>

int main()
{
    std::vector<std::wstring> disks;
    if (!winstorage::presentDiskPaths(&disks))
        return 1;
    for (const std::wstring &path : disks) {
        unsigned char descriptor[winstorage::DescriptorBufferSize];
        const winstorage::DeviceNumber number = winstorage::deviceNumber(path);
        std::printf("disk %d: %s\n", number.number,
                    winstorage::readDiskDescriptor(path, descriptor) ? "descriptor read" : "not readable");
    }
    std::printf("C: is on disk %d\n", winstorage::deviceNumber(winstorage::volumeDevicePath(L"C:")).number);

    MSG message;
    ZeroMemory(&message, sizeof message);
    return winstorage::decodeDeviceChange(&message) == winstorage::DeviceChange::None ? 0 : 1;
}
