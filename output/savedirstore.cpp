#include "savedirstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

bool writeLineTo(const QString &path, const QString &text)
{
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
    QFile file(useConfig ? configFile : besideFile);
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    return in.readLine();
}
