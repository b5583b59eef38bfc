// The application shell: button states, sizing, save directory, message boxes, language, help and About.
#include <QtTest>
#include <QtWidgets>

#include "acquisition/loadingdialog.h"
#include "app/abouttext.h"
#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

std::unique_ptr<CDataManager> shownWindow(bool translationLoaded = false)
{
    auto window = std::make_unique<CDataManager>(nullptr, Qt::WindowFlags(), translationLoaded);
    window->show();
    return window;
}

CHelpViewer *helpViewer()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *viewer = qobject_cast<CHelpViewer *>(widget))
            return viewer;
    return nullptr;
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
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl"); // links are only recorded
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

    // Which of the device, output and shift buttons can be pressed, step by step of what the user does.
    void buttonStates_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("start") << "" << "";
        QTest::newRow("a file opened") << "open1" << "tbtn_save tbtn_print";
        QTest::newRow("selection cleared") << "open1 clear" << "";
        QTest::newRow("more than the strip shows") << "open30" << "tbtn_save tbtn_print btn_shiftRight";
    }

    void buttonStates()
    {
        QFETCH(QString, steps);
        QFETCH(QString, enabled);
        QTemporaryDir dir;
        auto window = shownWindow();
        env.dialogs->openAnswer = dir.filePath("1.jpg");
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            for (int i = step.mid(4).toInt(); i > 0; --i) // "open30": 30 records in the folder
                QVERIFY(writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), AscanFields()));
            if (step == "clear")
                window->form()->fileListWidget->clearSelection();
            else
                QTest::mouseClick(window->form()->tbtn_open, Qt::LeftButton);
        }
        for (auto *button : window->findChildren<QAbstractButton *>(QRegularExpression("btn_(gotoDevice|save|print|shift)")))
            QTRY_COMPARE(button->isEnabled(), enabled.split(' ').contains(button->objectName()));
    }

    void computeRowHeight_data()
    {
        QTest::addColumn<QVector<int>>("values"); // height H, line width L, rows n, expected row height
        // Worked by hand: d = (H - L(n-1)) / n, r = d rounded half up, e = n r - H.
        QTest::newRow("form size: 27.29 -> 27, e = -21 adds one") << QVector<int>{480, 1, 17, 28};
        QTest::newRow("half rounds up: 17.5 -> 18") << QVector<int>{35, 0, 2, 18};
        QTest::newRow("d = 28, e = 40 takes one off") << QVector<int>{100, -10, 5, 27};
    }

    void computeRowHeight()
    {
        QFETCH(QVector<int>, values);
        QCOMPARE(CDataManager::computeRowHeight(values[0], values[1], values[2]), values[3]);
    }

    void saveDir_data()
    {
        // %DIR% stands for an existing directory; a null file for none; "/" for a directory in the place of the
        // file beside the program (neither readable nor writable, even by root): the user's config, holding
        // %DIR% without a line end, serves instead.
        QTest::addColumn<QByteArray>("beside");
        QTest::addColumn<QString>("saveDir");
        QTest::addColumn<QByteArray>("written"); // at close: beside the program, or else in the user's config
        QTest::newRow("CR LF, later lines ignored") << QByteArray("%DIR%\r\nmore\n") << "%DIR%" << QByteArray("%DIR%\n");
        QTest::newRow("missing directory") << QByteArray("%DIR%/gone\n") << "" << QByteArray("\n");
        QTest::newRow("missing file") << QByteArray() << "" << QByteArray("\n");
        QTest::newRow("unwritable beside: the user's config") << QByteArray("/") << "%DIR%" << QByteArray("%DIR%\n");
    }

    void saveDir()
    {
        QFETCH(QByteArray, beside);
        QFETCH(QString, saveDir);
        QFETCH(QByteArray, written);
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/Сохранения # 1 & 2%-XXXXXX"));
        const QByteArray path = dir.path().toUtf8();
        const QString configFile = CDataManager::userSaveDirFilePath();
        if (beside == "/")
            QVERIFY(QDir().mkpath(saveDirFile) && QDir().mkpath(QFileInfo(configFile).path()) && writeBytes(configFile, path));
        else
            QVERIFY(beside.isNull() || writeBytes(saveDirFile, beside.replace("%DIR%", path)));
        auto window = shownWindow();
        QCOMPARE(window->saveDirectory(), saveDir.replace(QStringLiteral("%DIR%"), dir.path()));
        QCOMPARE(window->dataDirectory(), saveDir);
        QVERIFY(window->close() && !window->isVisible());
        QCOMPARE(readAll(beside == "/" ? configFile : saveDirFile), written.replace("%DIR%", path));
    }

    // Start-up in each build language: the catalogue beside the program switches the window, the toolkit's
    // message boxes, About and the help to Russian; without it all stays English.
    void language_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English build: a warning, the help button") << false;
        QTest::newRow("Russian build: a question answered by Escape, F1") << true;
    }

    void language()
    {
        QFETCH(bool, russian);
        QTemporaryDir programDir, card;
        QVERIFY(!russian || QFile::copy(SCANLET_QM_DIR "/scanlet_ru.qm", programDir.filePath("scanlet_ru.qm")));
        QObject owner; // of the translators
        QCOMPARE(installCatalogues(programDir.path(), &owner), russian);
        // An instrument with records of the widest number of every field and each text the decoder gives.
        for (int i = 0; i < 16; ++i) {
            AscanFields a;
            a.frequencyIndex = quint8(i), a.scaleMode = quint8(i % 3), a.probeType = a.unitSystem = quint8(i % 2);
            a.cursorSwitch = a.strobeSwitch = a.discreteness = quint8(i % 4 == 3), a.referenceSwitch = quint8(i == 5);
            a.thicknessSwitch = quint8(i == 6), a.probeAngle = 0xFFFF, a.correctionRoughness = 32767;
            a.delay = a.referenceLevel = a.correctionStandard = a.reportingLevel = a.examinationMonitor = -32768;
            a.thicknessMm = a.thicknessInch = 0xFFFFFF, a.date[0] = 31, a.date[1] = 12, a.yearSince1900 = 199;
            QVERIFY(writeAscan(card.filePath(QStringLiteral("%1.jpg").arg(i + 1)), a));
        }
        env.machine.plugInstruments({card.path() + '/'});
        env.dialogs->openAnswer = card.filePath("1.jpg");
        ProgressWatcher loading(QStringLiteral("dlg_infoLoad"));
        auto window = shownWindow(russian);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()) && window->windowTitle() == "Scanlet"); // not translated
        Ui::CDataManagerTempl *ui = window->form();
        QTest::mouseClick(ui->tbtn_open, Qt::LeftButton);

        // The real message boxes (not the fake the window is given) show the text as plain text, so a file
        // name is never read as markup; the answer is the button pressed.
        const QString text = QStringLiteral("<b>Файл № 1 & 2.jpg</b>");
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            seen << box->text() << QString::number(box->textFormat());
            for (QAbstractButton *button : box->buttons())
                seen << button->text();
            QTest::keyClick(box, russian ? Qt::Key_Escape : Qt::Key_Return);
        });
        Dialogs real;
        QCOMPARE(russian ? real.question(window.get(), "Scanlet", text) : real.warning(window.get(), "Scanlet", text),
                 russian ? QMessageBox::No : QMessageBox::Ok);
        QCOMPARE(seen.mid(0, 2), QStringList({text, QString::number(Qt::PlainText)}));

        // The toolkit's buttons, the window and About speak the language.
        QTextBrowser *about = window->aboutWidget()->findChild<QTextBrowser *>();
        const QStringList shown = seen.mid(2) << ui->grpb_table->title() << ui->tbtn_open->toolTip()
                                              << window->aboutWidget()->windowTitle() << about->toPlainText();
        QCOMPARE(shown.filter(QRegularExpression(QStringLiteral("[А-яЁё]"))).size(), russian ? shown.size() : 0);

        // The table's columns stop at its frame; its text reads at a contrast of 4.5 : 1 or more: relative
        // luminance as WCAG defines it (of grey levels), of the darkest pixel and of the cell's background.
        QTableWidget *table = ui->tableWidget;
        QVERIFY(table->columnWidth(0) + table->columnWidth(1) <= table->width() - table->lineWidth());
        const QImage cell = table->viewport()->grab(table->visualItemRect(table->item(0, 0))).toImage();
        const auto luminance = [](int v) {
            return (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4)) + 0.05;
        };
        int ink = 255;
        for (int i = 0; i < cell.height() * cell.width(); ++i)
            ink = std::min(ink, qGray(cell.pixel(i % cell.width(), i / cell.width())));
        QVERIFY(luminance(qGray(cell.pixel(cell.width() - 2, 2))) / luminance(ink) >= 4.5);

        // Every text whole in its cell or label, measured with the widget's own font; the whole About
        // document in its view, which shows no scroll bars.
        QStringList cut;
        const auto fits = [&cut](const QString &text, const QRect &room, const QFontMetrics &metrics, int flags) {
            const QRect needed = metrics.boundingRect(room, flags | Qt::TextWordWrap, text);
            if (needed.width() > room.width() || needed.height() > room.height())
                cut << text;
        };
        const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        for (int i = 0; i < ui->fileListWidget->count(); ++i) {
            ui->fileListWidget->setCurrentRow(i);
            for (int row = 0; table->item(row, 0); ++row)
                for (QTableWidgetItem *item : {table->item(row, 0), table->item(row, 1)})
                    fits(item->text(), table->visualItemRect(item).adjusted(margin, 0, -margin, 0), table->fontMetrics(), 0);
        }
        const LoadingDialogWidgets dialog = buildLoadingDialog();
        const std::unique_ptr<QDialog> deleteDialog(dialog.dialog);
        for (const QString &text : loading.firstTexts + loading.labels)
            fits(text, dialog.label->contentsRect(), dialog.label->fontMetrics(), int(dialog.label->alignment()));
        fits(dialog.cancel->text(), dialog.cancel->contentsRect(), dialog.cancel->fontMetrics(), 0);
        QVERIFY2(cut.isEmpty() && loading.firstTexts.size() == 2, qPrintable(cut.join('\n')));
        QVERIFY(about->document()->size().height() <= about->viewport()->height());

        // About opens with the keyboard on the link to the site of the language.
        QTest::mouseClick(ui->tbtn_info, Qt::LeftButton);
        QApplication::setActiveWindow(about->window()); // as the window manager does with a new window
        QTRY_VERIFY(about->hasFocus()); // Tab selects the link, Return opens it
        QTest::keyClick(about, Qt::Key_Tab);
        QTest::keyClick(about, Qt::Key_Return);
        QCOMPARE(openedUrls, QList<QUrl>{QUrl(QString::fromLatin1(russian ? RussianSiteAddress : InternationalSiteAddress))});
        about->window()->close();

        // The help page of the language, maximized on its own, asked for by F1 (through the strip) or the button.
        QTest::keyClick(window.get(), Qt::Key_A);
        QVERIFY(!helpViewer());
        russian ? QTest::keyClick(ui->fileListWidget, Qt::Key_F1) : QTest::mouseClick(ui->tbtn_help, Qt::LeftButton);
        QPointer<CHelpViewer> viewer = helpViewer();
        QVERIFY(viewer && !viewer->parentWidget() && viewer->isVisible() && viewer->isMaximized());
        QCOMPARE(viewer->browser()->source().fileName(), russian ? "helpScanlet_rus.htm" : "helpScanlet_eng.htm");
        viewer->close();
        QTRY_VERIFY(viewer.isNull()); // deletes itself
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
