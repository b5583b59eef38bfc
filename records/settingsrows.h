#ifndef SETTINGSROWS_H
#define SETTINGSROWS_H

#include <QString>
#include <QVector>

struct AscanSettings;

struct SettingsRow
{
    QString caption;
    QString value;
};

// The rows of the settings table for one record, in table order: 12, 14, 15 or 17 of them.
// Captions and fixed texts are translated now, in the context "CDataManager".
QVector<SettingsRow> settingsTableRows(const AscanSettings &settings);

QString decimalText(double value, int decimals);

#endif // SETTINGSROWS_H
