#ifndef PROGRAMFILES_H
#define PROGRAMFILES_H

#include <QString>

// The folder of the program's own files (catalogue, help pages, report logo): beside the program
// in the build tree, on Windows and in a portable folder; ../share/scanlet in a system-wide
// install, where the program lies in bin/. Beside wins when both hold them.
QString programFilesDir(const QString &programDir);
QString programFilesDir();   // of the running program
// True when the program's files lie beside it: only then is its own folder written to.
bool programFilesBeside();

#endif // PROGRAMFILES_H
