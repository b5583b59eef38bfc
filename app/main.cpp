#include <QApplication>
#include <QTimer>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/commandline.h"
#include "app/programfiles.h"

int main(int argc, char *argv[])
{
    // The window is laid out in pixels: on a scaled screen it grows as one instead of cutting texts.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // 150 % stays 150 % rather than rounding up to twice the size.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2").arg(SCANLET_VERSION_MAJOR).arg(SCANLET_VERSION_MINOR));
    // The catalogues first: the help and the errors of the command line speak the language too.
    const bool translationLoaded = installCatalogues(programFilesDir(), &application);
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    if (commandLine.exitCode >= 0)
        return commandLine.exitCode;
    int exitCode = 0;
    {
        CDataManager window(nullptr, Qt::WindowFlags(), translationLoaded);
        window.show();
        // Opened from the event loop, so the loading shows over the window already on screen.
        if (!commandLine.path.isEmpty())
            QTimer::singleShot(0, &window, [&window, &commandLine] { window.openPath(commandLine.path); });
        exitCode = application.exec();
    }
    return exitCode;
}
