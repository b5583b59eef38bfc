#include "catalogues.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

bool installCatalogues(const QString &programDir, QObject *owner)
{
    auto *own = new QTranslator(owner);
    if (!own->load(programDir + QDir::separator() + QStringLiteral("scanlet_ru"), QString(), QString(), QString())) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    // The toolkit's dialogs and buttons (file and print dialogs, Yes/No) follow the program's language.
    auto *toolkit = new QTranslator(owner);
    if (toolkit->load(QStringLiteral("qtbase_ru"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkit);
    else
        delete toolkit;
    return true;
}
