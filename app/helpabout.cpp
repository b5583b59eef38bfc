// The main window's help and About window.
#include "app/cdatamanager.h"
#include "ui_cdatamanager.h"

#include <QCoreApplication>
#include <QShortcut>
#include <QTextBrowser>

#include "app/abouttext.h"
#include "app/chelpviewer.h"
#include "app/programfiles.h"

QString CDataManager::helpPageName() const
{
    return translationLoaded ? QStringLiteral("helpScanlet_rus.htm") : QStringLiteral("helpScanlet_eng.htm");
}

void CDataManager::slot_showHelp()
{
    showHelpPage(helpPageName());
}

void CDataManager::showHelpPage(const QString &fileName)
{
    auto *viewer = new CHelpViewer(programFilesDir(), fileName, nullptr);
    viewer->show();
}

void CDataManager::slot_showInfoAbout()
{
    aboutWidget()->show();
}

// Made when first shown: its text view would cost the start a millisecond.
QWidget *CDataManager::aboutWidget()
{
    if (!aboutWindow)
        buildAboutWindow();
    return aboutWindow;
}

bool CDataManager::buildAboutWindow()
{
    aboutWindow = new QWidget(this, Qt::Dialog | Qt::WindowCloseButtonHint);
    if (aboutWindow->objectName().isEmpty())
        aboutWindow->setObjectName(QStringLiteral("AboutWindowGUI"));
    aboutWindow->setWindowModality(Qt::WindowModal);
    aboutWindow->resize(300, 450);
    aboutWindow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    aboutWindow->setMinimumSize(300, 450);
    aboutWindow->setMaximumSize(300, 450);
    aboutWindow->setFocusPolicy(Qt::NoFocus);
    aboutWindow->setContextMenuPolicy(Qt::NoContextMenu);
    new QShortcut(QKeySequence(Qt::Key_Escape), aboutWindow, SLOT(close()));

    aboutTBrowser = new QTextBrowser(aboutWindow);
    aboutTBrowser->setObjectName(QStringLiteral("aboutTBrowser"));
    aboutTBrowser->setGeometry(0, 0, 300, 450);
    aboutTBrowser->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    aboutTBrowser->setMinimumSize(300, 450);
    aboutTBrowser->setMaximumSize(300, 450);
    aboutTBrowser->setFocusPolicy(Qt::TabFocus); // the keyboard reaches the link
    aboutTBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    aboutTBrowser->setFrameShape(QFrame::NoFrame);
    aboutTBrowser->setFrameShadow(QFrame::Plain);
    // A font too tall for the fixed view scrolls the text rather than cutting its link off.
    aboutTBrowser->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    aboutTBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aboutTBrowser->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    aboutTBrowser->setOpenLinks(true);
    aboutTBrowser->setOpenExternalLinks(true);

    aboutWindow->setWindowTitle(QCoreApplication::translate("AboutWindowGUI", "About Scanlet"));
    aboutWindow->setWhatsThis(QString());
    // Qt gives each paragraph 12-pixel margins; with 2 the text keeps room below its link in the
    // fixed view even in the Arial-metric fonts with tall lines (Nimbus Sans: 17 px, Russian).
    aboutTBrowser->document()->setDefaultStyleSheet(QStringLiteral("p { margin-top: 2px; margin-bottom: 2px; }"));
    aboutTBrowser->setHtml(aboutHtml(translationLoaded));
    return true;
}
