#include "recordsummary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "records/ascanfile.h"
#include "records/ascansettings.h"

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
    const QString translated = QCoreApplication::translate("CDataManager", caption);
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
    const QFileInfo file(path);
    if (!file.exists()) {
        info.kind = FileInfo::Missing;
        return info;
    }
    if (file.isDir()) {
        info.kind = FileInfo::Directory;
        return info;
    }
    // One open and one read for title and record alike.
    const QByteArray head = readRecordBytes(path);
    info.title = titleFromBytes(head);
    if (info.title.isEmpty()) {
        // Only now, as it costs a second open: was it the file's content or its permissions?
        info.kind = QFile(path).open(QIODevice::ReadOnly) ? FileInfo::NotAscan : FileInfo::Unreadable;
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

QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
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
