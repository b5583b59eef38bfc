#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Every installation carries the English help page: it marks where the files lie.
bool holdsProgramFiles(const QString &dir)
{
    return QFileInfo::exists(dir + QStringLiteral("/helpScanlet_eng.htm"));
}

} // namespace

QString programFilesDir(const QString &programDir)
{
    const QString shared = QDir::cleanPath(programDir + QStringLiteral("/../share/scanlet"));
    if (!holdsProgramFiles(programDir) && holdsProgramFiles(shared))
        return shared;
    return programDir;
}

QString programFilesDir()
{
    return programFilesDir(QCoreApplication::applicationDirPath());
}

bool programFilesBeside()
{
    return programFilesDir() == QCoreApplication::applicationDirPath();
}
