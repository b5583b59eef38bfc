// The application shell: button states, sizing, save directory, message boxes, language, what fits
// and reads, help and About.
#include <QtTest>
#include <QtWidgets>

#include "acquisition/loadingdialog.h"
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

// A screen's area left for windows, in logical pixels; whether the window must scroll there.
struct ScreenCase
{
    QRect available;
    bool scrolls = false;
    bool sideways = false;   // too narrow as well
};
// Why this run cannot check what its pinned font family shows; empty when it can.
QString familyMissing()
{
    const QString family = qEnvironmentVariable("SCANLET_FONT");
    // A family with faces from several foundries is named with its foundry's: "Nimbus Sans [urw]".
    const QString shown = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    if (family.isEmpty() || shown.section(QStringLiteral(" ["), 0, 0) == family)
        return QString();
    return family + " is not installed (" + shown
        + " is used): its fits and contrasts were not checked";
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

// Relative luminance as WCAG defines it, of a grey level, plus the 0.05 of its contrast ratio.
double luminance(int grey)
{
    const double v = grey / 255.0;
    return (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4)) + 0.05;
}

// Where the About text's last line ends, in the view's pixels: what the user sees of it.
int lastLineBottom(const QTextBrowser *about)
{
    QTextBlock block = about->document()->lastBlock();
    while (block.layout()->lineCount() == 0)
        block = block.previous();
    const QTextLine line = block.layout()->lineAt(block.layout()->lineCount() - 1);
    const qreal top = block.layout()->position().y() - about->verticalScrollBar()->value();
    return qCeil(top + line.rect().bottom());
}

} // namespace

Q_DECLARE_METATYPE(ScreenCase)

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

    static void languages_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English") << false;
        QTest::newRow("Russian") << true;
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
            QVERIFY(writeAscan(card.filePath(QStringLiteral("%1.jpg").arg(i + 1)), widest(i)));
    }
    void init()
    {
        openedUrls.clear();
        env.machine.plugInstruments({});
        QDir(saveDirFile).removeRecursively();
        QFile::remove(saveDirFile);
        QFile::remove(CDataManager::userSaveDirFilePath());
    }
    void cleanupTestCase()
    {
        init();
        QVERIFY(savedFile == "<unreadable>" || writeBytes(saveDirFile, savedFile));
    }

    // Which of the device, output and shift buttons can be pressed after what the user did.
    void buttonStates_data()
    {
        QTest::addColumn<int>("records");   // in the folder opened; 0: nothing opened
        QTest::addColumn<bool>("cleared");  // the selection cleared afterwards
        QTest::addColumn<QStringList>("enabled");
        const QStringList output{"tbtn_save", "tbtn_print"};
        QTest::newRow("start") << 0 << false << QStringList();
        QTest::newRow("a file opened") << 1 << false << output;
        QTest::newRow("selection cleared") << 1 << true << QStringList();
        QTest::newRow("more than the strip shows")
            << 30 << false << output + QStringList{"btn_shiftRight"};
    }
    void buttonStates()
    {
        QFETCH(int, records);
        QFETCH(bool, cleared);
        QFETCH(QStringList, enabled);
        QTemporaryDir dir;
        for (int i = 1; i <= records; ++i)
            QVERIFY(writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), AscanFields()));
        auto window = shownWindow();
        env.dialogs->openAnswer = dir.filePath("1.jpg");
        if (records > 0)
            QTest::mouseClick(window->form()->tbtn_open, Qt::LeftButton);
        if (cleared)
            window->form()->fileListWidget->clearSelection();
        const QRegularExpression names("btn_(gotoDevice|save|print|shift)");
        for (auto *button : window->findChildren<QAbstractButton *>(names))
            QTRY_COMPARE(button->isEnabled(), enabled.contains(button->objectName()));
    }

    // The designed layout is never squeezed: on a screen too small for it the window takes the
    // screen and its content scrolls, down to the strip at the bottom.
    void laptopScreens_data()
    {
        QTest::addColumn<ScreenCase>("screen");
        QTest::newRow("1920x1080 at 100 %") << ScreenCase{QRect(0, 0, 1920, 1040), false};
        QTest::newRow("1366x768 at 100 %") << ScreenCase{QRect(0, 0, 1366, 728), true};
        QTest::newRow("1920x1080 at 150 %") << ScreenCase{QRect(0, 0, 1280, 693), true};
        QTest::newRow("this screen (QT_SCALE_FACTOR)") << ScreenCase{QRect(), true, true};
    }
    void laptopScreens()
    {
        QFETCH(ScreenCase, screen);
        CDataManager window;
        const QRect available = screen.available.isNull()
            ? window.screen()->availableGeometry() : screen.available;
        window.fitToScreen(available);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *scroller = qobject_cast<QScrollArea *>(window.centralWidget());
        QCOMPARE(scroller != nullptr, screen.scrolls);
        if (!scroller) {
            QCOMPARE(window.size(), QSize(820, 770));
            return;
        }
        QCOMPARE(scroller->widget()->size(), QSize(820, 770));
        QVERIFY(window.width() <= available.width() - 16);
        QVERIFY(window.height() <= available.height() - 40);
        QScrollBar *bar = scroller->verticalScrollBar();
        QCOMPARE(bar->maximum(), 770 - scroller->viewport()->height());
        QCOMPARE(scroller->horizontalScrollBar()->maximum() > 0, screen.sideways);
        bar->setValue(bar->maximum());
        const QRect strip(window.form()->grpb_listWidget->mapTo(scroller->viewport(), QPoint()),
                          window.form()->grpb_listWidget->size());
        QVERIFY(scroller->viewport()->rect().contains(strip.bottomLeft()));
    }

    // Worked by hand: d = (H - L(n-1)) / n, r = d rounded half up, e = n r - H.
    void computeRowHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("rowHeight");
        QTest::newRow("form size: 27.29 -> 27, e = -21 adds one") << 480 << 1 << 17 << 28;
        QTest::newRow("half rounds up: 17.5 -> 18") << 35 << 0 << 2 << 18;
        QTest::newRow("d = 28, e = 40 takes one off") << 100 << -10 << 5 << 27;
    }
    void computeRowHeight()
    {
        QFETCH(int, height);
        QFETCH(int, lineWidth);
        QFETCH(int, rows);
        QTEST(CDataManager::computeRowHeight(height, lineWidth, rows), "rowHeight");
    }

    // The file beside the program as found -> the save directory, and what is written at close:
    // beside the program, or, where a directory stands in its place ("/"), in the user's config.
    // %DIR% stands for an existing directory; a null file for none.
    void saveDir_data()
    {
        QTest::addColumn<QByteArray>("beside");
        QTest::addColumn<QString>("saveDir");
        QTest::addColumn<QByteArray>("written");
        const QByteArray dirLine("%DIR%\n"), emptyLine("\n");
        QTest::newRow("CR LF, later lines ignored")
            << QByteArray("%DIR%\r\nmore\n") << "%DIR%" << dirLine;
        QTest::newRow("missing directory") << QByteArray("%DIR%/gone\n") << "" << emptyLine;
        QTest::newRow("missing file") << QByteArray() << "" << emptyLine;
        QTest::newRow("unwritable beside: the user's config")
            << QByteArray("/") << "%DIR%" << dirLine;
    }
    void saveDir()
    {
        QFETCH(QByteArray, beside);
        QFETCH(QString, saveDir);
        QFETCH(QByteArray, written);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/Сохранения # 1 & 2%-XXXXXX"));
        const QByteArray path = dir.path().toUtf8();
        const QString config = CDataManager::userSaveDirFilePath();
        const QString writtenTo = beside == "/" ? config : saveDirFile;
        if (beside == "/") {
            QVERIFY(QDir().mkpath(saveDirFile));
            QVERIFY(QDir().mkpath(QFileInfo(config).path()));
            QVERIFY(writeBytes(config, path));
        } else if (!beside.isNull()) {
            QVERIFY(writeBytes(saveDirFile, beside.replace("%DIR%", path)));
        }
        auto window = shownWindow();
        QCOMPARE(window->saveDirectory(), saveDir.replace(QStringLiteral("%DIR%"), dir.path()));
        QCOMPARE(window->dataDirectory(), saveDir);
        QVERIFY(window->close());
        QCOMPARE(readAll(writtenTo), written.replace("%DIR%", path));
    }

    // The catalogue beside the program turns the window, the toolkit's buttons and About to
    // Russian; without it all stays English. The window's title is the product's name in both.
    void translation_data() { languages_data(); }
    void translation()
    {
        QFETCH(bool, russian);
        auto window = shownWindow(russian);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), "Scanlet");
        const QStringList texts{window->form()->grpb_table->title(),
                                window->form()->tbtn_open->toolTip(),
                                window->aboutWidget()->windowTitle(),
                                window->aboutWidget()->findChild<QTextBrowser *>()->toPlainText(),
                                QCoreApplication::translate("QPlatformTheme", "&Yes")};
        const QStringList cyrillic = texts.filter(QRegularExpression(QStringLiteral("[А-яЁё]")));
        QCOMPARE(cyrillic.size(), russian ? texts.size() : 0);
    }

    // The real message boxes (not the fake the window is given) show their text as plain text,
    // so a file name is never read as markup; the answer is the button pressed.
    void messageBoxes_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("warning, Return") << false << int(Qt::Key_Return) << int(QMessageBox::Ok);
        QTest::newRow("question, Escape") << true << int(Qt::Key_Escape) << int(QMessageBox::No);
    }
    void messageBoxes()
    {
        QFETCH(bool, question);
        QFETCH(int, key);
        const QString text = QStringLiteral("<b>Файл № 1 & 2.jpg</b>");
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shown = box->textFormat() == Qt::PlainText ? box->text() : QStringLiteral("markup");
            QTest::keyClick(box, Qt::Key(key));
        });
        Dialogs real;
        QWidget parent;
        const int answer = question ? real.question(&parent, "Scanlet", text)
                                    : real.warning(&parent, "Scanlet", text);
        QTEST(answer, "answer");
        QCOMPARE(shown, text);
    }

    // Every text whole in its table cell or dialog label, measured with the widget's own font, and
    // the table's columns within its frame.
    void textsFit_data() { languages_data(); }
    void textsFit()
    {
        QFETCH(bool, russian);
        if (!familyMissing().isEmpty())
            QSKIP(qPrintable(familyMissing()));
        env.machine.plugInstruments({card.path() + '/'});
        env.dialogs->openAnswer = card.filePath("1.jpg");
        ProgressWatcher loading(QStringLiteral("dlg_infoLoad"));
        auto window = shownWindow(russian);   // loads the instrument's records
        QVERIFY(window);
        QTest::mouseClick(window->form()->tbtn_open, Qt::LeftButton);
        QCOMPARE(loading.firstTexts.size(), 2);
        QStringList cut;
        const auto fits
            = [&cut](const QString &text, const QRect &room, const QWidget *widget, int flags) {
                  const QRect needed
                      = widget->fontMetrics().boundingRect(room, flags | Qt::TextWordWrap, text);
                  if (needed.width() > room.width() || needed.height() > room.height())
                      cut << text;
              };
        QTableWidget *table = window->form()->tableWidget;
        QVERIFY(table->columnWidth(0) + table->columnWidth(1)
                <= table->width() - table->lineWidth());
        const int margin
            = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        for (int i = 0; i < window->form()->fileListWidget->count(); ++i) {
            window->form()->fileListWidget->setCurrentRow(i);
            for (int row = 0; table->item(row, 0); ++row) {
                for (QTableWidgetItem *item : {table->item(row, 0), table->item(row, 1)}) {
                    const QRect cell = table->visualItemRect(item).adjusted(margin, 0, -margin, 0);
                    fits(item->text(), cell, table, 0);
                }
            }
        }
        const LoadingDialogWidgets dialog = buildLoadingDialog();
        const std::unique_ptr<QDialog> deleteDialog(dialog.dialog);
        const int alignment = int(dialog.label->alignment());
        for (const QString &text : loading.firstTexts + loading.labels)
            fits(text, dialog.label->contentsRect(), dialog.label, alignment);
        fits(dialog.cancel->text(), dialog.cancel->contentsRect(), dialog.cancel, 0);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }

    // The table's text reads at a contrast of 4.5 : 1 or more: its darkest pixel against the
    // cell's background.
    void textContrast()
    {
        if (!familyMissing().isEmpty())
            QSKIP(qPrintable(familyMissing()));
        env.dialogs->openAnswer = card.filePath("1.jpg");
        auto window = shownWindow();
        QTest::mouseClick(window->form()->tbtn_open, Qt::LeftButton);
        QTableWidget *table = window->form()->tableWidget;
        const QImage cell
            = table->viewport()->grab(table->visualItemRect(table->item(0, 0))).toImage();
        int ink = 255;
        for (int y = 0; y < cell.height(); ++y) {
            for (int x = 0; x < cell.width(); ++x)
                ink = std::min(ink, qGray(cell.pixel(x, y)));
        }
        const int background = qGray(cell.pixel(cell.width() - 2, 2));
        QVERIFY(luminance(background) / luminance(ink) >= 4.5);
    }

    // The whole About text shows in its fixed view with room to spare below the link, in the
    // family this run pins; a text too tall for the view would scroll, not be cut.
    void aboutFits_data() { languages_data(); }
    void aboutFits()
    {
        QFETCH(bool, russian);
        if (!familyMissing().isEmpty())
            QSKIP(qPrintable(familyMissing()));
        auto window = shownWindow(russian);
        QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
        auto *about = window->aboutWidget()->findChild<QTextBrowser *>();
        QTRY_VERIFY(about->isVisible());
        const int bottom = lastLineBottom(about);
        qInfo("%s, %s: the link ends at %d of %d", qPrintable(QFontInfo(QFont("Arial")).family()),
              russian ? "Russian" : "English", bottom, about->viewport()->height());
        QVERIFY(bottom <= about->viewport()->height() - 16);
        QVERIFY(!about->verticalScrollBar()->isVisible());
        about->setHtml(aboutHtml(russian).replace("12pt", "30pt"));
        QTRY_VERIFY(about->verticalScrollBar()->isVisible());
    }

    // About opens with the keyboard on the link to the site of the language.
    void aboutLink_data() { languages_data(); }
    void aboutLink()
    {
        QFETCH(bool, russian);
        auto window = shownWindow(russian);
        QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
        auto *about = window->aboutWidget()->findChild<QTextBrowser *>();
        QApplication::setActiveWindow(
            about->window()); // as the window manager does with a new window
        QTRY_VERIFY(about->hasFocus()); // Tab selects the link, Return opens it
        QTest::keyClick(about, Qt::Key_Tab);
        QTest::keyClick(about, Qt::Key_Return);
        const char *site = russian ? RussianSiteAddress : InternationalSiteAddress;
        QCOMPARE(openedUrls, QList<QUrl>{QUrl(QString::fromLatin1(site))});
    }

    // The help page of the language, maximised on its own, asked for by F1 (through the strip) or
    // the button; another key opens nothing.
    void help_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("page");
        QTest::newRow("English, the button") << false << false << "helpScanlet_eng.htm";
        QTest::newRow("Russian, F1") << true << true << "helpScanlet_rus.htm";
    }
    void help()
    {
        QFETCH(bool, russian);
        QFETCH(bool, byKey);
        auto window = shownWindow(russian);
        QTest::keyClick(window->form()->fileListWidget, Qt::Key_A);
        QVERIFY(!helpViewer());
        if (byKey)
            QTest::keyClick(window->form()->fileListWidget, Qt::Key_F1);
        else
            QTest::mouseClick(window->form()->tbtn_help, Qt::LeftButton);
        QPointer<CHelpViewer> viewer = helpViewer();
        QVERIFY(viewer);
        QVERIFY(!viewer->parentWidget() && viewer->isVisible() && viewer->isMaximized());
        QTEST(viewer->browser()->source().fileName(), "page");
        viewer->close();
        QTRY_VERIFY(viewer.isNull()); // deletes itself
    }

    // The program's files beside it win; else those of a system-wide install in ../share/scanlet.
    void programFiles_data()
    {
        QTest::addColumn<QStringList>("helpPages"); // folders, under a prefix, that hold the help pages
        QTest::addColumn<QString>("found");
        QTest::newRow("beside and shared: beside") << QStringList{"bin", "share/scanlet"} << "bin";
        QTest::newRow("shared only") << QStringList{"share/scanlet"} << "share/scanlet";
        QTest::newRow("neither: beside") << QStringList{} << "bin";
    }
    void programFiles()
    {
        QFETCH(QStringList, helpPages);
        QFETCH(QString, found);
        QTemporaryDir prefix(QDir::tempPath() + QStringLiteral("/Программа # 1 & 2%-XXXXXX"));
        QVERIFY(QDir(prefix.path()).mkpath("bin"));
        for (const QString &dir : helpPages)
            QVERIFY(QDir(prefix.path()).mkpath(dir) && writeBytes(prefix.filePath(dir + "/helpScanlet_eng.htm"), "<p>"));
        QCOMPARE(programFilesDir(prefix.filePath("bin")), prefix.filePath(found));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("exitCode"); // -1: the window opens
        QTest::newRow("a name with a minus after --") << QStringList{"--", "-3.jpg"} << "-3.jpg" << -1;
        QTest::newRow("two names") << QStringList{"1.jpg", "2.jpg"} << "" << 2;
        QTest::newRow("version") << QStringList{"--version"} << "" << 0;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QFETCH(int, exitCode);
        const CommandLine parsed = parseCommandLine(QStringList{"scanlet"} + arguments);
        QCOMPARE(parsed.path, path);
        QCOMPARE(parsed.exitCode, exitCode);
    }

    // A file or folder given at start: the file's folder loaded with it selected, as Open File does.
    void openPath_data()
    {
        QTest::addColumn<QString>("name");     // in a folder of 1.jpg to 3.jpg and 0.jpg; "" the folder
        QTest::addColumn<QString>("shown");    // the picture's title
        QTest::addColumn<QString>("warning");
        QTest::newRow("a file") << "2.jpg" << "Scan 2 — 2.jpg" << "";
        QTest::newRow("the folder") << "" << "Scan 1 — 1.jpg" << "";
        QTest::newRow("a name Open File refuses") << "0.jpg" << ""
                                                  << "Incorrect file name \"0.jpg\"!\nYou should enter another one!";
        QTest::newRow("missing") << "4.jpg" << "" << "There is no file or folder \"%DIR%/4.jpg\"!";
    }
    void openPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QFETCH(QString, warning);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/А-сканы # 1 & 2%-XXXXXX"));
        for (int i = 0; i < 4; ++i) {
            AscanFields ascan;
            ascan.title = "Scan " + QByteArray::number(i);
            QVERIFY(writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), ascan));
        }
        env.dialogs->warnings.clear();
        auto window = shownWindow();
        window->openPath(name.isEmpty() ? dir.path() + '/' : dir.filePath(name));
        QCOMPARE(window->form()->grpb_ascan->title(), shown);
        QCOMPARE(window->form()->grpb_listWidget->title(), shown.isEmpty() ? "" : dir.path());
        QCOMPARE(env.dialogs->warnings.join(""), warning.replace("%DIR%", dir.path()));
    }

    // The keys the tooltips name press their buttons; the strip's title counts a selection of more than
    // one; printing more than 200 records asks first.
    void habits()
    {
        QTemporaryDir dir;
        for (int i = 1; i <= 201; ++i)
            QVERIFY(writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), AscanFields()));
        auto window = shownWindow();
        Ui::CDataManagerTempl *ui = window->form();
        const auto press = [&](QToolButton *button, const QString &keys) { // as its tooltip says
            QVERIFY(button->toolTip().endsWith(" (" + keys + ")"));
            QApplication::setActiveWindow(window.get()); // again after the loading's dialog
            QTest::keySequence(window.get(), QKeySequence(keys));
        };
        env.dialogs->openAnswer = dir.filePath("5.jpg");
        press(ui->tbtn_open, "Ctrl+O");
        QTRY_VERIFY(ui->grpb_ascan->title().endsWith(" — 5.jpg")); // a shortcut clicks after a moment
        QCOMPARE(ui->grpb_listWidget->title(), dir.path());
        env.dialogs->directoryAnswers = QStringList{""};
        press(ui->tbtn_save, "Ctrl+S");
        QTRY_VERIFY(env.dialogs->directoryAnswers.isEmpty());

        ui->fileListWidget->selectAll();
        QCOMPARE(ui->grpb_listWidget->title(), dir.path() + " — 201 selected");
        env.dialogs->pdfPath = dir.filePath("report.pdf");
        press(ui->tbtn_print, "Ctrl+P");
        QTRY_COMPARE(env.dialogs->questions, QStringList{"Print 201 records, one page each?"});
        QVERIFY(env.dialogs->printDialogs == 0 && !QFileInfo::exists(env.dialogs->pdfPath));
        ui->fileListWidget->item(0)->setSelected(false);
        env.dialogs->pdfPath.clear(); // the print dialog is cancelled
        press(ui->tbtn_print, "Ctrl+P");
        QTRY_COMPARE(env.dialogs->printDialogs, 1);
        QCOMPARE(env.dialogs->questions.size(), 1);
    }

    // Esc closes About and the help.
    void escapeCloses()
    {
        const auto window = shownWindow();
        QMetaObject::invokeMethod(window.get(), "slot_showInfoAbout");
        QWidget *about = window->aboutWidget();
        QApplication::setActiveWindow(about);
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!about->isVisible());
        QMetaObject::invokeMethod(window.get(), "slot_showHelp");
        QPointer<CHelpViewer> viewer = helpViewer();
        QApplication::setActiveWindow(viewer);
        QTest::keyClick(viewer->browser(), Qt::Key_Escape);
        QTRY_VERIFY(viewer.isNull());
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
