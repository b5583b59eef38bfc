#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

// What the program's command line asks for: a file or folder to open, or an end with an exit
// status after the help, the version or a usage error has been printed.
struct CommandLine
{
    QString path;        // empty: open nothing
    int exitCode = -1;   // 0 or more: end at once with this status
};

// The arguments as QCoreApplication::arguments gives them, the toolkit's own options removed.
CommandLine parseCommandLine(const QStringList &arguments);

#endif // COMMANDLINE_H
