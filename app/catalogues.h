#ifndef CATALOGUES_H
#define CATALOGUES_H

#include <QString>

class QObject;

// Installs the program's Russian catalogue when it lies in programDir, and then the toolkit's own
// Russian catalogue too; the translators are children of owner. True when the program's loaded.
bool installCatalogues(const QString &programDir, QObject *owner);

#endif // CATALOGUES_H
