// Links every storage helper against the real Win32 import libraries; built by wincheck.mk,
// never run here.
#include "winstorage_win.h"

#include <cstdio>

int main()
{
    const HDEVINFO list = winstorage::openPresentDisks();
    if (list == INVALID_HANDLE_VALUE)
        return 1;
    SP_DEVINFO_DATA deviceInfo;
    ZeroMemory(&deviceInfo, sizeof deviceInfo);
    deviceInfo.cbSize = sizeof deviceInfo;
    for (DWORD index = 0; winstorage::enumDisk(list, index, &deviceInfo); ++index) {
        unsigned char descriptor[winstorage::DescriptorBufferSize];
        std::printf("disk %lu: %s\n", static_cast<unsigned long>(index),
                    winstorage::readDiskDescriptor(index, descriptor) ? "descriptor read" : "not readable");
    }
    winstorage::closeDiskList(list);
    std::printf("C: is on disk %d\n", winstorage::volumeDiskNumber(L"C:"));

    MSG message;
    ZeroMemory(&message, sizeof message);
    return winstorage::decodeDeviceChange(&message) == winstorage::DeviceChange::None ? 0 : 1;
}
