#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int printed(FILE *stream, const QString &message, int exitCode)
{
    QTextStream out(stream);
    out << message;
    return exitCode;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Shows, saves and prints the A-scans of the ultrasonic flaw detector.\n"
                       "A name that starts with \"-\" follows \"--\": scanlet -- -3.jpg"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QString path = QCoreApplication::translate("CommandLine", "FILE|FOLDER");
    parser.addPositionalArgument(path,
                                 QCoreApplication::translate("CommandLine",
                                                             "An A-scan file: its folder is loaded and the file "
                                                             "selected. A folder: its A-scans are loaded."),
                                 QLatin1Char('[') + path + QLatin1Char(']'));
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.exitCode = printed(stderr, parser.errorText() + QLatin1Char('\n') + parser.helpText(), 2);
    } else if (parser.isSet(help)) {
        result.exitCode = printed(stdout, parser.helpText(), 0);
    } else if (parser.isSet(version)) {
        result.exitCode = printed(stdout, QCoreApplication::applicationName() + QLatin1Char(' ')
                                              + QCoreApplication::applicationVersion() + QLatin1Char('\n'), 0);
    } else if (parser.positionalArguments().size() > 1) {
        const QString error = QCoreApplication::translate("CommandLine", "Give one file or folder at most.");
        result.exitCode = printed(stderr, error + QLatin1Char('\n') + parser.helpText(), 2);
    } else if (!parser.positionalArguments().isEmpty()) {
        result.path = parser.positionalArguments().first();
    }
    return result;
}
