#include "savedirstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

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
    // UTF-8 whatever the system's code page: a folder named outside it (Cyrillic on a Western
    // Windows) would otherwise come back as question marks.
    file.write(text.toUtf8() + '\n');
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
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    // A line written before in the system's code page is read as it was written.
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(line.constData(), line.size(), &state);
    return state.invalidChars == 0 ? text : QString::fromLocal8Bit(line);
}
