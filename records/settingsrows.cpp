#include "settingsrows.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "records/ascansettings.h"
#include "records/texts.h"

namespace {


QString wholeText(qint16 value)
{
    return QStringLiteral("%1").arg(value);
}

QString thicknessValue(double value)
{
    return value < 0 ? Texts::translate("CDataManager", "off") : decimalText(value, 2);
}

// `units` hundredths (say) as "-1.25"; zero has no sign.
QString fixedText(qint64 units, int decimals)
{
    char digits[32];
    char *end = digits + sizeof digits, *p = end;
    quint64 rest = quint64(units < 0 ? -units : units);
    for (int written = 0; rest > 0 || written <= decimals; ++written) {
        if (written == decimals && decimals > 0)
            *--p = '.';
        *--p = char('0' + rest % 10);
        rest /= 10;
    }
    if (units < 0)
        *--p = '-';
    return QString::fromLatin1(p, int(end - p));
}

} // namespace

QString decimalText(double value, int decimals)
{
    // Most values are tenths or hundredths of small integers, far from a rounding tie: they are
    // written from the rounded integer, several times cheaper than the general conversion, which
    // a card of 10,000 records would ask for 70,000 times.
    static const double scales[] = {1, 10, 100, 1000};
    if (decimals >= 0 && decimals <= 3 && std::fabs(value) < 1e12) {
        const double scaled = value * scales[decimals];
        const double rounded = std::round(scaled);
        if (std::fabs(std::fabs(scaled - rounded) - 0.5) > 1e-3)
            return fixedText(qint64(rounded), decimals);
    }
    QString text = QStringLiteral("%1").arg(value, 0, 'f', decimals);
    // Negative zero, or a tiny negative sum, rounds to zero: zero has no sign.
    if (text.startsWith(QLatin1Char('-'))
        && std::all_of(text.cbegin() + 1, text.cend(), [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('.'); }))
        text.remove(0, 1);
    return text;
}

QVector<SettingsRow> settingsTableRows(const AscanSettings &s)
{
    QVector<SettingsRow> rows;
    rows.reserve(17);
    rows.append({Texts::translate("CDataManager", "Probe type"), s.dualProbe ? Texts::translate("CDataManager", "double") : Texts::translate("CDataManager", "single")});
    rows.append({Texts::translate("CDataManager", "Operating frequency, MHz"), s.frequency});
    rows.append({Texts::translate("CDataManager", "Probe angle,°"), decimalText(s.probeAngle, 1)});
    rows.append({Texts::translate("CDataManager", "Delay, µs"), decimalText(s.delay, 1)});
    if (s.unitSystem == 1)
        rows.append({Texts::translate("CDataManager", "Thickness, inch"), thicknessValue(s.thicknessInch)});
    else
        rows.append({Texts::translate("CDataManager", "Thickness, mm"), thicknessValue(s.thicknessMm)});
    if (s.referenceOn) {
        rows.append({Texts::translate("CDataManager", "Reference level, dB"), decimalText(s.referenceLevel, 1)});
        rows.append({Texts::translate("CDataManager", "Correction by standart, dB"), decimalText(s.correctionStandard, 1)});
        rows.append({Texts::translate("CDataManager", "Correction for roughness, dB"), decimalText(s.correctionRoughness, 1)});
        rows.append({Texts::translate("CDataManager", "Acceptance level, dB"), decimalText(s.acceptanceLevel, 1)});
    } else {
        rows.append({Texts::translate("CDataManager", "Reference level, dB"), Texts::translate("CDataManager", "off")});
    }
    rows.append({Texts::translate("CDataManager", "Multilevel Strobe"), s.strobe});
    if (s.strobe == Texts::translate("CDataManager", "on")) {
        rows.append({Texts::translate("CDataManager", "Reporting level, dB"), wholeText(s.reportingLevel)});
        rows.append({Texts::translate("CDataManager", "Examination monitor, dB"), wholeText(s.examinationMonitor)});
    }
    rows.append({Texts::translate("CDataManager", "Scale"), s.scale});
    rows.append({Texts::translate("CDataManager", "Readings discreteness"), s.discreteness});
    rows.append({Texts::translate("CDataManager", "Cursor"), s.cursor});
    rows.append({Texts::translate("CDataManager", "Date"), s.dateText});
    rows.append({Texts::translate("CDataManager", "Time"), s.timeText});
    return rows;
}
