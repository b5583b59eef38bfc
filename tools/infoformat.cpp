#include "infoformat.h"

#include "records/ascanfile.h"
#include "records/ascansettings.h"

namespace {

// Settings-table captions and their CSV columns, in table order.
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

QString rowValue(const FileInfo &info, const QString &caption)
{
    for (const SettingsRow &row : info.rows) {
        if (row.caption == caption)
            return row.value;
    }
    return QString();
}

} // namespace

FileInfo inspectFile(const QString &path)
{
    FileInfo info;
    info.file = path;
    const QByteArray head = readRecordBytes(path);
    info.title = titleFromBytes(head);
    if (info.title.isEmpty())
        return info;
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

QString textEntry(const FileInfo &info)
{
    QString out = info.file + QLatin1Char('\n');
    if (info.kind == FileInfo::NotAscan)
        return out + QStringLiteral("Error: not an A-scan file\n");
    out += QStringLiteral("Title: ") + info.title + QLatin1Char('\n');
    if (info.kind == FileInfo::TitleOnly)
        return out + QStringLiteral("Error: the settings could not be read\n");
    out += QStringLiteral("Configuration: ") + info.configuration + QLatin1Char('\n');
    for (const SettingsRow &row : info.rows)
        out += row.caption + QStringLiteral(": ") + row.value + QLatin1Char('\n');
    return out;
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\b': out += QStringLiteral("\\b"); break;
        case '\f': out += QStringLiteral("\\f"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString jsonEntry(const FileInfo &info)
{
    QString out = QStringLiteral("{\"file\": ") + jsonString(info.file);
    if (info.kind == FileInfo::NotAscan)
        return out + QStringLiteral(", \"error\": \"not an A-scan file\"}");
    out += QStringLiteral(", \"title\": ") + jsonString(info.title);
    if (info.kind == FileInfo::TitleOnly)
        return out + QStringLiteral(", \"configuration\": null, \"settings\": null}");
    out += QStringLiteral(", \"configuration\": ") + jsonString(info.configuration);
    out += QStringLiteral(", \"settings\": [");
    for (int i = 0; i < info.rows.size(); ++i) {
        if (i > 0)
            out += QStringLiteral(", ");
        out += QLatin1Char('[') + jsonString(info.rows.at(i).caption) + QStringLiteral(", ")
               + jsonString(info.rows.at(i).value) + QLatin1Char(']');
    }
    return out + QStringLiteral("]}");
}

QStringList csvColumns()
{
    QStringList columns = {QStringLiteral("file"), QStringLiteral("title"), QStringLiteral("configuration"),
                           QStringLiteral("date"), QStringLiteral("time")};
    for (const Column &column : SettingColumns)
        columns.append(QString::fromLatin1(column.name));
    return columns;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvHeader()
{
    return csvColumns().join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString csvLine(const FileInfo &info)
{
    QStringList fields = {info.file, info.title, info.configuration, rowValue(info, QStringLiteral("Date")),
                          rowValue(info, QStringLiteral("Time"))};
    for (const Column &column : SettingColumns)
        fields.append(rowValue(info, QString::fromUtf8(column.caption)));
    for (QString &field : fields)
        field = csvField(field);
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}
