#include <QApplication>

#include "app/catalogues.h"
#include "app/cdatamanager.h"

int main(int argc, char *argv[])
{
    // The window is laid out in pixels: on a scaled screen it grows as one instead of cutting texts.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // 150 % stays 150 % rather than rounding up to twice the size.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    const bool translationLoaded = installCatalogues(QCoreApplication::applicationDirPath(), &application);
    int exitCode = 0;
    {
        CDataManager window(nullptr, Qt::WindowFlags(), translationLoaded);
        window.show();
        exitCode = application.exec();
    }
    return exitCode;
}
