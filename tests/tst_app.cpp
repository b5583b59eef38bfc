// The application shell: opening, button states, sizing, save directory, message boxes, what fits,
// language, help and About, the program's files, the command line and the keys.
#include <QtTest>
#include <QtWidgets>

#include "app/abouttext.h"
#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "app/commandline.h"
#include "app/programfiles.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

CHelpViewer *helpViewer()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *viewer = qobject_cast<CHelpViewer *>(widget))
            return viewer;
    }
    return nullptr;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Records 1.jpg to count.jpg as the instrument writes them by default (titled "A-scan").
bool writeRecords(const QTemporaryDir &dir, int count)
{
    bool written = true;
    for (int i = 1; i <= count; ++i)
        written = written && writeAscan(dir.filePath(QString("%1.jpg").arg(i)), AscanFields());
    return written;
}

// A record with the widest number of every field and, over the 16, each text the decoder gives.
AscanFields widest(int i)
{
    AscanFields a;
    a.frequencyIndex = quint8(i);
    a.scaleMode = quint8(i % 3);
    a.probeType = quint8(i % 2);
    a.unitSystem = quint8(i % 2);
    a.cursorSwitch = quint8(i % 4 == 3);
    a.strobeSwitch = quint8(i % 4 == 3);
    a.discreteness = quint8(i % 4 == 3);
    a.referenceSwitch = quint8(i == 5);
    a.thicknessSwitch = quint8(i == 6);
    a.probeAngle = 0xFFFF;
    a.correctionRoughness = 32767;
    a.delay = -32768;
    a.referenceLevel = -32768;
    a.correctionStandard = -32768;
    a.reportingLevel = -32768;
    a.examinationMonitor = -32768;
    a.thicknessMm = 0xFFFFFF;
    a.thicknessInch = 0xFFFFFF;
    a.date[0] = 31;
    a.date[1] = 12;
    a.yearSince1900 = 199;
    return a;
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

    FakeEnvironment env;
    const QString saveDirFile = CDataManager::saveDirFilePath();
    const QByteArray savedFile = readAll(saveDirFile); // put back at the end
    QList<QUrl> openedUrls;
    std::unique_ptr<QObject> translators;
    QTemporaryDir card;

    // The window at start-up in the language of the build, the catalogue beside the program or not.
    std::unique_ptr<CDataManager> shownWindow(bool russian = false)
    {
        translators = std::make_unique<QObject>();
        const QString programDir = russian ? QStringLiteral(SCANLET_QM_DIR) : card.path();
        if (installCatalogues(programDir, translators.get()) != russian)
            return nullptr;
        auto window = std::make_unique<CDataManager>(nullptr, Qt::WindowFlags(), russian);
        window->show();
        return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
    }

public slots:
    void openUrl(const QUrl &url) { openedUrls << url; }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Links are only recorded.
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
        for (int i = 0; i < 16; ++i)
            QVERIFY(writeAscan(card.filePath(QString("%1.jpg").arg(i + 1)), widest(i)));
    }
    void init()
    {
        openedUrls.clear();
        env.dialogs->warnings.clear();
        QFile::remove(saveDirFile);
    }
    void cleanupTestCase()
    {
        init();
        QVERIFY(savedFile == "<unreadable>" || writeBytes(saveDirFile, savedFile));
    }

    // A file or folder opened (as given at start or by Open File): the file's folder loaded with
    // the file selected, else the first; which device, output and shift buttons can be pressed.
    void opening_data()
    {
        QTest::addColumn<int>("records");     // 1.jpg to N.jpg in a folder
        QTest::addColumn<QString>("opened");  // in the folder; "" the folder; null: nothing
        QTest::addColumn<QString>("shown");   // the picture's title
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QString>("warning");
        const QStringList none;
        const QStringList output{"tbtn_save", "tbtn_print"};
        QTest::newRow("start") << 0 << QString() << "" << none << "";
        QTest::newRow("a file") << 3 << "2.jpg" << "A-scan — 2.jpg" << output << "";
        QTest::newRow("missing")
            << 3 << "4.jpg" << "" << none << "There is no file or folder \"%DIR%/4.jpg\"!";
        QTest::newRow("a folder, more than the strip shows")
            << 30 << "" << "A-scan — 1.jpg" << output + QStringList{"btn_shiftRight"} << "";
    }
    void opening()
    {
        QFETCH(int, records);
        QFETCH(QString, opened);
        QFETCH(QString, shown);
        QFETCH(QStringList, enabled);
        QFETCH(QString, warning);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/А-сканы # 1 & 2%-XXXXXX"));
        QVERIFY(writeRecords(dir, records));
        auto window = shownWindow();
        Ui::CDataManagerTempl *ui = window->form();
        if (!opened.isNull())
            window->openPath(dir.filePath(opened));
        QCOMPARE(ui->grpb_ascan->title(), shown);
        const QString folder = QDir::fromNativeSeparators(ui->grpb_listWidget->title());
        QCOMPARE(folder, ui->fileListWidget->count() ? dir.path() : "");
        QCOMPARE(env.dialogs->warnings.join(""), warning.replace("%DIR%", dir.path()));
        const QRegularExpression names("btn_(gotoDevice|save|print|shift)");
        for (auto *button : window->findChildren<QAbstractButton *>(names))
            QTRY_COMPARE(button->isEnabled(), enabled.contains(button->objectName()));
        ui->fileListWidget->clearSelection();   // nothing selected: nothing to print
        QTRY_VERIFY(!ui->tbtn_print->isEnabled());
    }

    // The designed layout is never squeezed: on a screen too small for it the window takes the
    // screen, leaving room for its frame, and its content scrolls.
    void laptopScreens_data()
    {
        QTest::addColumn<QSize>("available"); // the screen's room for windows; empty: this screen's
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<bool>("sideways");   // too narrow as well
        QTest::newRow("1920x1080 at 100 %") << QSize(1920, 1040) << false << false;
        QTest::newRow("1920x1080 at 150 %") << QSize(1280, 693) << true << false;
        QTest::newRow("this screen (QT_SCALE_FACTOR)") << QSize() << false << false;
    }
    void laptopScreens()
    {
        QFETCH(QSize, available);
        QFETCH(bool, scrolls);
        CDataManager window;
        const bool thisScreen = available.isEmpty();   // whatever its size, the window fits it
        if (thisScreen)
            available = window.screen()->availableSize();
        window.fitToScreen(QRect(QPoint(), available));
        window.show();
        auto *scroller = qobject_cast<QScrollArea *>(window.centralWidget());
        QVERIFY(thisScreen || (scroller != nullptr) == scrolls);
        QVERIFY(window.width() <= available.width() - 16);
        QVERIFY(window.height() <= available.height() - 40);
        QCOMPARE(window.form()->grpb_listWidget->parentWidget()->size(), QSize(820, 770));
        if (scroller && !thisScreen)
            QTEST(scroller->horizontalScrollBar()->maximum() > 0, "sideways");
    }

    // The file beside the program as found -> the save directory, written back at close.
    // %DIR% stands for an existing directory.
    void saveDir_data()
    {
        QTest::addColumn<QByteArray>("beside");
        QTest::addColumn<QString>("saveDir");
        QTest::newRow("CR LF, later lines ignored") << QByteArray("%DIR%\r\nmore\n") << "%DIR%";
        QTest::newRow("missing directory") << QByteArray("%DIR%/gone\n") << "";
    }
    void saveDir()
    {
        QFETCH(QByteArray, beside);
        QFETCH(QString, saveDir);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/Сохранения # 1 & 2%-XXXXXX"));
        QVERIFY(writeBytes(saveDirFile, beside.replace("%DIR%", dir.path().toUtf8())));
        auto window = shownWindow();
        saveDir.replace("%DIR%", dir.path());
        QCOMPARE(window->saveDirectory(), saveDir);
        QCOMPARE(window->dataDirectory(), saveDir);
        QVERIFY(window->close());
        QCOMPARE(readAll(saveDirFile), saveDir.toUtf8() + '\n');
    }

    // The real message box (not the fake the window is given) shows its text as plain text, so a
    // file name is never read as markup; the answer is the button pressed.
    void messageBoxes()
    {
        const QString text = QStringLiteral("<b>Файл № 1 & 2.jpg</b>");
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shown = box->textFormat() == Qt::PlainText ? box->text() : "markup";
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Dialogs real;
        QWidget parent;
        QCOMPARE(real.question(&parent, "Scanlet", text), QMessageBox::No);
        QCOMPARE(shown, text);
    }

    // In the family this run pins: every text of the widest records whole in its table cell,
    // measured with the table's font; the columns within the table's frame; the whole About
    // text in its fixed view with room to spare below the link, and a text too tall scrolling.
    void fits_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English") << false;
        QTest::newRow("Russian") << true;
    }
    void fits()
    {
        QFETCH(bool, russian);
        // A family with faces from several foundries is named with its foundry's:
        // "Nimbus Sans [urw]".
        const QString shown = QFontInfo(QFont("Arial")).family().section(" [", 0, 0);
        if (shown != qEnvironmentVariable("SCANLET_FONT", shown))
            QSKIP(qPrintable("The family pinned is missing (" + shown + " is used): no check"));
        auto window = shownWindow(russian);
        QVERIFY(window);
        window->openPath(card.path());
        QTableWidget *table = window->form()->tableWidget;
        QVERIFY(table->columnWidth(0) + table->columnWidth(1)
                <= table->width() - table->lineWidth());
        const int margin
            = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        const QFontMetrics metrics = table->fontMetrics();
        QStringList cut;
        for (int i = 0; i < 16; ++i) {
            window->form()->fileListWidget->setCurrentRow(i);
            for (int row = 0; table->item(row, 0); ++row) {
                for (QTableWidgetItem *item : {table->item(row, 0), table->item(row, 1)}) {
                    const QRect cell = table->visualItemRect(item).adjusted(margin, 0, -margin, 0);
                    if (!cell.contains(metrics.boundingRect(cell, Qt::TextWordWrap, item->text())))
                        cut << item->text();
                }
            }
        }
        QCOMPARE(cut, QStringList());

        QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
        auto *about = window->aboutWidget()->findChild<QTextBrowser *>();
        QTRY_VERIFY(about->isVisible());
        QVERIFY(about->document()->size().height() <= about->viewport()->height() - 12);
        about->setHtml(aboutHtml(russian).replace("12pt", "30pt"));
        QTRY_VERIFY(about->verticalScrollBar()->isVisible());
    }

    // The catalogue beside the program turns the window, the toolkit's buttons, About and the
    // help to Russian; without it all stays English. About opens with the keyboard on the link to
    // the site of the language. The help opens maximised on its own, by F1 (through the strip; the
    // Russian row) or by the button; another key opens nothing. Esc closes About and the help.
    void language_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::addColumn<QString>("site");
        QTest::addColumn<QString>("helpPage");
        QTest::newRow("English") << false << InternationalSiteAddress << "helpScanlet_eng.htm";
        QTest::newRow("Russian") << true << RussianSiteAddress << "helpScanlet_rus.htm";
    }
    void language()
    {
        QFETCH(bool, russian);
        QFETCH(QString, site);
        auto window = shownWindow(russian);
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        auto *about = window->aboutWidget()->findChild<QTextBrowser *>();
        const QStringList texts{ui->grpb_table->title(),
                                about->window()->windowTitle(),
                                about->toPlainText(),
                                QCoreApplication::translate("QPlatformTheme", "&Yes")};
        const QStringList cyrillic = texts.filter(QRegularExpression("[А-яЁё]"));
        QCOMPARE(cyrillic.size(), russian ? texts.size() : 0);

        QTest::mouseClick(ui->tbtn_info, Qt::LeftButton);
        QApplication::setActiveWindow(about->window()); // as the window manager does
        QTRY_VERIFY(about->hasFocus()); // Tab selects the link, Return opens it
        QTest::keyClick(about, Qt::Key_Tab);
        QTest::keyClick(about, Qt::Key_Return);
        QCOMPARE(openedUrls, QList<QUrl>{QUrl(site)});
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!about->isVisible());

        QTest::keyClick(ui->fileListWidget, Qt::Key_F3); // not taken by the strip
        QVERIFY(!helpViewer());
        if (russian)
            QTest::keyClick(ui->fileListWidget, Qt::Key_F1);
        else
            QTest::mouseClick(ui->tbtn_help, Qt::LeftButton);
        QPointer<CHelpViewer> viewer = helpViewer();
        QVERIFY(viewer);
        QVERIFY(!viewer->parentWidget() && viewer->isMaximized());
        QTEST(viewer->browser()->source().fileName(), "helpPage");
        QApplication::setActiveWindow(viewer);
        QTest::keyClick(viewer->browser(), Qt::Key_Escape);
        QTRY_VERIFY(viewer.isNull()); // deletes itself
    }

    // The program's files beside it win; else those of a system-wide install in ../share/scanlet.
    void programFiles_data()
    {
        QTest::addColumn<QStringList>("helpPages"); // folders, under a prefix, holding the help
        QTest::addColumn<QString>("found");
        QTest::newRow("beside and shared: beside") << QStringList{"bin", "share/scanlet"} << "bin";
        QTest::newRow("shared only") << QStringList{"share/scanlet"} << "share/scanlet";
    }
    void programFiles()
    {
        QFETCH(QStringList, helpPages);
        QFETCH(QString, found);
        QTemporaryDir prefix(QDir::tempPath() + QStringLiteral("/Программа # 1 & 2%-XXXXXX"));
        QVERIFY(QDir(prefix.path()).mkpath("bin"));
        for (const QString &dir : helpPages) {
            QVERIFY(QDir(prefix.path()).mkpath(dir));
            QVERIFY(writeBytes(prefix.filePath(dir + "/helpScanlet_eng.htm"), "<p>"));
        }
        QCOMPARE(programFilesDir(prefix.filePath("bin")), prefix.filePath(found));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("exitCode"); // -1: the window opens
        QTest::newRow("a name with a minus after --")
            << QStringList{"--", "-3.jpg"} << "-3.jpg" << -1;
        QTest::newRow("two names") << QStringList{"1.jpg", "2.jpg"} << "" << 2;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        const CommandLine parsed = parseCommandLine(QStringList{"scanlet"} + arguments);
        QTEST(parsed.path, "path");
        QTEST(parsed.exitCode, "exitCode");
    }

    // The keys the tooltips name press their buttons; printing more than 200 records asks first.
    void habits()
    {
        QTemporaryDir dir;
        QVERIFY(writeRecords(dir, 201));
        auto window = shownWindow();
        Ui::CDataManagerTempl *ui = window->form();
        const auto press = [&](QToolButton *button, const QString &keys) { // as its tooltip says
            QVERIFY(button->toolTip().endsWith(" (" + keys + ")"));
            QApplication::setActiveWindow(window.get()); // again after the loading's dialog
            QTest::keySequence(window.get(), QKeySequence(keys));
        };
        env.dialogs->openAnswer = dir.filePath("5.jpg");
        press(ui->tbtn_open, "Ctrl+O");
        // A shortcut clicks after a moment.
        QTRY_VERIFY(ui->grpb_ascan->title().endsWith(" — 5.jpg"));
        ui->fileListWidget->selectAll();
        press(ui->tbtn_print, "Ctrl+P"); // the question is answered No
        QTRY_COMPARE(env.dialogs->questions, QStringList{"Print 201 records, one page each?"});
        QCOMPARE(env.dialogs->printDialogs, 0);
        ui->fileListWidget->item(0)->setSelected(false);
        press(ui->tbtn_print, "Ctrl+P");
        QTRY_COMPARE(env.dialogs->printDialogs, 1);
        QCOMPARE(env.dialogs->questions.size(), 1);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
