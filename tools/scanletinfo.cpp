// scanlet-info: the decoded record of A-scan files as text, JSON or CSV.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

#include "infoformat.h"
#include "records/fileorder.h"

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

const char *const UsageLine = "Usage: scanlet-info [--json | --csv] [--] FILE|FOLDER...\n";

QString usage()
{
    return QLatin1String(UsageLine)
           + QStringLiteral(
               "Prints what Scanlet's settings table shows for each A-scan file; a folder stands\n"
               "for its A-scan files in the order of Scanlet's strip.\n"
               "\n"
               "  --json     one JSON array, one object per file\n"
               "  --csv      a header line and one line per file (RFC 4180)\n"
               "  --help     show this help\n"
               "  --version  show the version\n"
               "  --         what follows is a file or folder, even if it begins with \"-\"\n"
               "             (scanlet-info -- -3.jpg)\n"
               "\n"
               "CSV columns (empty where the record has no such row):\n")
           + wrapped(csvColumns())
           + QStringLiteral(
               "\n"
               "A file that cannot be read in full still gets its entry, with the reason in the\n"
               "\"error\" field (JSON) or column (CSV), or on standard error for the text form:\n"
               "no such file, no A-scans (a folder), not a regular file, permission denied,\n"
               "not an A-scan file, settings cannot be read.\n"
               "\n"
               "Exit status: 0 every file was read, 1 a file could not be read in full,\n"
               "2 usage error.\n");
}

enum class Format { Text, Json, Csv };

void write(const QByteArray &bytes, std::FILE *stream)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int usageError(const QString &message)
{
    write(("scanlet-info: " + message + QLatin1Char('\n')).toUtf8() + UsageLine, stderr);
    return 2;
}

// The output is gathered and written in large blocks: a write per file would cost as much as
// reading it.
class Output
{
public:
    explicit Output(Format format) : format(format) { pending.reserve(2 * Block); }
    void add(const FileInfo &info)
    {
        switch (format) {
        case Format::Text:
            pending += count > 0 ? "\n" : "";
            appendTextEntry(pending, info);
            break;
        case Format::Json:
            pending += count > 0 ? ",\n " : "\n ";
            appendJsonEntry(pending, info);
            break;
        case Format::Csv: pending += csvLine(info).toUtf8(); break;
        }
        ++count;
        allRead = allRead && info.kind == FileInfo::Record;
        // The text form tells a failure on standard error, after the entries before it.
        if (format == Format::Text && info.kind != FileInfo::Record) {
            flush();
            write(("scanlet-info: " + shown(info.file) + ": " + errorText(info.kind) + '\n').toUtf8(), stderr);
        } else if (pending.size() >= Block) {
            flush();
        }
    }
    void begin() { pending += format == Format::Json ? "[" : format == Format::Csv ? csvHeader().toUtf8() : ""; }
    void end()
    {
        pending += format == Format::Json ? "\n]\n" : "";
        flush();
    }
    void flush()
    {
        write(pending, stdout);
        pending.resize(0);
    }
    bool allRead = true;

private:
    static constexpr int Block = 256 * 1024;
    Format format;
    QByteArray pending;
    int count = 0;
};

// Each argument opened once: a folder, found so, stands for its A-scans in the strip's order.
void inspect(const QString &argument, Output &output)
{
    FileInfo info = inspectFile(argument);
    if (info.kind != FileInfo::Directory) {
        output.add(info);
        return;
    }
    const QStringList names = ascanWorkList(argument);
    if (names.isEmpty()) {
        info.kind = FileInfo::NoAscans;
        output.add(info);
    }
    // The folder's path as QDir::filePath() joins it to a name, made once.
    const QString prefix = QDir(argument).filePath(QStringLiteral("x")).chopped(1);
    for (const QString &name : names)
        output.add(inspectFile(prefix + name));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        write(UsageLine, stderr);
        return 2;
    }
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json")), csv(QStringLiteral("csv")),
        help(QStringList{QStringLiteral("h"), QStringLiteral("help")}), version(QStringLiteral("version"));
    parser.addOptions({json, csv, help, version});
    if (!parser.parse(application.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        write(usage().toUtf8(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        write(QByteArray("scanlet-info (Scanlet) ") + QByteArray::number(SCANLET_VERSION_MAJOR) + '.'
                  + QByteArray::number(SCANLET_VERSION_MINOR) + '\n', stdout);
        return 0;
    }
    if (parser.isSet(json) && parser.isSet(csv))
        return usageError(QStringLiteral("--json and --csv exclude each other"));
    if (parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("no file given"));

    Output output(parser.isSet(json) ? Format::Json : parser.isSet(csv) ? Format::Csv : Format::Text);
    output.begin();
    for (const QString &argument : parser.positionalArguments())
        inspect(argument, output);
    output.end();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        write("scanlet-info: the output could not be written\n", stderr);
        return 1;
    }
    return output.allRead ? 0 : 1;
}
