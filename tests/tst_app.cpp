// The application shell: the main window's form, sizing, save directory, language, help and About.
#include <QtTest>

#include <QApplication>
#include <QImageReader>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTranslator>

#include <algorithm>
#include <memory>

#include "acquisition/instrumentplatform.h"
#include "app/abouttext.h"
#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "app/dialogs.h"
#include "app/globals.h"
#include "ui_cdatamanager.h"

namespace {

// A machine without disks, so that the test machine's own disks never reach the window.
class NoDisks : public InstrumentPlatform
{
public:
    bool openDiskList() override { return true; }
    void closeDiskList() override {}
    bool diskAt(int) override { return false; }
    bool readDiskDescriptor(int, QByteArray &) override { return false; }
    QStringList driveRoots() override { return {}; }
    int volumeDiskNumber(const QString &) override { return -1; }
    bool rootPresent(const QString &) override { return false; }
};

class RecordingDialogs : public Dialogs
{
public:
    explicit RecordingDialogs(QStringList *asked) : asked(asked) {}
    QString getOpenFileName(QWidget *, const QString &caption, const QString &, const QString &) override
    {
        *asked << caption;
        return QString();
    }
    QStringList *asked;
};

std::unique_ptr<CDataManager> shownWindow(bool translationLoaded = false)
{
    auto window = std::make_unique<CDataManager>(nullptr, Qt::WindowFlags(), translationLoaded);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

QList<CHelpViewer *> helpViewers()
{
    QList<CHelpViewer *> viewers;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *viewer = qobject_cast<CHelpViewer *>(widget))
            viewers << viewer;
    return viewers;
}

bool hasCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x400 && c.unicode() < 0x500; });
}

QTextFragment firstAnchor(QTextDocument *document)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                return it.fragment();
    return QTextFragment();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void removeSaveDirFile()
{
    const QString path = CDataManager::saveDirFilePath();
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { removeSaveDirFile(); }
    void cleanup();
    void cleanupTestCase();

    void windowIsFixed();
    void layout_data();
    void layout();
    void formProperties();
    void buttons_data();
    void buttons();
    void compiledInPictures_data();
    void compiledInPictures();
    void buttonConnections();
    void tableSizingAfterShow();
    void computeRowHeight_data();
    void computeRowHeight();
    void saveDir_data();
    void saveDir();
    void unwritableSaveDirDoesNotBlockClosing();
    void help_data();
    void help();
    void helpViewerWithMissingPage();
    void aboutText_data();
    void aboutText();
    void aboutWindow_data();
    void aboutWindow();
    void russianCatalogue();

private:
    QByteArray savedFile;
    bool hadSavedFile = false;
};

void TestApp::initTestCase()
{
    setInstrumentPlatformFactory([] { return std::unique_ptr<InstrumentPlatform>(new NoDisks); });
    // The save-directory file lies beside the test program: keep whatever was there.
    const QString path = CDataManager::saveDirFilePath();
    hadSavedFile = QFileInfo(path).isFile();
    if (hadSavedFile)
        savedFile = readAll(path);
}

void TestApp::cleanup()
{
    Dialogs::install(nullptr);
    for (CHelpViewer *viewer : helpViewers())
        delete viewer;
    removeSaveDirFile();
}

void TestApp::cleanupTestCase()
{
    setInstrumentPlatformFactory(nullptr);
    if (hadSavedFile) {
        QFile file(CDataManager::saveDirFilePath());
        if (file.open(QIODevice::WriteOnly))
            file.write(savedFile);
    }
}

void TestApp::windowIsFixed()
{
    auto window = shownWindow();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("CDataManagerTempl"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Scanlet"));
    QCOMPARE(window->minimumSize(), QSize(820, 770));
    QCOMPARE(window->maximumSize(), QSize(820, 770));
    window->resize(1000, 900);
    QCOMPARE(window->size(), QSize(820, 770));
    QVERIFY(!window->findChild<QMenuBar *>() && !window->findChild<QStatusBar *>() && !window->findChild<QToolBar *>());
    QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("centralwidget"));
}

void TestApp::layout_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    QTest::addColumn<bool>("enabled");
    const QSize none(16777215, 16777215);
    const QSize button(40, 40);
    QTest::newRow("grpb_buttons") << "QGroupBox" << "centralwidget" << QRect(10, 10, 800, 60) << QSize(800, 60) << none << true;
    QTest::newRow("tbtn_gotoDevice") << "QToolButton" << "grpb_buttons" << QRect(10, 10, 40, 40) << button << button << false;
    QTest::newRow("tbtn_open") << "QToolButton" << "grpb_buttons" << QRect(60, 10, 40, 40) << button << button << true;
    QTest::newRow("tbtn_save") << "QToolButton" << "grpb_buttons" << QRect(110, 10, 40, 40) << button << button << false;
    QTest::newRow("tbtn_print") << "QToolButton" << "grpb_buttons" << QRect(160, 10, 40, 40) << button << button << false;
    QTest::newRow("tbtn_help") << "QToolButton" << "grpb_buttons" << QRect(700, 10, 40, 40) << button << button << true;
    QTest::newRow("tbtn_info") << "QToolButton" << "grpb_buttons" << QRect(750, 10, 40, 40) << button << button << true;
    QTest::newRow("grpb_ascan") << "QGroupBox" << "centralwidget" << QRect(10, 80, 390, 530) << QSize(390, 530) << none << true;
    QTest::newRow("frameGraph") << "CResPictureFrame" << "grpb_ascan" << QRect(15, 35, 360, 480) << QSize(360, 480) << none << true;
    QTest::newRow("grpb_table") << "QGroupBox" << "centralwidget" << QRect(420, 80, 390, 530) << QSize(390, 530) << none << true;
    QTest::newRow("tableWidget") << "QTableWidget" << "grpb_table" << QRect(15, 35, 360, 480) << QSize(340, 480) << none << true;
    QTest::newRow("grpb_listWidget") << "QGroupBox" << "centralwidget" << QRect(10, 620, 800, 140) << QSize(800, 120) << none << true;
    QTest::newRow("btn_shiftLeft") << "QPushButton" << "grpb_listWidget" << QRect(10, 20, 40, 110) << QSize(40, 100) << QSize(40, 120) << false;
    QTest::newRow("fileListWidget") << "CListWidgetHeir" << "grpb_listWidget" << QRect(60, 20, 680, 110) << QSize(680, 100) << QSize(16777215, 120) << true;
    QTest::newRow("btn_shiftRight") << "QPushButton" << "grpb_listWidget" << QRect(750, 20, 40, 110) << QSize(40, 100) << QSize(40, 120) << false;
}

void TestApp::layout()
{
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    QFETCH(bool, enabled);
    auto window = shownWindow();
    QVERIFY(window);
    auto *widget = window->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->minimumSize(), minimum);
    QCOMPARE(widget->maximumSize(), maximum);
    QCOMPARE(widget->isEnabled(), enabled);
    QVERIFY(widget->isVisible());
}

void TestApp::formProperties()
{
    auto window = shownWindow();
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    QCOMPARE(ui->grpb_ascan->font().pointSize(), 14);
    QVERIFY(!ui->grpb_ascan->font().bold() && !ui->grpb_ascan->font().italic());
    QCOMPARE(int(ui->grpb_ascan->alignment()), int(Qt::AlignCenter));
    QCOMPARE(ui->grpb_ascan->title(), QString());
    QCOMPARE(ui->grpb_table->font().pointSize(), 14);
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
    QCOMPARE(int(ui->grpb_listWidget->alignment()), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(ui->frameGraph->frameShape(), QFrame::StyledPanel);

    QTableWidget *table = ui->tableWidget;
    QCOMPARE(table->font().pointSize(), 10);
    QCOMPARE(table->focusPolicy(), Qt::NoFocus);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->rowCount(), 17);
    QCOMPARE(table->columnCount(), 2);
    QVERIFY(table->horizontalHeader()->isHidden() && table->verticalHeader()->isHidden());

    CListWidgetHeir *strip = ui->fileListWidget;
    QCOMPARE(strip->font().pointSize(), 8);
    QCOMPARE(strip->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(strip->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(strip->iconSize(), QSize(80, 60));
    QCOMPARE(strip->movement(), QListView::Static);
    QCOMPARE(strip->flow(), QListView::TopToBottom);
    QCOMPARE(strip->viewMode(), QListView::IconMode);
    QVERIFY(strip->isWrapping() && strip->uniformItemSizes() && strip->isSelectionRectVisible());

    // Each of the two styles belongs to its one widget.
    auto *windowStyle = qobject_cast<QProxyStyle *>(window->style());
    auto *stripStyle = qobject_cast<QProxyStyle *>(strip->style());
    QVERIFY(windowStyle && stripStyle);
    QCOMPARE(windowStyle->baseStyle()->objectName().toLower(), QStringLiteral("fusion"));
    QCOMPARE(stripStyle->baseStyle()->objectName().toLower(), QStringLiteral("windows"));
}

void TestApp::buttons_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("tbtn_gotoDevice") << "device.png" << "Load Data From Connected Device" << "Load Data From Connected Device";
    QTest::newRow("tbtn_open") << "fileopen.png" << "Open File" << "Open File";
    QTest::newRow("tbtn_save") << "save.png" << "Save Selected Files" << "Save Selected Files";
    QTest::newRow("tbtn_print") << "fileprint.png" << "Print Selected Files" << "Print Selected Files";
    QTest::newRow("tbtn_help") << "help.png" << "View Help" << "View Help";
    QTest::newRow("tbtn_info") << "info.png" << "About Program" << "About Program";
    QTest::newRow("btn_shiftLeft") << "previous.png" << "" << "Previous";
    QTest::newRow("btn_shiftRight") << "next.png" << "" << "Next";
}

void TestApp::buttons()
{
    QFETCH(QString, icon);
    QFETCH(QString, toolTip);
    QFETCH(QString, accessibleName);
    auto window = shownWindow();
    QVERIFY(window);
    auto *button = window->findChild<QAbstractButton *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(button);
    QCOMPARE(button->text(), QString());
    QCOMPARE(button->iconSize(), QSize(32, 32));
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->accessibleName(), accessibleName);
    // The icon is the compiled-in picture itself, at its own size.
    const QImage expected = QImage(QStringLiteral(":/scanlet/images/") + icon);
    QVERIFY(!expected.isNull());
    QVERIFY(!button->icon().isNull());
    const QImage shown = button->icon().pixmap(QSize(32, 32)).toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestApp::compiledInPictures_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    for (const char *name : {"device.png", "fileopen.png", "save.png", "fileprint.png", "help.png", "info.png"})
        QTest::newRow(name) << QByteArray("png") << QSize(32, 32);
    QTest::newRow("previous.png") << QByteArray("png") << QSize(18, 31);
    QTest::newRow("next.png") << QByteArray("png") << QSize(18, 31);
    QTest::newRow("logo.bmp") << QByteArray("bmp") << QSize(210, 152);
    QTest::newRow("tarnwell.ico") << QByteArray("ico") << QSize(128, 128);
    QTest::newRow("TARNWELLRU_logo.jpg") << QByteArray("jpeg") << QSize(472, 473);
}

void TestApp::compiledInPictures()
{
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    const QDir folder(QStringLiteral(":/scanlet/images"));
    QCOMPARE(folder.entryList(QDir::Files).size(), 11);
    QVERIFY(!QDir(QStringLiteral(":/helpImages")).exists());
    QImageReader reader(folder.filePath(QString::fromLatin1(QTest::currentDataTag())));
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.size(), size);
    if (format == "bmp") // bits per pixel, at offset 28 of the file
        QCOMPARE(int(readAll(reader.fileName()).at(28)), 24);
}

void TestApp::buttonConnections()
{
    // The help and About buttons are clicked in their own tests below.
    QStringList asked;
    Dialogs::install(new RecordingDialogs(&asked));
    auto window = shownWindow();
    QVERIFY(window);
    QTest::mouseClick(window->form()->tbtn_open, Qt::LeftButton);
    QCOMPARE(asked, QStringList{QStringLiteral("Open File")});
}

void TestApp::tableSizingAfterShow()
{
    auto window = shownWindow();
    QVERIFY(window);
    QTableWidget *table = window->form()->tableWidget;
    QCOMPARE(table->lineWidth(), 1);
    QCOMPARE(table->columnWidth(0), 239);
    QCOMPARE(table->columnWidth(1), 120);
    for (int row = 0; row < 17; ++row)
        QCOMPARE(table->rowHeight(row), 28);
}

void TestApp::computeRowHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("expected");
    // Each row worked by hand: d = (H - L(n-1)) / n, r = d rounded half up, e = n r - H.
    QTest::newRow("form size: 27.29 rounds to 27, e = -21 adds one") << 480 << 1 << 17 << 28;
    QTest::newRow("exact: d = 20, e = 0") << 340 << 0 << 17 << 20;
    QTest::newRow("28.24 rounds to 28, e = -4 kept") << 480 << 0 << 17 << 28;
    QTest::newRow("half rounds up: 17.5 -> 18, e = 1") << 35 << 0 << 2 << 18;
    QTest::newRow("d = 28, e = 40 takes one off") << 100 << -10 << 5 << 27;
    QTest::newRow("one row") << 30 << 1 << 1 << 30;
    QTest::newRow("zero height: -0.94 -> -1, e = -17 adds one") << 0 << 1 << 17 << 0;
    QTest::newRow("negative half rounds up: -17.5 -> -17") << -35 << 0 << 2 << -17;
    QTest::newRow("negative: -5.88 -> -6, e = -2") << -100 << 0 << 17 << -6;
    QTest::newRow("negative whole: -3") << -51 << 0 << 17 << -3;
    QTest::newRow("negative small: -0.18 -> 0") << -3 << 0 << 17 << 0;
    QTest::newRow("negative: -29.18 -> -29, e = -13 adds one") << -480 << 1 << 17 << -28;
    QTest::newRow("large: 58822.59 -> 58823, e = -9") << 1000000 << 1 << 17 << 58823;
    QTest::newRow("large: 58729.41 -> 58729, e = -1607 adds only one") << 1000000 << 100 << 17 << 58730;
    QTest::newRow("two billion: 117647058.82 -> 117647059, e = 3") << 2000000000 << 0 << 17 << 117647059;
}

void TestApp::computeRowHeight()
{
    QFETCH(int, height);
    QFETCH(int, lineWidth);
    QFETCH(int, rows);
    QFETCH(int, expected);
    QCOMPARE(CDataManager::computeRowHeight(height, lineWidth, rows), expected);
}

void TestApp::saveDir_data()
{
    // %DIR% stands for an existing directory.
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("saveDir");
    QTest::addColumn<QByteArray>("afterClose");
    QTest::newRow("LF") << true << QByteArray("%DIR%\n") << "%DIR%" << QByteArray("%DIR%\n");
    QTest::newRow("CR LF") << true << QByteArray("%DIR%\r\n") << "%DIR%" << QByteArray("%DIR%\n");
    QTest::newRow("no line end") << true << QByteArray("%DIR%") << "%DIR%" << QByteArray("%DIR%\n");
    QTest::newRow("later lines ignored") << true << QByteArray("%DIR%\nmore\nlines\n") << "%DIR%" << QByteArray("%DIR%\n");
    QTest::newRow("empty file") << true << QByteArray() << "" << QByteArray("\n");
    QTest::newRow("empty first line") << true << QByteArray("\n%DIR%\n") << "" << QByteArray("\n");
    QTest::newRow("missing directory") << true << QByteArray("%DIR%/gone\n") << "" << QByteArray("\n");
    QTest::newRow("missing file") << false << QByteArray() << "" << QByteArray("\n");
}

void TestApp::saveDir()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, before);
    QFETCH(QString, saveDir);
    QFETCH(QByteArray, afterClose);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = CDataManager::saveDirFilePath();
    if (fileExists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before.replace("%DIR%", dir.path().toUtf8()));
    }
    auto window = shownWindow();
    QVERIFY(window);
    saveDir.replace(QStringLiteral("%DIR%"), dir.path());
    QCOMPARE(window->saveDirectory(), saveDir);
    QCOMPARE(window->dataDirectory(), saveDir);
    QVERIFY(window->close());
    QCOMPARE(readAll(path), afterClose.replace("%DIR%", dir.path().toUtf8()));
}

void TestApp::unwritableSaveDirDoesNotBlockClosing()
{
    // A directory in the file's place can be neither read nor written, even by root.
    const QString path = CDataManager::saveDirFilePath();
    QVERIFY(QDir().mkpath(path));
    auto window = shownWindow();
    QVERIFY(window);
    QCOMPARE(window->saveDirectory(), QString());
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(QFileInfo(path).isDir());
}

void TestApp::help_data()
{
    QTest::addColumn<bool>("translationLoaded");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("page");
    QTest::newRow("English, button") << false << "button" << "helpScanlet_eng.htm";
    QTest::newRow("English, F1") << false << "F1" << "helpScanlet_eng.htm";
    QTest::newRow("English, F1 through the strip") << false << "F1 strip" << "helpScanlet_eng.htm";
    QTest::newRow("Russian, button") << true << "button" << "helpScanlet_rus.htm";
    QTest::newRow("Russian, F1") << true << "F1" << "helpScanlet_rus.htm";
    QTest::newRow("another key") << false << "A" << "";
}

void TestApp::help()
{
    QFETCH(bool, translationLoaded);
    QFETCH(QString, trigger);
    QFETCH(QString, page);
    auto window = shownWindow(translationLoaded);
    QVERIFY(window);
    if (!page.isEmpty())
        QCOMPARE(window->helpPageName(), page);
    if (trigger == QLatin1String("button"))
        QTest::mouseClick(window->form()->tbtn_help, Qt::LeftButton);
    else if (trigger == QLatin1String("F1"))
        QTest::keyClick(window.get(), Qt::Key_F1);
    else if (trigger == QLatin1String("F1 strip"))
        QTest::keyClick(window->form()->fileListWidget, Qt::Key_F1);
    else
        QTest::keyClick(window.get(), Qt::Key_A);
    if (page.isEmpty()) {
        QVERIFY(helpViewers().isEmpty());
        return;
    }
    QCOMPARE(helpViewers().size(), 1);
    QPointer<CHelpViewer> viewer = helpViewers().first();
    QCOMPARE(viewer->objectName(), QStringLiteral("CHelpViewer"));
    QVERIFY(!viewer->parentWidget() && viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Scanlet"));
    QVERIFY(viewer->windowState() & Qt::WindowMaximized);
    QCOMPARE(viewer->windowModality(), Qt::ApplicationModal);
    QCOMPARE(viewer->minimumSize(), QSize(660, 500));
    QTextBrowser *browser = viewer->findChild<QTextBrowser *>(QStringLiteral("textBrowser"));
    QVERIFY(browser);
    QCOMPARE(browser->minimumSize(), QSize(640, 480));
    QCOMPARE(browser->searchPaths(), (QStringList{QCoreApplication::applicationDirPath(), QStringLiteral(":/helpImages")}));
    QCOMPARE(browser->source().fileName(), page);
    QVERIFY(!browser->toPlainText().trimmed().isEmpty()); // the page beside the program was read
    viewer->close();
    QTRY_VERIFY(viewer.isNull()); // deletes itself
}

void TestApp::helpViewerWithMissingPage()
{
    QTemporaryDir empty;
    QTest::ignoreMessage(QtWarningMsg, "QTextBrowser: No document for helpScanlet_eng.htm");
    QPointer<CHelpViewer> viewer = new CHelpViewer(empty.path(), QStringLiteral("helpScanlet_eng.htm"));
    viewer->show();
    QVERIFY(viewer->windowState() & Qt::WindowMaximized);
    QVERIFY(viewer->browser()->toPlainText().isEmpty());
    viewer->close();
    QTRY_VERIFY(viewer.isNull());
}

void TestApp::aboutText_data()
{
    QTest::addColumn<bool>("translationLoaded");
    QTest::newRow("English") << false;
    QTest::newRow("Russian") << true;
}

void TestApp::aboutText()
{
    QFETCH(bool, translationLoaded);
    const QString link = QString::fromLatin1(translationLoaded ? RussianSiteAddress : InternationalSiteAddress);
    const QString spacer = QStringLiteral("<p style=\" font-size:4pt;\">&nbsp;</p>");
    const QString p12 = QStringLiteral("<p align=\"center\" style=\" font-size:12pt;\">");
    const QString expected = QStringLiteral("<body style=\" font-family:'Arial';\">\n<p align=\"center\">"
                                            "<img src=\":/scanlet/images/logo.bmp\"></p>\n")
        + spacer + QStringLiteral("<p align=\"center\" style=\" font-size:16pt; font-weight:600;\">Scanlet Version 1.14</p>\n")
        + spacer + p12 + QStringLiteral("Tarnwell Instruments</p>\n")
        + p12 + QStringLiteral("Devices for non-destructive testing of metals, plastics and concrete.</p>\n")
        + p12 + QStringLiteral("Development and production.</p>\n")
        + spacer + p12 + QStringLiteral("Thank you for using our products.</p>\n")
        + (translationLoaded ? QString() : spacer)
        + QStringLiteral("<p align=\"center\" style=\" font-size:12pt; text-decoration: underline; color:#0000ff;\"> <a href=\"")
        + link + QStringLiteral("\">") + link + QStringLiteral("</a></p>\n</body>");
    QCOMPARE(aboutHtml(translationLoaded), expected);
    QCOMPARE(aboutHtml(false).count(spacer), aboutHtml(true).count(spacer) + 1);
    QVERIFY(QUrl(link).host().endsWith(QLatin1String(".example")));
    QVERIFY(QString::fromLatin1(RussianSiteAddress) != QString::fromLatin1(InternationalSiteAddress));
}

void TestApp::aboutWindow_data()
{
    aboutText_data();
}

void TestApp::aboutWindow()
{
    QFETCH(bool, translationLoaded);
    auto window = shownWindow(translationLoaded);
    QVERIFY(window);
    QPointer<QWidget> about = window->aboutWidget();
    QCOMPARE(about->objectName(), QStringLiteral("AboutWindowGUI"));
    QCOMPARE(about->parentWidget(), window.get());
    QVERIFY(about->isWindow() && (about->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(about->windowModality(), Qt::WindowModal);
    QCOMPARE(about->windowTitle(), QStringLiteral("About Scanlet"));
    QCOMPARE(about->minimumSize(), QSize(300, 450));
    QCOMPARE(about->maximumSize(), QSize(300, 450));
    auto *browser = about->findChild<QTextBrowser *>(QStringLiteral("aboutTBrowser"));
    QVERIFY(browser);
    QCOMPARE(browser->geometry(), QRect(0, 0, 300, 450));
    QCOMPARE(browser->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(browser->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(browser->textInteractionFlags(), Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QVERIFY(browser->openLinks() && browser->openExternalLinks());

    const QString link = QString::fromLatin1(translationLoaded ? RussianSiteAddress : InternationalSiteAddress);
    const QTextFragment anchor = firstAnchor(browser->document());
    QCOMPARE(anchor.charFormat().anchorHref(), link);
    QCOMPARE(anchor.text(), link);
    QVERIFY(anchor.charFormat().fontUnderline());
    QCOMPARE(anchor.charFormat().foreground().color(), QColor(0, 0, 255));

    QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
    QVERIFY(about->isVisible());
    about->close();
    QVERIFY(!about->isVisible());
    QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
    QVERIFY(!about.isNull()); // closing only hid it: the same window comes back
    QVERIFY(about->isVisible());
}

void TestApp::russianCatalogue()
{
    // Loaded the way start-up loads it: the program's directory, a separator, the base name.
    QTranslator translator;
    QVERIFY(translator.load(QCoreApplication::applicationDirPath() + QDir::separator() + QStringLiteral("scanlet_ru"),
                            QString(), QString(), QString()));
    QCoreApplication::installTranslator(&translator);
    struct Remove { QTranslator *t; ~Remove() { QCoreApplication::removeTranslator(t); } } remove{&translator};

    auto window = shownWindow(true);
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    const QList<QPair<QAbstractButton *, QString>> buttons = {
        {ui->tbtn_gotoDevice, "Load Data From Connected Device"}, {ui->tbtn_open, "Open File"},
        {ui->tbtn_save, "Save Selected Files"}, {ui->tbtn_print, "Print Selected Files"},
        {ui->tbtn_help, "View Help"}, {ui->tbtn_info, "About Program"}};
    for (const auto &button : buttons) {
        QVERIFY2(hasCyrillic(button.first->toolTip()), qPrintable(button.second));
        QCOMPARE(button.first->accessibleName(), button.first->toolTip());
    }
    QVERIFY(hasCyrillic(ui->btn_shiftLeft->accessibleName()) && hasCyrillic(ui->btn_shiftRight->accessibleName()));
    QVERIFY(hasCyrillic(ui->grpb_table->title()));
    QVERIFY(hasCyrillic(window->aboutWidget()->windowTitle()));
    QCOMPARE(window->windowTitle(), QStringLiteral("Scanlet")); // not translated

    const QString html = aboutHtml(true);
    QVERIFY(hasCyrillic(html));
    QVERIFY(html.contains(productName + QCoreApplication::translate("CDataManager", " Version %1.%2").arg(1).arg(14)));
    QVERIFY(html.contains(QLatin1String("1.14</p>")));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
