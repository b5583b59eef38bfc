#ifndef GLOBALS_H
#define GLOBALS_H

#include <QString>

extern const QString productName;         // "Scanlet": message box titles, the report letterhead
extern const QString instrumentVendorId;  // "KINETIS": searched for in disk descriptors

#endif // GLOBALS_H
