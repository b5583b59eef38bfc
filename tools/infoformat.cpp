#include "infoformat.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "acquisition/fileorder.h"
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
    const QFileInfo file(path);
    if (!file.exists()) {
        info.kind = FileInfo::Missing;
        return info;
    }
    if (file.isDir()) {
        info.kind = FileInfo::Directory;
        return info;
    }
    if (!QFile(path).open(QIODevice::ReadOnly)) {
        info.kind = file.isReadable() ? FileInfo::NotAscan : FileInfo::Unreadable;
        return info;
    }
    info.title = readTitle(path);
    if (info.title.isEmpty())
        return info;
    AscanSettings settings;
    resetSettings(settings);
    if (readRecord(path, settings) == 0) {
        info.kind = FileInfo::TitleOnly;
        return info;
    }
    info.kind = FileInfo::Record;
    info.configuration = settings.configurationName;
    info.rows = settingsTableRows(settings);
    return info;
}

QStringList expandFolders(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        const QStringList names = QFileInfo(argument).isDir() ? ascanWorkList(argument) : QStringList();
        if (names.isEmpty())
            files.append(argument);
        for (const QString &name : names)
            files.append(QDir(argument).filePath(name));
    }
    return files;
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

QString textEntry(const FileInfo &info)
{
    QString out = info.file + QLatin1Char('\n');
    if (info.kind != FileInfo::Record && info.kind != FileInfo::TitleOnly)
        return out;
    out += QStringLiteral("Title: ") + info.title + QLatin1Char('\n');
    if (info.kind == FileInfo::TitleOnly)
        return out;
    out += QStringLiteral("Configuration: ") + info.configuration + QLatin1Char('\n');
    for (const SettingsRow &row : info.rows)
        out += row.caption + QStringLiteral(": ") + row.value + QLatin1Char('\n');
    return out;
}

QString jsonEntry(const FileInfo &info)
{
    QJsonObject entry{{QStringLiteral("file"), info.file}};
    if (info.kind != FileInfo::Record)
        entry.insert(QStringLiteral("error"), errorText(info.kind));
    if (info.kind == FileInfo::Record || info.kind == FileInfo::TitleOnly) {
        entry.insert(QStringLiteral("title"), info.title);
        entry.insert(QStringLiteral("configuration"), info.kind == FileInfo::Record ? QJsonValue(info.configuration)
                                                                                    : QJsonValue());
        QJsonArray settings;
        for (const SettingsRow &row : info.rows)
            settings.append(QJsonArray{row.caption, row.value});
        entry.insert(QStringLiteral("settings"), info.kind == FileInfo::Record ? QJsonValue(settings) : QJsonValue());
    }
    return QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact));
}

QStringList csvColumns()
{
    QStringList columns = {QStringLiteral("file"), QStringLiteral("title"), QStringLiteral("configuration"),
                           QStringLiteral("date"), QStringLiteral("time")};
    for (const Column &column : SettingColumns)
        columns.append(QString::fromLatin1(column.name));
    return columns << QStringLiteral("error");
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
    fields.append(errorText(info.kind));
    for (QString &field : fields)
        field = csvField(field);
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}
