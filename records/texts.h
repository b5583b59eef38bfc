#ifndef TEXTS_H
#define TEXTS_H

#include <QString>

namespace Texts {
// QCoreApplication::translate, kept per language: a card of 10,000 records asks for the same
// thirty texts of each, and a translation costs a lock, a conversion and an allocation. `source`
// must be a literal (its address is the key). The texts are translated again after any change
// of the application's catalogues.
QString translate(const char *context, const char *source);
}

#endif // TEXTS_H
