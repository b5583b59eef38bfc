// scanlet-info: the decoded record of A-scan files as text, JSON or CSV.
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
               "Usage: scanlet-info [--json | --csv] FILE...\n"
               "Prints what Scanlet's settings table shows for each A-scan file.\n"
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
               "Exit status: 0 every file was read, 1 a file was not an A-scan file or its\n"
               "settings could not be read, 2 usage error.\n");
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
    const QStringList args = application.arguments().mid(1);
    Format format = Format::Text;
    bool formatChosen = false;
    QStringList files;
    bool optionsEnded = false;
    for (const QString &arg : args) {
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            QTextStream(stdout) << usage();
            return 0;
        } else if (!optionsEnded && arg == QLatin1String("--version")) {
            QTextStream(stdout) << "scanlet-info (Scanlet) " << SCANLET_VERSION_MAJOR << "." << SCANLET_VERSION_MINOR << "\n";
            return 0;
        } else if (!optionsEnded && (arg == QLatin1String("--json") || arg == QLatin1String("--csv"))) {
            if (formatChosen)
                return usageError(QStringLiteral("--json and --csv exclude each other"));
            formatChosen = true;
            format = arg == QLatin1String("--json") ? Format::Json : Format::Csv;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return usageError(QStringLiteral("unknown option %1").arg(arg));
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty())
        return usageError(QStringLiteral("no file given"));

    QTextStream out(stdout);
    out.setCodec("UTF-8");
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
    }
    if (format == Format::Json)
        out << "\n]\n";
    out.flush();
    return allRead ? 0 : 1;
}
