#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/commandline.h"
#include "app/programfiles.h"

int main(int argc, char *argv[])
{
    configureHighDpiScaling();
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
        window.fitToScreen(window.screen()->availableGeometry());
        window.show();
        // Opened from the event loop, so the loading shows over the window already on screen.
        if (!commandLine.path.isEmpty())
            QTimer::singleShot(0, &window, [&window, &commandLine] { window.openPath(commandLine.path); });
        exitCode = application.exec();
    }
    return exitCode;
}
