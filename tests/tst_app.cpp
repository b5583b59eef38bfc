// The application shell: the main window's form, sizing, save directory, language, help and About.
#include <QtTest>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBrowser>

#include <cmath>
#include <memory>

#include "acquisition/loadingdialog.h"
#include "app/abouttext.h"
#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "records/globals.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/savingdialog.h"
#include "ui_cdatamanager.h"

namespace {

bool hasCyrillic(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")));
}

std::unique_ptr<CDataManager> shownWindow(bool translationLoaded = false)
{
    auto window = std::make_unique<CDataManager>(nullptr, Qt::WindowFlags(), translationLoaded);
    window->show();
    return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
}

QList<CHelpViewer *> helpViewers()
{
    QList<CHelpViewer *> viewers;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *viewer = qobject_cast<CHelpViewer *>(widget))
            viewers << viewer;
    return viewers;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

    FakeEnvironment env;
    const QString saveDirFile = CDataManager::saveDirFilePath();
    const QByteArray savedFile = readAll(saveDirFile); // put back at the end
    QList<QUrl> openedUrls;

public slots:
    void openUrl(const QUrl &url) { openedUrls << url; }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        openedUrls.clear();
        QDir(saveDirFile).removeRecursively();
        QFile::remove(saveDirFile);
        QFile::remove(CDataManager::userSaveDirFilePath());
    }
    void cleanup() { qDeleteAll(helpViewers()); init(); }
    void cleanupTestCase()
    {
        if (savedFile != "<unreadable>")
            writeBytes(saveDirFile, savedFile);
    }

    void form()
    {
        auto window = shownWindow();
        QVERIFY(window);
        window->resize(1000, 900);
        QCOMPARE(window->size(), QSize(820, 770));
        QVERIFY(!window->findChild<QMenuBar *>());
        Ui::CDataManagerTempl *ui = window->form();
        QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
        // Sized after show: the 480-high table with line width 1 gets 239/120 columns and 28-pixel rows.
        QCOMPARE(ui->tableWidget->columnWidth(0), 239);
        QCOMPARE(ui->tableWidget->columnWidth(1), 120);
        for (int row = 0; row < 17; ++row)
            QCOMPARE(ui->tableWidget->rowHeight(row), 28);
        env.dialogs->openStarts.clear();
        QTest::mouseClick(ui->tbtn_open, Qt::LeftButton); // connected: asks for a file
        QCOMPARE(env.dialogs->openStarts.size(), 1);
    }

    // Every widget of the form; a button shows only its compiled-in picture, at that picture's size.
    void widgets_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QSize>("iconSize");
        QTest::addColumn<QString>("name"); // the accessible name; also the tooltip of a tool button
        const auto tool = [](const char *button, int x, bool enabled, const char *icon, const char *tip) {
            QTest::newRow(button) << "QToolButton" << QRect(x, 10, 40, 40) << enabled << icon << QSize(32, 32) << tip;
        };
        tool("tbtn_gotoDevice", 10, false, "device.png", "Load Data From Connected Device");
        tool("tbtn_open", 60, true, "fileopen.png", "Open File");
        tool("tbtn_save", 110, false, "save.png", "Save Selected Files");
        tool("tbtn_print", 160, false, "fileprint.png", "Print Selected Files");
        tool("tbtn_help", 700, true, "help.png", "View Help");
        tool("tbtn_info", 750, true, "info.png", "About Program");
        QTest::newRow("btn_shiftLeft") << "QPushButton" << QRect(10, 20, 40, 110) << false << "previous.png" << QSize(18, 31) << "Previous";
        QTest::newRow("btn_shiftRight") << "QPushButton" << QRect(750, 20, 40, 110) << false << "next.png" << QSize(18, 31) << "Next";
        const auto other = [](const char *name, const char *className, QRect geometry) {
            QTest::newRow(name) << className << geometry << true << "" << QSize() << "";
        };
        other("grpb_buttons", "QGroupBox", QRect(10, 10, 800, 60));
        other("grpb_ascan", "QGroupBox", QRect(10, 80, 390, 530));
        other("frameGraph", "CResPictureFrame", QRect(15, 35, 360, 480));
        other("grpb_table", "QGroupBox", QRect(420, 80, 390, 530));
        other("tableWidget", "QTableWidget", QRect(15, 35, 360, 480));
        other("grpb_listWidget", "QGroupBox", QRect(10, 620, 800, 140));
        other("fileListWidget", "CListWidgetHeir", QRect(60, 20, 680, 110));
    }

    void widgets()
    {
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(bool, enabled);
        QFETCH(QString, icon);
        QFETCH(QSize, iconSize);
        QFETCH(QString, name);
        auto window = shownWindow();
        QVERIFY(window);
        auto *widget = window->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(widget && widget->isVisible());
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->isEnabled(), enabled);
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if (!button)
            return;
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->accessibleName(), name);
        QCOMPARE(button->toolTip(), className == QLatin1String("QToolButton") ? name : QString());
        const QImage picture(":/scanlet/images/" + icon, "png");
        QCOMPARE(picture.size(), iconSize);
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QCOMPARE(button->icon().pixmap(iconSize).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    void computeRowHeight_data()
    {
        QTest::addColumn<QVector<int>>("values"); // height H, line width L, rows n, expected row height
        // Worked by hand: d = (H - L(n-1)) / n, r = d rounded half up, e = n r - H.
        QTest::newRow("form size: 27.29 -> 27, e = -21 adds one") << QVector<int>{480, 1, 17, 28};
        QTest::newRow("half rounds up: 17.5 -> 18") << QVector<int>{35, 0, 2, 18};
        QTest::newRow("d = 28, e = 40 takes one off") << QVector<int>{100, -10, 5, 27};
        QTest::newRow("negative half rounds up: -17.5 -> -17") << QVector<int>{-35, 0, 2, -17};
        QTest::newRow("negative: -29.18 -> -29, e = -13 adds one") << QVector<int>{-480, 1, 17, -28};
        QTest::newRow("large: 58729.41 -> 58729, e = -1607 adds only one") << QVector<int>{1000000, 100, 17, 58730};
        QTest::newRow("two billion: 117647058.82 -> 117647059") << QVector<int>{2000000000, 0, 17, 117647059};
    }

    void computeRowHeight()
    {
        QFETCH(QVector<int>, values);
        QCOMPARE(CDataManager::computeRowHeight(values[0], values[1], values[2]), values[3]);
    }

    void saveDir_data()
    {
        // %DIR% stands for an existing directory; a null "before" for no file, "/" for a directory
        // in the file's place (neither readable nor writable, even by root).
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("saveDir");
        QTest::addColumn<QByteArray>("afterClose");
        QTest::newRow("CR LF, later lines ignored") << QByteArray("%DIR%\r\nmore\n") << "%DIR%" << QByteArray("%DIR%\n");
        QTest::newRow("no line end") << QByteArray("%DIR%") << "%DIR%" << QByteArray("%DIR%\n");
        QTest::newRow("empty file") << QByteArray("") << "" << QByteArray("\n");
        QTest::newRow("missing directory") << QByteArray("%DIR%/gone\n") << "" << QByteArray("\n");
        QTest::newRow("missing file") << QByteArray() << "" << QByteArray("\n");
        QTest::newRow("unwritable") << QByteArray("/") << "" << QByteArray("<unreadable>");
    }

    void saveDir()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, saveDir);
        QFETCH(QByteArray, afterClose);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (before == "/")
            QVERIFY(QDir().mkpath(saveDirFile));
        else if (!before.isNull())
            QVERIFY(writeBytes(saveDirFile, before.replace("%DIR%", dir.path().toUtf8())));
        auto window = shownWindow();
        QVERIFY(window);
        QCOMPARE(window->saveDirectory(), saveDir.replace(QStringLiteral("%DIR%"), dir.path()));
        QCOMPARE(window->dataDirectory(), saveDir);
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(readAll(saveDirFile), afterClose.replace("%DIR%", dir.path().toUtf8()));
    }

    // The language follows only whether the catalogue was loaded: the help page and the About link.
    void language_data()
    {
        QTest::addColumn<bool>("translationLoaded");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("page");
        QTest::newRow("English, help button") << false << "button" << "helpScanlet_eng.htm";
        QTest::newRow("English, F1 through the strip") << false << "F1 strip" << "helpScanlet_eng.htm";
        QTest::newRow("Russian, F1") << true << "F1" << "helpScanlet_rus.htm";
        QTest::newRow("Russian, another key") << true << "A" << "";
    }

    void language()
    {
        QFETCH(bool, translationLoaded);
        QFETCH(QString, trigger);
        QFETCH(QString, page);
        const QString link = QString::fromLatin1(translationLoaded ? RussianSiteAddress : InternationalSiteAddress);
        auto window = shownWindow(translationLoaded);
        QVERIFY(window);
        QPointer<QWidget> about = window->aboutWidget();
        QCOMPARE(about->windowTitle(), QStringLiteral("About Scanlet"));
        auto *browser = about->findChild<QTextBrowser *>(QStringLiteral("aboutTBrowser"));
        QVERIFY(browser && browser->openExternalLinks());
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
        for (int open = 0; open < 2; ++open) { // closing only hides it: the same window comes back
            QTest::mouseClick(window->form()->tbtn_info, Qt::LeftButton);
            QVERIFY(!about.isNull() && about->isVisible());
            QApplication::setActiveWindow(about); // as the window manager does with a new window
            QTRY_VERIFY(browser->hasFocus()); // the keyboard reaches the link: Tab selects it, Return opens it
            if (open == 0) {
                QTest::keyClick(browser, Qt::Key_Tab);
                QTest::keyClick(browser, Qt::Key_Return);
                QCOMPARE(openedUrls, QList<QUrl>() << QUrl(link));
            }
            about->close();
        }
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

        if (trigger == QLatin1String("button"))
            QTest::mouseClick(window->form()->tbtn_help, Qt::LeftButton);
        else
            QTest::keyClick(trigger.endsWith("strip") ? window->form()->fileListWidget : static_cast<QWidget *>(window.get()),
                            trigger == "A" ? Qt::Key_A : Qt::Key_F1);
        QCOMPARE(helpViewers().size(), page.isEmpty() ? 0 : 1);
        if (page.isEmpty())
            return;
        QPointer<CHelpViewer> viewer = helpViewers().first();
        QVERIFY(!viewer->parentWidget() && viewer->isVisible() && (viewer->windowState() & Qt::WindowMaximized));
        QCOMPARE(viewer->browser()->source().fileName(), page);
        QVERIFY(!viewer->browser()->toPlainText().trimmed().isEmpty()); // the page beside the program was read
        viewer->close();
        QTRY_VERIFY(viewer.isNull()); // deletes itself
    }

    // In each language every text the window can show is translated and whole in its cell, label or
    // view, measured with the widget's own font; the table's text reads at a contrast of 4.5 : 1 or more.
    void texts_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English") << false;
        QTest::newRow("Russian") << true;
    }

    void texts()
    {
        QFETCH(bool, russian);
        // Loaded the way start-up loads it: the program's directory, a separator, the base name.
        QTranslator translator;
        QVERIFY(translator.load(SCANLET_QM_DIR "/scanlet_ru.qm"));
        if (russian)
            QCoreApplication::installTranslator(&translator);
        struct Remove { QTranslator *t; ~Remove() { QCoreApplication::removeTranslator(t); } } remove{&translator};
        auto window = shownWindow(russian);
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        QStringList cut, shown{ui->grpb_table->title(), window->aboutWidget()->windowTitle(), ui->btn_shiftLeft->accessibleName(), ui->btn_shiftRight->accessibleName()};
        for (QAbstractButton *button : ui->grpb_buttons->findChildren<QAbstractButton *>())
            shown << button->toolTip() << button->accessibleName();
        QCOMPARE(shown.filter(QRegularExpression(QStringLiteral("^[^а-яё]*$"), QRegularExpression::CaseInsensitiveOption)),
                 russian ? QStringList() : shown);
        QCOMPARE(window->windowTitle(), QStringLiteral("Scanlet")); // not translated
        const auto fits = [&](const QString &text, const QRect &room, const QFontMetrics &metrics, int flags) {
            const QRect needed = metrics.boundingRect(room, flags, text);
            if (needed.width() > room.width() || needed.height() > room.height())
                cut << QStringLiteral("%1 needs %2x%3 in %4x%5").arg(text).arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
        };
        // Records with the widest number of every field, each text the decoder gives, both units.
        QTableWidget *table = ui->tableWidget;
        const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        QTemporaryDir dir;
        for (int i = 0; i < 16; ++i) {
            AscanFields a;
            a.frequencyIndex = quint8(i), a.scaleMode = quint8(i % 3), a.probeType = a.unitSystem = a.cursorSwitch = quint8(i % 2);
            a.strobeSwitch = a.discreteness = quint8(i % 4 == 3), a.referenceSwitch = quint8(i == 5), a.thicknessSwitch = quint8(i == 6);
            a.probeAngle = 0xFFFF, a.delay = a.referenceLevel = a.correctionStandard = a.reportingLevel = a.examinationMonitor = -32768;
            a.correctionRoughness = 32767, a.thicknessMm = a.thicknessInch = 0xFFFFFF;
            a.time[0] = 23, a.time[1] = 59, a.date[0] = 31, a.date[1] = 12, a.yearSince1900 = 199;
            QVERIFY(writeAscan(dir.filePath("a"), a) && window->readRecord(dir.filePath("a")) != 0);
            window->fillSettingsTable();
            for (int row = 0; table->item(row, 0); ++row)
                for (QTableWidgetItem *item : {table->item(row, 0), table->item(row, 1)})
                    fits(item->text(), table->visualItemRect(item).adjusted(margin, 0, -margin, 0), table->fontMetrics(), table->wordWrap() ? Qt::TextWordWrap : 0);
        }
        // Relative luminance as WCAG defines it, of the darkest pixel and of the cell's background.
        const QImage cell = table->viewport()->grab(table->visualItemRect(table->item(0, 0))).toImage();
        const auto luminance = [](QRgb c) {
            const auto linear = [](int v) { return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
            return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c)) + 0.05;
        };
        double ink = 2;
        for (int i = 0; i < cell.height() * cell.width(); ++i)
            ink = std::min(ink, luminance(cell.pixel(i % cell.width(), i / cell.width())));
        QVERIFY2(luminance(cell.pixel(cell.width() - 2, 2)) / ink >= 4.5, qPrintable(QString::number(ink)));
        // The dialogs' texts in their labels, and every widget inside its dialog.
        const LoadingDialogWidgets loading = buildLoadingDialog();
        const SavingDialogWidgets saving = buildSavingDialog();
        const std::unique_ptr<QDialog> owners[2] = {std::unique_ptr<QDialog>(loading.dialog), std::unique_ptr<QDialog>(saving.dialog)};
        const auto tr = [](const char *text) { return QCoreApplication::translate("CDataManager", text); };
        for (const QString &text : {tr("An inserted ultrasonic defectoscope was detected. The program is looking for\navailable data. Please, wait."),
                                    tr("The program is loading available data. Please, wait."), tr("Data are being loaded. Loaded:"), saving.label->text()}) {
            const QLabel *label = text == saving.label->text() ? saving.label : loading.label;
            fits(text, label->contentsRect(), label->fontMetrics(), int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0));
        }
        fits(loading.cancel->text(), loading.cancel->contentsRect(), loading.cancel->fontMetrics(), 0);
        for (QDialog *dialog : {loading.dialog, saving.dialog})
            for (QWidget *child : dialog->findChildren<QWidget *>())
                if (!dialog->rect().contains(child->geometry()))
                    cut << child->objectName();
        // The whole About document in its view, which shows no scroll bars; the version put into the template.
        auto *about = window->aboutWidget()->findChild<QTextBrowser *>();
        QVERIFY(about->toPlainText().contains(QRegularExpression(QStringLiteral("^Scanlet(,)? (Version|версия) 1\\.14$"), QRegularExpression::MultilineOption)));
        if (about->document()->size().height() > about->viewport()->height() || about->document()->idealWidth() > about->viewport()->width())
            cut << QStringLiteral("About: %1x%2").arg(about->document()->idealWidth()).arg(about->document()->size().height());
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    // Start-up in each build language: the program's catalogue beside it switches the window, the
    // toolkit's dialogs and the help to Russian; without it everything stays English.
    void startup_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English build") << false;
        QTest::newRow("Russian build") << true;
    }

    void startup()
    {
        QFETCH(bool, russian);
        QCOMPARE(QFile::exists(SCANLET_BIN_DIR "/scanlet_ru.qm"), QStringLiteral(SCANLET_LANGUAGE) == "ru");
        QTemporaryDir programDir;
        QVERIFY(!russian || QFile::copy(SCANLET_QM_DIR "/scanlet_ru.qm", programDir.filePath("scanlet_ru.qm")));
        QObject owner;
        QCOMPARE(installCatalogues(programDir.path(), &owner), russian);
        auto window = shownWindow(russian);
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        for (QAbstractButton *button : ui->grpb_buttons->findChildren<QAbstractButton *>()) {
            QVERIFY2(hasCyrillic(button->toolTip()) == russian, qPrintable(button->objectName()));
            QCOMPARE(button->accessibleName(), button->toolTip());
        }
        QCOMPARE(hasCyrillic(ui->btn_shiftLeft->accessibleName() + ui->btn_shiftRight->accessibleName()), russian);
        QCOMPARE(hasCyrillic(ui->grpb_table->title() + window->aboutWidget()->windowTitle() + aboutHtml(russian)), russian);
        QCOMPARE(window->windowTitle(), QStringLiteral("Scanlet")); // not translated
        QVERIFY(!QFile::exists("tarnwell.ico") && !window->windowIcon().pixmap(32).isNull()); // the built-in one
        QVERIFY(aboutHtml(russian).contains(russian ? "Scanlet, версия 1.14" : "Scanlet Version 1.14"));
        // The toolkit's file dialog and message box buttons speak the same language.
        QFileDialog dialog(window.get());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QString texts;
        for (QAbstractButton *button : dialog.findChildren<QDialogButtonBox *>().value(0)->buttons())
            texts += button->text();
        QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        for (QAbstractButton *button : question.buttons())
            texts += button->text();
        QVERIFY2(hasCyrillic(texts) == russian && texts.contains(QRegularExpression("[A-Za-z]")) != russian,
                 qPrintable(texts));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
