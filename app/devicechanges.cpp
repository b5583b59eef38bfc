// The main window's side of the instrument: detection and device arrival and removal.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QDir>

#include "acquisition/instrumentdetection.h"
#include "acquisition/instrumentplatform.h"
#include "app/dialogs.h"
#include "records/globals.h"

bool CDataManager::detectInstrument()
{
    const DetectionResult result = detectInstrumentRoot(*platform, devicePath);
    deviceIdentity = platform->rootIdentity(devicePath);
    if (result == DetectionResult::DiskListUnavailable)
        Dialogs::current().warning(this, productName, tr("Unable to get system information about present disks!"));
    return result == DetectionResult::Found;
}

void CDataManager::handleDeviceArrival()
{
    // A second instrument plugged in while one is known is ignored.
    if (devicePath.isEmpty() && detectInstrument() && ui->fileListWidget->count() == 0)
        loadFromDevice();
    updateDeviceButton();
}

void CDataManager::handleDeviceRemoval()
{
    if (dataDir == devicePath) {
        // The shown data came from the instrument: only its own removal matters.
        if (!sameInstrumentPresent(*platform, devicePath, deviceIdentity)) {
            // A loading from it ends as Cancel ends it; nothing more is read from that root.
            if (isLoading)
                closeLoadingDialog();
            resetView();
            if (detectInstrument())
                loadFromDevice();
            else
                dataDir = QDir::currentPath();
        }
    } else if (!devicePath.isEmpty() && !sameInstrumentPresent(*platform, devicePath, deviceIdentity)) {
        detectInstrument();
    }
    updateDeviceButton();
}
