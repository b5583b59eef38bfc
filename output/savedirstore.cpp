#include "savedirstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "output/filecopy.h"

namespace {

bool writeLineTo(const QString &path, const QString &text)
{
    // Opening a named pipe to write would wait for a reader: only a file or nothing is written.
    const QFileInfo there(path);
    if (there.exists() && !there.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    out << text << '\n';
    out.flush();
    return file.error() == QFileDevice::NoError;
}

} // namespace

QString writeSaveDirLine(const QString &besideFile, const QString &configFile, const QString &dir)
{
    if (!besideFile.isEmpty() && writeLineTo(besideFile, dir))
        return besideFile;
    if (!configFile.isEmpty() && QDir().mkpath(QFileInfo(configFile).absolutePath()) && writeLineTo(configFile, dir))
        return configFile;
    return QString();
}

QString readSaveDirLine(const QString &besideFile, const QString &configFile)
{
    const QFileInfo beside(besideFile), config(configFile);
    const bool useConfig = !configFile.isEmpty() && config.isFile()
                           && (!beside.isFile() || config.lastModified() > beside.lastModified());
    QFile file;
    if (!openRegularFile(file, useConfig ? configFile : besideFile))
        return QString();
    QTextStream in(&file);
    return in.readLine();
}
