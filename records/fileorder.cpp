#include "fileorder.h"

#include <QVector>

#include <algorithm>

#include "records/filehead.h"

int fileNumber(const QString &name)
{
    // Plain digits, as the instrument names its files, are read here; anything else the way
    // QString reads numbers (signs, spaces), which costs an allocation per name.
    const int dot = name.indexOf(QLatin1Char('.'));
    const int length = dot < 0 ? name.size() : dot;
    if (length > 0 && length <= 9) {
        int number = 0;
        int i = 0;
        for (; i < length; ++i) {
            const ushort c = name.at(i).unicode();
            if (c < '0' || c > '9')
                break;
            number = number * 10 + (c - '0');
        }
        if (i == length)
            return number;
    }
    return name.leftRef(length).toInt();
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
    // Their name order is of no use to the ordering above, so the listing is not sorted.
    return orderByFileNumber(regularFileNames(directory, QStringLiteral(".jpg")));
}

int progressPercent(int done, int total)
{
    if (total <= 0)
        return 0;
    return int(double(done) / double(total) * 100.0 + 0.5);
}
