#include "infoformat.h"

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
