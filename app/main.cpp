#include <QApplication>
#include <QScreen>

#include "app/catalogues.h"
#include "app/cdatamanager.h"

int main(int argc, char *argv[])
{
    configureHighDpiScaling();
    QApplication application(argc, argv);
    const bool translationLoaded = installCatalogues(QCoreApplication::applicationDirPath(), &application);
    int exitCode = 0;
    {
        CDataManager window(nullptr, Qt::WindowFlags(), translationLoaded);
        window.fitToScreen(window.screen()->availableGeometry());
        window.show();
        exitCode = application.exec();
    }
    return exitCode;
}
