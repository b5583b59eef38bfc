#include "acquisition/devicewatcher.h"

#include "acquisition/platform/winstorage_win.h"

DeviceWatcher *createDeviceWatcher(QObject *parent)
{
    // Windows sends WM_DEVICECHANGE to every top-level window; nativeEvent decodes it.
    return new DeviceWatcher(parent);
}

DeviceChange decodeNativeDeviceEvent(const QByteArray &, void *message)
{
    switch (winstorage::decodeDeviceChange(static_cast<const MSG *>(message))) {
    case winstorage::DeviceChange::Arrival: return DeviceChange::Arrival;
    case winstorage::DeviceChange::Removal: return DeviceChange::Removal;
    default: return DeviceChange::None;
    }
}
