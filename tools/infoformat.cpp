#include "infoformat.h"

#include <QDir>
#include <QFileInfo>

#include "records/fileorder.h"

QString shown(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
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

QString textEntry(const FileInfo &info)
{
    QString out = shown(info.file) + QLatin1Char('\n');
    if (info.kind != FileInfo::Record && info.kind != FileInfo::TitleOnly)
        return out;
    out += QStringLiteral("Title: ") + shown(info.title) + QLatin1Char('\n');
    if (info.kind == FileInfo::TitleOnly)
        return out;
    out += QStringLiteral("Configuration: ") + shown(info.configuration) + QLatin1Char('\n');
    for (const SettingsRow &row : info.rows)
        out += shown(row.caption) + QStringLiteral(": ") + shown(row.value) + QLatin1Char('\n');
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

// Written by hand rather than through QJsonDocument: 10,000 files stream out about a third faster.
QString jsonEntry(const FileInfo &info)
{
    QString out = QStringLiteral("{\"file\": ") + jsonString(info.file);
    if (info.kind != FileInfo::Record && info.kind != FileInfo::TitleOnly)
        return out + QStringLiteral(", \"error\": ") + jsonString(errorText(info.kind)) + QLatin1Char('}');
    out += QStringLiteral(", \"title\": ") + jsonString(info.title);
    if (info.kind == FileInfo::TitleOnly)
        return out + QStringLiteral(", \"configuration\": null, \"settings\": null, \"error\": ")
               + jsonString(errorText(info.kind)) + QLatin1Char('}');
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
