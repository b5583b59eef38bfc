// scanlet-info: the decoded record of A-scan files as text, JSON or CSV.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "infoformat.h"

namespace {

// The words joined by ", " in indented lines of at most 78 characters.
QString wrapped(const QStringList &words)
{
    QString text;
    QString line = QStringLiteral("  ");
    for (int i = 0; i < words.size(); ++i) {
        const QString word = words.at(i) + (i + 1 < words.size() ? QStringLiteral(",") : QString());
        if (line.size() > 2 && line.size() + 1 + word.size() > 78) {
            text += line + QLatin1Char('\n');
            line = QStringLiteral("  ");
        }
        line += (line.size() > 2 ? QStringLiteral(" ") : QString()) + word;
    }
    return text + line + QLatin1Char('\n');
}

QString usage()
{
    return QStringLiteral(
               "Usage: scanlet-info [--json | --csv] FILE|FOLDER...\n"
               "Prints what Scanlet's settings table shows for each A-scan file; a folder stands\n"
               "for its A-scan files in the order of Scanlet's strip.\n"
               "\n"
               "  --json     one JSON array, one object per file\n"
               "  --csv      a header line and one line per file (RFC 4180)\n"
               "  --help     show this help\n"
               "  --version  show the version\n"
               "\n"
               "CSV columns (empty where the record has no such row):\n")
           + wrapped(csvColumns())
           + QStringLiteral(
               "\n"
               "A file that cannot be read in full still gets its entry, with the reason in the\n"
               "\"error\" field (JSON) or column (CSV), or on standard error for the text form:\n"
               "no such file, is a directory, permission denied, not an A-scan file, settings\n"
               "cannot be read.\n"
               "\n"
               "Exit status: 0 every file was read, 1 a file could not be read in full,\n"
               "2 usage error.\n");
}

enum class Format { Text, Json, Csv };

int usageError(const QString &message)
{
    QTextStream err(stderr);
    err << "scanlet-info: " << message << "\n" << usage();
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json")), csv(QStringLiteral("csv")),
        help(QStringList{QStringLiteral("h"), QStringLiteral("help")}), version(QStringLiteral("version"));
    parser.addOptions({json, csv, help, version});
    if (!parser.parse(application.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        QTextStream(stdout) << usage();
        return 0;
    }
    if (parser.isSet(version)) {
        QTextStream(stdout) << "scanlet-info (Scanlet) " << SCANLET_VERSION_MAJOR << "." << SCANLET_VERSION_MINOR << "\n";
        return 0;
    }
    if (parser.isSet(json) && parser.isSet(csv))
        return usageError(QStringLiteral("--json and --csv exclude each other"));
    const Format format = parser.isSet(json) ? Format::Json : parser.isSet(csv) ? Format::Csv : Format::Text;
    if (parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("no file given"));
    const QStringList files = expandFolders(parser.positionalArguments());

    QTextStream out(stdout), err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    bool allRead = true;
    if (format == Format::Json)
        out << "[";
    if (format == Format::Csv)
        out << csvHeader();
    for (int i = 0; i < files.size(); ++i) {
        const FileInfo info = inspectFile(files.at(i));
        allRead = allRead && info.kind == FileInfo::Record;
        switch (format) {
        case Format::Text: out << (i > 0 ? "\n" : "") << textEntry(info); break;
        case Format::Json: out << (i > 0 ? ",\n " : "\n ") << jsonEntry(info); break;
        case Format::Csv: out << csvLine(info); break;
        }
        out.flush();
        if (format == Format::Text && info.kind != FileInfo::Record) {
            err << "scanlet-info: " << shown(info.file) << ": " << errorText(info.kind) << "\n";
            err.flush();
        }
    }
    if (format == Format::Json)
        out << "\n]\n";
    out.flush();
    return allRead ? 0 : 1;
}
