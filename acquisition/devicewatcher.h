#ifndef DEVICEWATCHER_H
#define DEVICEWATCHER_H

#include <QObject>

// Tells the main window that a device arrived or was removed, nothing about the device itself.
class DeviceWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void deviceArrived();
    void deviceRemoved();
};

// The platform's watcher; on Windows the messages come through nativeEvent instead.
DeviceWatcher *createDeviceWatcher(QObject *parent);

enum class DeviceChange { None, Arrival, Removal };

// Decodes a native message handed to QWidget::nativeEvent.
DeviceChange decodeNativeDeviceEvent(const QByteArray &eventType, void *message);

#endif // DEVICEWATCHER_H
