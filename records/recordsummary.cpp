#include "recordsummary.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "records/ascanfile.h"
#include "records/ascansettings.h"
#include "records/filehead.h"
#include "records/texts.h"

namespace {

// Settings-table captions and their columns, in table order.
struct Column
{
    const char *caption;
    const char *name;
};

const Column SettingColumns[] = {
    {"Probe type", "probe_type"},
    {"Operating frequency, MHz", "frequency_mhz"},
    {"Probe angle,°", "probe_angle_deg"},
    {"Delay, µs", "delay_us"},
    {"Thickness, mm", "thickness_mm"},
    {"Thickness, inch", "thickness_inch"},
    {"Reference level, dB", "reference_level_db"},
    {"Correction by standart, dB", "correction_standard_db"},
    {"Correction for roughness, dB", "correction_roughness_db"},
    {"Acceptance level, dB", "acceptance_level_db"},
    {"Multilevel Strobe", "multilevel_strobe"},
    {"Reporting level, dB", "reporting_level_db"},
    {"Examination monitor, dB", "examination_monitor_db"},
    {"Scale", "scale"},
    {"Readings discreteness", "readings_discreteness"},
    {"Cursor", "cursor"},
};

// The rows carry captions in the interface's language; look them up the same way.
QString rowValue(const FileInfo &info, const char *caption)
{
    const QString translated = Texts::translate("CDataManager", caption);
    for (const SettingsRow &row : info.rows) {
        if (row.caption == translated)
            return row.value;
    }
    return QString();
}

} // namespace

FileInfo inspectFile(const QString &path)
{
    FileInfo info;
    info.file = path;
    // One open, without blocking, tells every failure: nothing is asked of the path before it.
    FileHead file(path);
    switch (file.outcome()) {
    case FileHead::Outcome::Opened: break;
    case FileHead::Outcome::Missing: info.kind = FileInfo::Missing; return info;
    case FileHead::Outcome::Directory: info.kind = FileInfo::Directory; return info;
    case FileHead::Outcome::NotRegular: info.kind = FileInfo::NotRegular; return info;
    case FileHead::Outcome::Denied:
    case FileHead::Outcome::Failed: info.kind = FileInfo::Unreadable; return info;
    }
    const QByteArray head = readRecordBytes(file);
    info.title = titleFromBytes(head);
    if (info.title.isEmpty()) {
        info.kind = FileInfo::NotAscan;
        return info;
    }
    AscanSettings settings;
    resetSettings(settings);
    if (recordFromBytes(head, settings) == 0) {
        info.kind = FileInfo::TitleOnly;
        return info;
    }
    info.kind = FileInfo::Record;
    info.configuration = settings.configurationName;
    info.rows = settingsTableRows(settings);
    return info;
}

QString errorText(FileInfo::Kind kind)
{
    switch (kind) {
    case FileInfo::Record: break;
    case FileInfo::TitleOnly: return QStringLiteral("settings cannot be read");
    case FileInfo::NotAscan: return QStringLiteral("not an A-scan file");
    case FileInfo::Missing: return QStringLiteral("no such file");
    case FileInfo::Directory: return QStringLiteral("is a directory");
    case FileInfo::Unreadable: return QStringLiteral("permission denied");
    case FileInfo::NotRegular: return QStringLiteral("not a regular file");
    case FileInfo::NoAscans: return QStringLiteral("no A-scans");
    }
    return QString();
}

QStringList csvColumns()
{
    QStringList columns = {QStringLiteral("file"), QStringLiteral("title"), QStringLiteral("configuration"),
                           QStringLiteral("date"), QStringLiteral("time")};
    for (const Column &column : SettingColumns)
        columns.append(QString::fromLatin1(column.name));
    return columns << QStringLiteral("error");
}

namespace {

bool isControl(ushort u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// A number as this program writes one ("-12.0"), which a spreadsheet must keep as a number.
bool isPlainNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+([.,][0-9]+)?$"));
    return number.match(text).hasMatch();
}

bool looksLikeFormula(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starts.contains(text.at(0)) && !isPlainNumber(text);
}

} // namespace

QString csvField(const QString &text, QChar separator)
{
    QString field;
    field.reserve(text.size() + 2);
    if (looksLikeFormula(text))
        field += QLatin1Char('\'');
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            field += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            field += c;
    }
    if (!field.contains(separator) && !field.contains(QLatin1Char('"')))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString csvHeader(QChar separator)
{
    return csvColumns().join(separator) + QStringLiteral("\r\n");
}

QString csvLine(const FileInfo &info, QChar separator)
{
    QStringList fields = {info.file, info.title, info.configuration, rowValue(info, "Date"),
                          rowValue(info, "Time")};
    for (const Column &column : SettingColumns)
        fields.append(rowValue(info, column.caption));
    fields.append(errorText(info.kind));
    for (QString &field : fields)
        field = csvField(field, separator);
    return fields.join(separator) + QStringLiteral("\r\n");
}

QString settingsTable(const QStringList &files, QChar separator)
{
    QString table = csvHeader(separator);
    for (const QString &file : files)
        table += csvLine(inspectFile(file), separator);
    return table;
}
