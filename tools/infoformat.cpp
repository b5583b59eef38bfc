#include "infoformat.h"

#include <cstring>

namespace {

bool reorders(ushort u)
{
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x2028 || u == 0x2029;
}

} // namespace

QString shown(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if (reorders(u))
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else if (u == '\\')
            out += QStringLiteral("\\\\");
        else
            out += c;
    }
    return out;
}

void appendTextEntry(QByteArray &out, const FileInfo &info)
{
    out += shown(info.file).toUtf8() + '\n';
    if (info.kind != FileInfo::Record && info.kind != FileInfo::TitleOnly)
        return;
    out += "Title: " + shown(info.title).toUtf8() + '\n';
    if (info.kind == FileInfo::TitleOnly)
        return;
    out += "Configuration: " + shown(info.configuration).toUtf8() + '\n';
    for (const SettingsRow &row : info.rows)
        out += shown(row.caption).toUtf8() + ": " + shown(row.value).toUtf8() + '\n';
}

namespace {

// `text` as a JSON string, written straight from UTF-16 at `q`, which has room for six bytes a
// character and the quotes; returns the end. A conversion of its own per string, and an append
// per character, cost the inspector more than its reads.
char *jsonString(char *q, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    *q++ = '"';
    const ushort *p = text.utf16(), *end = p + text.size();
    for (; p != end; ++p) {
        const uint c = *p;
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            *q++ = char(c);
            continue;
        }
        if (c >= 0x80) {
            uint code = c;
            if (QChar::isHighSurrogate(c) && p + 1 != end && QChar::isLowSurrogate(p[1]))
                code = QChar::surrogateToUcs4(ushort(c), *++p);
            else if (QChar::isSurrogate(c))
                code = 0xFFFD; // alone, it is no character: the replacement character stands for it
            if (code < 0x800) {
                *q++ = char(0xC0 | code >> 6);
            } else if (code < 0x10000) {
                *q++ = char(0xE0 | code >> 12);
                *q++ = char(0x80 | ((code >> 6) & 0x3F));
            } else {
                *q++ = char(0xF0 | code >> 18);
                *q++ = char(0x80 | ((code >> 12) & 0x3F));
                *q++ = char(0x80 | ((code >> 6) & 0x3F));
            }
            *q++ = char(0x80 | (code & 0x3F));
            continue;
        }
        *q++ = '\\';
        switch (c) {
        case '"': *q++ = '"'; break;
        case '\\': *q++ = '\\'; break;
        case '\b': *q++ = 'b'; break;
        case '\f': *q++ = 'f'; break;
        case '\n': *q++ = 'n'; break;
        case '\r': *q++ = 'r'; break;
        case '\t': *q++ = 't'; break;
        default:
            *q++ = 'u';
            *q++ = '0';
            *q++ = '0';
            *q++ = hex[c >> 4];
            *q++ = hex[c & 15];
        }
    }
    *q++ = '"';
    return q;
}

template <int N>
char *put(char *q, const char (&text)[N])
{
    std::memcpy(q, text, N - 1);
    return q + N - 1;
}

// The most an entry can take: every character escaped, the fixed texts and an error text.
int entryBound(const FileInfo &info)
{
    int characters = info.file.size() + info.title.size() + info.configuration.size() + 32;
    for (const SettingsRow &row : info.rows)
        characters += row.caption.size() + row.value.size();
    return 6 * characters + 128 + 16 * info.rows.size();
}

char *jsonFields(char *q, const FileInfo &info)
{
    q = put(q, "{\"file\": ");
    q = jsonString(q, info.file);
    if (info.kind != FileInfo::Record && info.kind != FileInfo::TitleOnly) {
        q = put(q, ", \"error\": ");
        q = jsonString(q, errorText(info.kind));
        return put(q, "}");
    }
    q = put(q, ", \"title\": ");
    q = jsonString(q, info.title);
    if (info.kind == FileInfo::TitleOnly) {
        q = put(q, ", \"configuration\": null, \"settings\": null, \"error\": ");
        q = jsonString(q, errorText(info.kind));
        return put(q, "}");
    }
    q = put(q, ", \"configuration\": ");
    q = jsonString(q, info.configuration);
    q = put(q, ", \"settings\": [");
    for (int i = 0; i < info.rows.size(); ++i) {
        q = i > 0 ? put(q, ", [") : put(q, "[");
        q = jsonString(q, info.rows.at(i).caption);
        q = put(q, ", ");
        q = jsonString(q, info.rows.at(i).value);
        q = put(q, "]");
    }
    return put(q, "]}");
}

} // namespace

// Written by hand rather than through QJsonDocument, into the output grown once per entry.
void appendJsonEntry(QByteArray &out, const FileInfo &info)
{
    const int start = out.size();
    out.resize(start + entryBound(info));
    char *end = jsonFields(out.data() + start, info);
    out.resize(int(end - out.constData()));
}
