#ifndef SAVEDIRSTORE_H
#define SAVEDIRSTORE_H

#include <QString>

// The last save directory is kept in a one-line file beside the program; where that place cannot
// be written, or is not given (a system-wide install), in the user's configuration folder instead.

// Writes the line beside the program, else into the configuration file; returns the file written
// or an empty string when neither could be.
QString writeSaveDirLine(const QString &besideFile, const QString &configFile, const QString &dir);
// The first line of the newer of the two files (the one written last), empty when neither is readable.
QString readSaveDirLine(const QString &besideFile, const QString &configFile);

#endif // SAVEDIRSTORE_H
