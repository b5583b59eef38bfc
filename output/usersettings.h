#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include <QSettings>

#include <memory>

// The user's settings of the program, or none (null) when a file of them is there but is not a
// regular file: the settings read it when made and write it when done, and a named pipe in its
// place would block both for ever. Without them the defaults hold and nothing is written.
std::unique_ptr<QSettings> openUserSettings();

#endif // USERSETTINGS_H
