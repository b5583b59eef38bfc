// The application shell: the main window's form, button states, sizing, save directory, message boxes,
// language, help and About.
#include <QtTest>
#include <QtWidgets>

#include "acquisition/loadingdialog.h"
#include "app/abouttext.h"
#include "app/catalogues.h"
#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/savingdialog.h"
#include "ui_cdatamanager.h"

namespace {

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

    // A fixed window without menus; the table's columns and rows fill it; each button shows only its
    // compiled-in picture, at that picture's size, and is named by its tool tip (the shift buttons have none).
    void form()
    {
        auto window = shownWindow();
        QVERIFY(window);
        window->resize(1000, 900);
        QVERIFY(window->size() == QSize(820, 770) && !window->findChild<QMenuBar *>());
        QTableWidget *table = window->form()->tableWidget;
        QCOMPARE(QSize(table->columnWidth(0), table->columnWidth(1)), QSize(239, 120));
        for (int row = 0; row < table->rowCount(); ++row)
            QCOMPARE(table->rowHeight(row), 28);
        const QMap<QString, QString> pictures{{"tbtn_gotoDevice", "device"}, {"tbtn_open", "fileopen"}, {"tbtn_save", "save"},
            {"tbtn_print", "fileprint"}, {"tbtn_help", "help"}, {"tbtn_info", "info"}, {"btn_shiftLeft", "previous"},
            {"btn_shiftRight", "next"}};
        for (auto it = pictures.begin(); it != pictures.end(); ++it) {
            auto *button = window->findChild<QAbstractButton *>(it.key());
            const QImage picture(":/scanlet/images/" + it.value() + ".png");
            QVERIFY2(button && !picture.isNull() && button->text().isEmpty(), qPrintable(it.key()));
            QCOMPARE(button->toolTip(), qobject_cast<QToolButton *>(button) ? button->accessibleName() : QString());
            QCOMPARE(button->icon().pixmap(picture.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
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
        QTest::newRow("scrolled to the end") << "open30 end" << "tbtn_save tbtn_print btn_shiftLeft";
        QTest::newRow("instrument plugged in") << "open1 plug" << "tbtn_gotoDevice tbtn_save tbtn_print";
    }

    void buttonStates()
    {
        QFETCH(QString, steps);
        QFETCH(QString, enabled);
        QTemporaryDir dir, card;
        auto window = shownWindow();
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        env.dialogs->openAnswer = dir.filePath("1.jpg");
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            for (int i = step.mid(4).toInt(); i > 0; --i) // "open30": 30 records in the folder
                QVERIFY(writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(i)), AscanFields()));
            env.machine.plugInstruments(step == "plug" ? QStringList{card.path() + '/'} : QStringList());
            if (step.startsWith("open"))
                QTest::mouseClick(ui->tbtn_open, Qt::LeftButton);
            else if (step == "clear")
                ui->fileListWidget->clearSelection();
            else if (step == "end") {
                QTRY_VERIFY(ui->btn_shiftRight->isEnabled()); // once the strip is laid out
                ui->fileListWidget->horizontalScrollBar()->setValue(INT_MAX);
            } else
                window->handleDeviceArrival();
        }
        const auto pressable = [&window] {
            QStringList names;
            for (auto *button : window->findChildren<QAbstractButton *>(QRegularExpression("btn_(gotoDevice|save|print|shift)")))
                if (button->isEnabled())
                    names << button->objectName();
            return names.join(' ');
        };
        QTRY_COMPARE(pressable(), enabled);
    }

    void computeRowHeight_data()
    {
        QTest::addColumn<QVector<int>>("values"); // height H, line width L, rows n, expected row height
        // Worked by hand: d = (H - L(n-1)) / n, r = d rounded half up, e = n r - H.
        QTest::newRow("form size: 27.29 -> 27, e = -21 adds one") << QVector<int>{480, 1, 17, 28};
        QTest::newRow("half rounds up: 17.5 -> 18") << QVector<int>{35, 0, 2, 18};
        QTest::newRow("d = 28, e = 40 takes one off") << QVector<int>{100, -10, 5, 27};
        QTest::newRow("negative half rounds up: -17.5 -> -17") << QVector<int>{-35, 0, 2, -17};
        QTest::newRow("large: 58729.41 -> 58729, e = -1607 adds only one") << QVector<int>{1000000, 100, 17, 58730};
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
        QTest::newRow("empty file") << QByteArray("") << "" << QByteArray("\n");
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
        QVERIFY(window);
        QCOMPARE(window->saveDirectory(), saveDir.replace(QStringLiteral("%DIR%"), dir.path()));
        QCOMPARE(window->dataDirectory(), saveDir);
        QVERIFY(window->close() && !window->isVisible());
        QCOMPARE(readAll(beside == "/" ? configFile : saveDirFile), written.replace("%DIR%", path));
    }

    // Start-up in each build language: the catalogue beside the program switches the window, its loading
    // dialog, the toolkit's message boxes, About and the help to Russian; without it all stays English.
    // Every text is whole in its cell, label or view, measured with the widget's own font, and the table
    // reads at a contrast of 4.5 : 1 or more.
    void language_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("English build: a warning, the help button") << false;
        QTest::newRow("Russian build: a question answered by Escape, F1") << true;
    }

    void language()
    {
        QFETCH(bool, russian);
        QCOMPARE(QFile::exists(SCANLET_BIN_DIR "/scanlet_ru.qm"), QStringLiteral(SCANLET_LANGUAGE) == "ru");
        QTemporaryDir programDir, card;
        QVERIFY(!russian || QFile::copy(SCANLET_QM_DIR "/scanlet_ru.qm", programDir.filePath("scanlet_ru.qm")));
        QObject owner; // of the translators
        QCOMPARE(installCatalogues(programDir.path(), &owner), russian);
        // An instrument with records of the widest number of every field, each text the decoder gives, both units.
        for (int i = 0; i < 16; ++i) {
            AscanFields a;
            a.frequencyIndex = quint8(i), a.scaleMode = quint8(i % 3), a.probeType = a.unitSystem = a.cursorSwitch = quint8(i % 2);
            a.strobeSwitch = a.discreteness = quint8(i % 4 == 3), a.referenceSwitch = quint8(i == 5);
            a.thicknessSwitch = quint8(i == 6), a.probeAngle = 0xFFFF;
            a.delay = a.referenceLevel = a.correctionStandard = a.reportingLevel = a.examinationMonitor = -32768;
            a.correctionRoughness = 32767, a.thicknessMm = a.thicknessInch = 0xFFFFFF;
            a.time[0] = 23, a.time[1] = 59, a.date[0] = 31, a.date[1] = 12, a.yearSince1900 = 199;
            QVERIFY(writeAscan(card.filePath(QStringLiteral("%1.jpg").arg(i + 1)), a));
        }
        env.machine.plugInstruments({card.path() + '/'});
        ProgressWatcher loading(QStringLiteral("dlg_infoLoad"));
        auto window = shownWindow(russian);
        QVERIFY(window && window->windowTitle() == "Scanlet" && !window->windowIcon().isNull()); // title not translated
        Ui::CDataManagerTempl *ui = window->form();
        env.dialogs->openAnswer = card.filePath("1.jpg");
        QTest::mouseClick(ui->tbtn_open, Qt::LeftButton); // the second loading message
        QCOMPARE(loading.firstTexts.size(), 2);

        // The real message boxes (not the fake the window is given) show the text as plain text, so a file
        // name is never read as markup; the answer is the button pressed.
        const QString text = QStringLiteral("<b>Файл № 1 & 2.jpg</b>");
        QStringList seen, shown = loading.firstTexts + loading.labels;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            const QLabel *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            seen << box->windowTitle() << label->text() << QString::number(label->textFormat() == Qt::PlainText)
                 << QString::number(box->icon()) << QString::number(box->standardButtons());
            for (QAbstractButton *button : box->buttons())
                shown << button->text();
            QTest::keyClick(box, russian ? Qt::Key_Escape : Qt::Key_Return);
        });
        Dialogs real;
        QCOMPARE(russian ? real.question(window.get(), "Scanlet", text) : real.warning(window.get(), "Scanlet", text),
                 russian ? QMessageBox::No : QMessageBox::Ok);
        QCOMPARE(seen, QStringList({"Scanlet", text, "1", QString::number(russian ? QMessageBox::Question : QMessageBox::Warning),
                                    QString::number(russian ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok)}));

        QPointer<QTextBrowser> about = window->aboutWidget()->findChild<QTextBrowser *>();
        shown << ui->grpb_table->title() << window->aboutWidget()->windowTitle() << about->toPlainText()
              << ui->btn_shiftLeft->accessibleName() << ui->btn_shiftRight->accessibleName();
        for (QToolButton *button : ui->grpb_buttons->findChildren<QToolButton *>())
            shown << button->toolTip() << button->accessibleName();
        shown.removeDuplicates();
        QVERIFY(!shown.contains(QString()));
        const QRegularExpression cyrillic(QStringLiteral("[а-яё]"), QRegularExpression::CaseInsensitiveOption);
        QCOMPARE(shown.filter(cyrillic).size(), russian ? shown.size() : 0);

        QStringList cut;
        const auto fits = [&cut](const QString &text, const QRect &room, const QFontMetrics &metrics, int flags) {
            const QRect needed = metrics.boundingRect(room, flags, text);
            if (needed.width() > room.width() || needed.height() > room.height())
                cut << QStringLiteral("%1: needs %2x%3").arg(text).arg(needed.width()).arg(needed.height());
        };
        QTableWidget *table = ui->tableWidget;
        const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        for (int i = 0; i < ui->fileListWidget->count(); ++i) {
            ui->fileListWidget->setCurrentRow(i);
            for (int row = 0; table->item(row, 0); ++row)
                for (QTableWidgetItem *item : {table->item(row, 0), table->item(row, 1)})
                    fits(item->text(), table->visualItemRect(item).adjusted(margin, 0, -margin, 0), table->fontMetrics(),
                         table->wordWrap() ? Qt::TextWordWrap : 0);
        }
        // Relative luminance as WCAG defines it (of grey levels), of the darkest pixel and of the cell's background.
        const QImage cell = table->viewport()->grab(table->visualItemRect(table->item(0, 0))).toImage();
        const auto luminance = [](int v) {
            return (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4)) + 0.05;
        };
        int ink = 255;
        for (int i = 0; i < cell.height() * cell.width(); ++i)
            ink = std::min(ink, qGray(cell.pixel(i % cell.width(), i / cell.width())));
        QVERIFY2(luminance(qGray(cell.pixel(cell.width() - 2, 2))) / luminance(ink) >= 4.5, qPrintable(QString::number(ink)));

        const LoadingDialogWidgets loadingDialog = buildLoadingDialog();
        const SavingDialogWidgets saving = buildSavingDialog();
        const std::unique_ptr<QDialog> deleteLoading(loadingDialog.dialog), deleteSaving(saving.dialog);
        for (const QString &text : loading.firstTexts + loading.labels + QStringList(saving.label->text())) {
            const QLabel *label = text == saving.label->text() ? saving.label : loadingDialog.label;
            fits(text, label->contentsRect(), label->fontMetrics(),
                 int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0));
        }
        fits(loadingDialog.cancel->text(), loadingDialog.cancel->contentsRect(), loadingDialog.cancel->fontMetrics(), 0);
        // The whole About document in its view, which shows no scroll bars; the version put into the template.
        QVERIFY(about->toPlainText().contains(QRegularExpression(QStringLiteral("^Scanlet(,)? (Version|версия) 1\\.14$"),
                                                                 QRegularExpression::MultilineOption)));
        const QSizeF document(about->document()->idealWidth(), about->document()->size().height());
        if (document.width() > about->viewport()->width() || document.height() > about->viewport()->height())
            cut << QStringLiteral("About: %1x%2").arg(document.width()).arg(document.height());
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));

        // About opens with the keyboard on the link to the site of the language, and comes back after a close.
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
        QTest::mouseClick(ui->tbtn_info, Qt::LeftButton);
        QApplication::setActiveWindow(about->window()); // as the window manager does with a new window
        QTRY_VERIFY(about->hasFocus()); // Tab selects the link, Return opens it
        QTest::keyClick(about, Qt::Key_Tab);
        QTest::keyClick(about, Qt::Key_Return);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(openedUrls, QList<QUrl>{QUrl(QString::fromLatin1(russian ? RussianSiteAddress : InternationalSiteAddress))});
        about->window()->close();
        QTest::mouseClick(ui->tbtn_info, Qt::LeftButton);
        QVERIFY(!about.isNull() && about->isVisible()); // closing only hid it

        // The help page of the language, maximized on its own, asked for by F1 (through the strip) or the button.
        QTest::keyClick(window.get(), Qt::Key_A);
        QVERIFY(helpViewers().isEmpty());
        russian ? QTest::keyClick(ui->fileListWidget, Qt::Key_F1) : QTest::mouseClick(ui->tbtn_help, Qt::LeftButton);
        QCOMPARE(helpViewers().size(), 1);
        QPointer<CHelpViewer> viewer = helpViewers().first();
        QVERIFY(!viewer->parentWidget() && viewer->isVisible() && (viewer->windowState() & Qt::WindowMaximized));
        QCOMPARE(viewer->browser()->source().fileName(), russian ? "helpScanlet_rus.htm" : "helpScanlet_eng.htm");
        QVERIFY(!viewer->browser()->toPlainText().trimmed().isEmpty()); // the page beside the program was read
        viewer->close();
        QTRY_VERIFY(viewer.isNull()); // deletes itself
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
