#include "fileorder.h"

#include <QDir>
#include <QMultiMap>

int fileNumber(const QString &name)
{
    return name.section(QLatin1Char('.'), 0, 0).toInt();
}

QStringList orderByFileNumber(const QStringList &nameSortedListing)
{
    QMultiMap<int, QString> byNumber;
    for (const QString &name : nameSortedListing) {
        const int number = fileNumber(name);
        if (number != 0)
            byNumber.insert(number, name); // goes before the names already there with that number
    }
    return byNumber.values();
}

QStringList ascanWorkList(const QString &directory)
{
    const QStringList listing = QDir(directory).entryList(QStringList(QStringLiteral("*.jpg")),
                                                          QDir::Files, QDir::Name);
    return orderByFileNumber(listing);
}

int progressPercent(int done, int total)
{
    if (total <= 0)
        return 0;
    return int(double(done) / double(total) * 100.0 + 0.5);
}
