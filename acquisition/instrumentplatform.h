#ifndef INSTRUMENTPLATFORM_H
#define INSTRUMENTPLATFORM_H

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <memory>

// The device a volume lives on: a disk, or another kind (a CD-ROM, a mounted image) whose
// numbers are counted apart from the disks' and may equal one of them.
struct VolumeDevice
{
    bool isDisk = false;
    int number = -1;   // -1: the volume could not be asked
};

// What instrument detection needs from the operating system. One implementation per platform
// (platform/instrumentplatform_win.cpp, platform/linuxplatform.cpp); tests use a fake.
class InstrumentPlatform
{
public:
    virtual ~InstrumentPlatform() = default;

    // Takes the list of disks present; false when the system cannot give it.
    virtual bool openDiskList() = 0;
    // Releases what openDiskList took; called once on every way out after a successful open.
    virtual void closeDiskList() = 0;
    // True while a disk with this index exists in the list (the first false ends the walk).
    virtual bool diskAt(int index) = 0;
    // Fills the zero-filled 256-byte buffer with the disk's descriptor; false when the disk
    // cannot be opened or queried.
    virtual bool readDiskDescriptor(int index, QByteArray &descriptor) = 0;
    // The number the system gave the disk at this place in the list, by which its volumes name
    // it, or -1. Not the place itself: numbers keep gaps where disks were unplugged.
    virtual int diskNumber(int index) = 0;
    // Drive roots in the system's order, each ending with one separator ("E:/", "/media/card/").
    virtual QStringList driveRoots() = 0;
    // The device holding the drive's volume. `drive` is a root without its last character.
    virtual VolumeDevice volumeDevice(const QString &drive) = 0;
    // Whether a device root found earlier is still there.
    virtual bool rootPresent(const QString &root) = 0;
    // What tells one mounted volume at `root` from another mounted there later (a card taken
    // out and put back within one event pass); empty when unknown.
    virtual QString rootIdentity(const QString &root) = 0;
};

// True while the instrument found at `root`, with that identity, is still the one there.
bool sameInstrumentPresent(InstrumentPlatform &platform, const QString &root, const QString &identity);

std::unique_ptr<InstrumentPlatform> createInstrumentPlatform();

// Tests replace the platform every new main window gets; an empty function restores the real one.
void setInstrumentPlatformFactory(std::function<std::unique_ptr<InstrumentPlatform>()> factory);
std::unique_ptr<InstrumentPlatform> makeInstrumentPlatform();

#endif // INSTRUMENTPLATFORM_H
