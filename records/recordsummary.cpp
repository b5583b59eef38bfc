#include "recordsummary.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>

#include <QFile>
#include <QFileInfo>

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

// The fields of a file's line, as the window's table shows them; the settings' columns begin at
// FirstSetting.
constexpr int FirstSetting = 5;
QStringList tableFields(const FileInfo &info)
{
    QStringList fields = {info.file, info.title, info.configuration, rowValue(info, "Date"),
                          rowValue(info, "Time")};
    for (const Column &column : SettingColumns)
        fields.append(rowValue(info, column.caption));
    return fields;
}

// The window's table holds the fixed texts in the interface's language; programs get them as the
// inspector writes them.
QString sourceText(const QString &shown)
{
    static const char *const texts[] = {"single", "double", "off", "on", "mm depth", "µs", "mm path"};
    for (const char *text : texts) {
        if (QCoreApplication::translate("CDataManager", text) == shown)
            return QString::fromUtf8(text);
    }
    return shown;
}

// A number as the program wrote it ("-12.5", "15.0", "1"): the only fields given the locale's mark.
bool isWrittenNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return number.match(text).hasMatch();
}

QString localDate(const QString &text, const QLocale &locale)
{
    const QDate date = QDate::fromString(text, QStringLiteral("dd:MM:yyyy"));
    return date.isValid() ? fullYearDate(date, locale) : text;
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

QString fullYearDate(const QDate &date, const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return locale.toString(date, format);
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
    QStringList fields = tableFields(info);
    for (int i = FirstSetting; i < fields.size(); ++i)
        fields[i] = sourceText(fields.at(i));
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

SpreadsheetDialect spreadsheetDialect(const QLocale &locale)
{
    return {locale, locale.decimalPoint() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',')};
}

QString spreadsheetTable(const QStringList &files, const SpreadsheetDialect &dialect)
{
    static const char *const headings[] = {
        QT_TRANSLATE_NOOP("SpreadsheetTable", "File"), QT_TRANSLATE_NOOP("SpreadsheetTable", "Title"),
        QT_TRANSLATE_NOOP("SpreadsheetTable", "Configuration"), QT_TRANSLATE_NOOP("CDataManager", "Date"),
        QT_TRANSLATE_NOOP("CDataManager", "Time")};
    // The error texts, for the catalogue; translated from errorText() below.
    static const char *const errors[] = {
        QT_TRANSLATE_NOOP("SpreadsheetTable", "settings cannot be read"),
        QT_TRANSLATE_NOOP("SpreadsheetTable", "not an A-scan file"),
        QT_TRANSLATE_NOOP("SpreadsheetTable", "no such file"), QT_TRANSLATE_NOOP("SpreadsheetTable", "is a directory"),
        QT_TRANSLATE_NOOP("SpreadsheetTable", "permission denied")};
    Q_UNUSED(errors)
    QStringList header;
    for (int i = 0; i < FirstSetting; ++i)
        header << QCoreApplication::translate(i < 3 ? "SpreadsheetTable" : "CDataManager", headings[i]);
    for (const Column &column : SettingColumns)
        header << QCoreApplication::translate("CDataManager", column.caption);
    header << QCoreApplication::translate("SpreadsheetTable", "Error");
    const QChar separator = dialect.separator;
    const auto line = [separator](QStringList fields) {
        for (QString &field : fields)
            field = csvField(field, separator);
        return fields.join(separator) + QStringLiteral("\r\n");
    };
    QString table = line(header);
    for (const QString &file : files) {
        const FileInfo info = inspectFile(file);
        QStringList fields = tableFields(info);
        fields[3] = localDate(fields.at(3), dialect.locale);
        for (int i = FirstSetting; i < fields.size(); ++i) {
            if (isWrittenNumber(fields.at(i)))
                fields[i].replace(QLatin1Char('.'), dialect.locale.decimalPoint());
        }
        fields << QCoreApplication::translate("SpreadsheetTable", errorText(info.kind).toLatin1().constData());
        table += line(fields);
    }
    return table;
}

QByteArray spreadsheetFile(const QStringList &files, const SpreadsheetDialect &dialect)
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + spreadsheetTable(files, dialect).toUtf8();
}
