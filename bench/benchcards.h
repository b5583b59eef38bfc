#ifndef BENCHCARDS_H
#define BENCHCARDS_H

#include <QString>

// Distinct A-scans behind every benchmark folder; larger folders repeat them as hard links.
constexpr int DistinctAscans = 10000;

// Folder <base>/<name> (default: the count) holds 1.jpg .. <count>.jpg, hard links into a pool of
// distinct A-scans drawn from `screens` instrument screens (a few keep generation quick; the titles
// differ). Made once: a finished folder is marked and reused. Empty when it cannot be written.
QString cardFolder(const QString &base, int count, int screens, const QString &name = QString());

#endif // BENCHCARDS_H
