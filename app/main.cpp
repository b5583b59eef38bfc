#include <QApplication>
#include <QDir>
#include <QTranslator>

#include "app/cdatamanager.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTranslator translator;
    const QString catalogue = QCoreApplication::applicationDirPath() + QDir::separator()
                              + QStringLiteral("scanlet_ru");
    const bool translationLoaded = translator.load(catalogue, QString(), QString(), QString());
    application.installTranslator(&translator);
    int exitCode = 0;
    {
        CDataManager window(nullptr, Qt::WindowFlags(), translationLoaded);
        window.show();
        exitCode = application.exec();
    }
    return exitCode;
}
