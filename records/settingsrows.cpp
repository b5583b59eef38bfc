#include "settingsrows.h"

#include <QCoreApplication>

#include "records/ascansettings.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CDataManager", text);
}

QString wholeText(qint16 value)
{
    return QStringLiteral("%1").arg(value);
}

QString thicknessValue(double value)
{
    return value < 0 ? tr("off") : decimalText(value, 2);
}

} // namespace

QString decimalText(double value, int decimals)
{
    return QStringLiteral("%1").arg(value, 0, 'f', decimals);
}

QVector<SettingsRow> settingsTableRows(const AscanSettings &s)
{
    QVector<SettingsRow> rows;
    rows.reserve(17);
    rows.append({tr("Probe type"), s.dualProbe ? tr("double") : tr("single")});
    rows.append({tr("Operating frequency, MHz"), s.frequency});
    rows.append({tr("Probe angle,°"), decimalText(s.probeAngle, 1)});
    rows.append({tr("Delay, µs"), decimalText(s.delay, 1)});
    if (s.unitSystem == 1)
        rows.append({tr("Thickness, inch"), thicknessValue(s.thicknessInch)});
    else
        rows.append({tr("Thickness, mm"), thicknessValue(s.thicknessMm)});
    if (s.referenceOn) {
        rows.append({tr("Reference level, dB"), decimalText(s.referenceLevel, 1)});
        rows.append({tr("Correction by standart, dB"), decimalText(s.correctionStandard, 1)});
        rows.append({tr("Correction for roughness, dB"), decimalText(s.correctionRoughness, 1)});
        rows.append({tr("Acceptance level, dB"), decimalText(s.acceptanceLevel, 1)});
    } else {
        rows.append({tr("Reference level, dB"), tr("off")});
    }
    rows.append({tr("Multilevel Strobe"), s.strobe});
    if (s.strobe == tr("on")) {
        rows.append({tr("Reporting level, dB"), wholeText(s.reportingLevel)});
        rows.append({tr("Examination monitor, dB"), wholeText(s.examinationMonitor)});
    }
    rows.append({tr("Scale"), s.scale});
    rows.append({tr("Readings discreteness"), s.discreteness});
    rows.append({tr("Cursor"), s.cursor});
    rows.append({tr("Date"), s.dateText});
    rows.append({tr("Time"), s.timeText});
    return rows;
}
