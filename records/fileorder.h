#ifndef FILEORDER_H
#define FILEORDER_H

#include <QStringList>

// The number before the first "." of a file name; 0 when it is not a number that fits an int.
int fileNumber(const QString &name);

// Orders a name-sorted listing by file number; names with the same number come in descending
// name order, and names whose number is 0 are dropped.
QStringList orderByFileNumber(const QStringList &nameSortedListing);

// The directory's "*.jpg" files (case-insensitive, files only), ordered as above.
QStringList ascanWorkList(const QString &directory);

// Progress in percent after `done` of `total` files, rounded half up.
int progressPercent(int done, int total);

#endif // FILEORDER_H
