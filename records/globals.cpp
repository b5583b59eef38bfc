#include "globals.h"

const QString productName = QString::fromLatin1("Scanlet");
const QString instrumentVendorId = QString::fromLatin1("KINETIS");
