#include "chelpviewer.h"

#include <QGridLayout>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

CHelpViewer::CHelpViewer(const QString &searchDir, const QString &source, QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("CHelpViewer"));
    resize(660, 500);
    setMinimumSize(660, 500);
    gridLayout = new QGridLayout(this);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    textBrowser = new QTextBrowser(this);
    textBrowser->setObjectName(QStringLiteral("textBrowser"));
    textBrowser->setMinimumSize(640, 480);
    gridLayout->addWidget(textBrowser, 0, 0, 1, 1);
    setWindowTitle(tr("Scanlet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, SLOT(close()));
    textBrowser->setSearchPaths(QStringList() << searchDir << QStringLiteral(":/helpImages"));
    textBrowser->setSource(QUrl(source, QUrl::TolerantMode));
    showMaximized();
}

CHelpViewer::~CHelpViewer() = default;
