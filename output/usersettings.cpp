#include "usersettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool fileOrNothing(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

} // namespace

std::unique_ptr<QSettings> openUserSettings()
{
    const QString organisation = QStringLiteral("Tarnwell"), application = QStringLiteral("Scanlet");
#ifndef Q_OS_WIN // there they live in the registry
    // Where the settings are kept, asked of settings nobody has: making them reads only their
    // own (absent) files. The program's file and the organisation's, which is read with it.
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, organisation + QStringLiteral(" probe"),
                          QStringLiteral("none"));
    const QDir base(QFileInfo(QFileInfo(probe.fileName()).absolutePath()).absolutePath());
    if (!fileOrNothing(base.filePath(organisation + QLatin1Char('/') + application + QStringLiteral(".conf")))
        || !fileOrNothing(base.filePath(organisation + QStringLiteral(".conf"))))
        return nullptr;
#endif
    return std::make_unique<QSettings>(organisation, application);
}
