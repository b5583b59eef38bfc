#include "fileorder.h"

#include <QDirIterator>
#include <QVector>

#include <algorithm>

int fileNumber(const QString &name)
{
    return name.section(QLatin1Char('.'), 0, 0).toInt();
}

QStringList orderByFileNumber(const QStringList &nameSortedListing)
{
    // Ascending numbers, and for one number descending names: what inserting the name-sorted
    // names into a multi-map by number gives, as each goes before those already there. Names
    // in a folder are unique, so one sort needs neither the name-sorted input nor the map.
    QVector<QPair<int, QString>> numbered;
    numbered.reserve(nameSortedListing.size());
    for (const QString &name : nameSortedListing) {
        if (const int number = fileNumber(name))
            numbered.append({number, name});
    }
    std::sort(numbered.begin(), numbered.end(), [](const QPair<int, QString> &a, const QPair<int, QString> &b) {
        return a.first != b.first ? a.first < b.first : b.second < a.second;
    });
    QStringList names;
    names.reserve(numbered.size());
    for (const auto &entry : numbered)
        names.append(entry.second);
    return names;
}

QStringList ascanWorkList(const QString &directory)
{
    // The names QDir::entryList gives for "*.jpg" and QDir::Files; their name order is of no
    // use to the ordering above, so the listing is not sorted. The name filter is a plain
    // suffix test: Qt's wildcard filter runs a regular expression for every entry.
    QStringList listing;
    QDirIterator it(directory, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
            listing.append(name);
    }
    return orderByFileNumber(listing);
}

int progressPercent(int done, int total)
{
    if (total <= 0)
        return 0;
    return int(double(done) / double(total) * 100.0 + 0.5);
}
