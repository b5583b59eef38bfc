// The picture frame, the thumbnail strip and the record display, on the real widgets of one window.
#include <QtTest>

#include <QAction>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reporthtml.h"
#include "ui_cdatamanager.h"
#include "views/crespictureframe.h"
#include "views/thumbnailiconengine.h"

namespace {

// How far a picture lies from another of its size, or from white: the mean difference of a colour channel, 0 to 255.
double distance(const QImage &a, const QImage &b = QImage())
{
    const bool white = b.isNull(), comparable = white || a.size() == b.size();
    double total = 0;
    for (int i = 0; comparable && i < a.width() * a.height(); ++i) {
        const QPoint at(i % a.width(), i / a.width());
        const QColor p = a.pixelColor(at), q = white ? QColor(Qt::white) : b.pixelColor(at);
        total += qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue());
    }
    return comparable ? total / (3 * a.width() * a.height()) : 255;
}

// Every setting on, raw values chosen so each shown text is easy to check by hand.
AscanFields fullRecord()
{
    AscanFields a;
    a.title = "Weld 7", a.configurationName = "Cfg A", a.probeType = 1, a.frequencyIndex = 3, a.probeAngle = 450;
    a.delay = -1, a.thicknessMm = 12345, a.referenceSwitch = 0, a.referenceLevel = 400, a.correctionStandard = 20;
    a.correctionRoughness = 15, a.strobeSwitch = 0, a.reportingLevel = 40, a.examinationMonitor = -3, a.scaleMode = 1;
    a.cursorSwitch = 1, a.time[0] = 7, a.time[1] = 5, a.date[0] = 3, a.date[1] = 12, a.yearSince1900 = 124;
    return a;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    FakeEnvironment env;
    CDataManager window;
    Ui::CDataManagerTempl *ui = window.form();
    CListWidgetHeir *strip = ui->fileListWidget;
    QTemporaryDir dir;
    QStringList scans; // 30 A-scans of distinct screens
    int files = 0;

    QString fileWith(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(++files));
        return writeBytes(path, bytes) ? path : QString();
    }

    // The view emptied, then items and paths added the way the loading adds them, the last one selected if asked.
    void showStrip(const QStringList &paths, bool select = false)
    {
        window.resetView();
        for (const QString &path : paths) {
            strip->addItem(new QListWidgetItem(thumbnailIcon(path), QFileInfo(path).baseName()));
            strip->addFilePath(path);
        }
        strip->doItemsLayout();
        if (select)
            strip->setCurrentRow(strip->count() - 1, QItemSelectionModel::ClearAndSelect);
    }

private slots:
    void initTestCase()
    {
        for (int i = 1; i <= 30; ++i) {
            AscanFields ascan;
            ascan.picture = instrumentScreen(i, QString());
            scans << fileWith(buildAscan(ascan));
        }
        window.show();
        QVERIFY(dir.isValid() && QTest::qWaitForWindowExposed(&window));
    }

    // Decoded as JPEG only and within bounds, alike in the frame (stretched over it, or white over
    // what it showed before), the thumbnails and the report (or a blank 240 x 320 box).
    void pictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QString path = dir.filePath("self.jpg");
        AscanFields wide;
        wide.picture = instrumentScreen(3, "wide").scaled(320, 240);
        const QByteArray ascan = buildAscan(wide);
        QTest::newRow("SVG in disguise drawing itself") << svgInDisguise(QFile::encodeName(path)) << false;
        QTest::newRow("JPEG claiming 23000 x 23000") << jpegClaiming(23000, 23000) << false;
        QTest::newRow("progressive 4000 x 4000, 1000 scans") << progressiveJpeg(QSize(4000, 4000), 1000) << false;
        QTest::newRow("A-scan cut before its picture") << ascan.left(800) << false;
        QTest::newRow("A-scan cut inside its picture") << ascan.left(3000) << true;
        QTest::newRow("A-scan 320 x 240") << ascan << true;
    }
    void pictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        const QString path = dir.filePath("self.jpg");
        CResPictureFrame frame;
        frame.resize(360, 480);
        QVERIFY(writeBytes(path, bytes) && distance(frame.grab().toImage()) == 0 && frame.loadImage(scans.first()));
        QCOMPARE(frame.loadImage(path), shown);
        const QImage inFrame = frame.grab().toImage();
        QVERIFY(shown ? distance(inFrame, QImage(path).scaled(360, 480)) < 6 : distance(inFrame) == 0);
        QCOMPARE(thumbnailIcon(path).pixmap(QSize(80, 60)).isNull(), !shown);
        const QImage printed = reportPicture(path);
        QVERIFY(shown ? distance(printed) > 0 : distance(printed) == 0 && printed.size() == QSize(240, 320));
        frame.clearImage();
        QVERIFY(distance(frame.grab().toImage()) == 0);
    }

    // A thumbnail draws what QIcon(path) draws (fitted, centred, styled by mode) and reads nothing
    // before it is painted.
    void thumbnail()
    {
        auto *engine = new ThumbnailIconEngine(scans.at(4));
        const QIcon lazy(engine), plain(scans.at(4));
        const auto painted = [](const QIcon &icon, QIcon::Mode mode) {
            QImage image(80, 60, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            icon.paint(std::make_unique<QPainter>(&image).get(), image.rect(), Qt::AlignCenter, mode);
            return image;
        };
        QVERIFY(!engine->hasReadFile());
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Disabled}) {
            const QImage ours = painted(lazy, mode), theirs = painted(plain, mode);
            QCOMPARE(ours.convertToFormat(QImage::Format_Alpha8), theirs.convertToFormat(QImage::Format_Alpha8));
            QVERIFY2(distance(ours, theirs) < 6, qPrintable(QString::number(distance(ours, theirs))));
        }
    }

    // 300 thumbnails scrolled through page by page with room for 20 in the cache: it stays within
    // that, every visible thumbnail is drawn, and a page painted again decodes nothing.
    void thumbnailCache()
    {
        const int limit = 20 * 45 * 60 * 4, former = ThumbnailIconEngine::setCacheLimit(limit);
        const auto restore = qScopeGuard([former] { ThumbnailIconEngine::setCacheLimit(former); });
        QStringList paths;
        while (paths.size() < 300)
            paths += scans;
        showStrip(paths);
        QScrollBar *bar = strip->horizontalScrollBar();
        int drawn = 0;
        for (int value = 0; value < bar->maximum() + bar->pageStep(); value += bar->pageStep()) {
            bar->setValue(value);
            const QImage shot = strip->viewport()->grab().toImage();
            const int decodes = ThumbnailIconEngine::decodeCount();
            strip->viewport()->repaint();
            QVERIFY(ThumbnailIconEngine::decodeCount() == decodes && ThumbnailIconEngine::cacheUsed() <= limit);
            for (int row = 0; row < strip->count(); ++row) {
                const QRect rect = strip->visualItemRect(strip->item(row));
                if (!strip->viewport()->rect().contains(rect.center()))
                    continue;
                ++drawn; // a dark screen fills most of the item
                QVERIFY2(distance(shot.copy(rect.x(), rect.y(), rect.width(), 60)) > 80, qPrintable(QString::number(row)));
            }
        }
        QVERIFY(drawn >= 300);
    }

    // Press, moves and release over a strip of three with item 0 selected: at item 0, 1, 2, or at
    // 3 and 4, two points past the last item.
    void mouseRules_data()
    {
        QTest::addColumn<int>("button"); // and modifiers
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("emitted");
        const int left = Qt::LeftButton, control = Qt::ControlModifier | left;
        QTest::newRow("right click on an item") << int(Qt::RightButton) << QList<int>{2, 2} << QList<int>{0} << 0;
        QTest::newRow("control click adds") << control << QList<int>{2, 2} << QList<int>{0, 2} << 1;
        QTest::newRow("control click removes the last") << control << QList<int>{0, 0} << QList<int>{} << 1;
        QTest::newRow("drag from empty space across items") << left << QList<int>{3, 2, 1, 4} << QList<int>{0} << 0;
        QTest::newRow("drag from an item out to empty") << left << QList<int>{0, 1, 2, 3, 3} << QList<int>{0, 1, 2} << 2;
    }
    void mouseRules()
    {
        QFETCH(int, button);
        QFETCH(QList<int>, path);
        QFETCH(QList<int>, selected);
        QFETCH(int, emitted);
        showStrip(scans.mid(0, 3));
        strip->setCurrentRow(0);
        QWidget *viewport = strip->viewport();
        const QRect last = strip->visualItemRect(strip->item(2));
        QVERIFY(last.right() + 100 < viewport->width());
        const auto at = [&](int place) {
            return place < 3 ? strip->visualItemRect(strip->item(place)).center()
                             : QPoint(last.right() + 40 * (place - 2), last.center().y());
        };
        QSignalSpy spy(strip, SIGNAL(filesSelectionChanged(QString)));
        const auto mouse = Qt::MouseButton(button & ~Qt::KeyboardModifierMask);
        const auto modifiers = Qt::KeyboardModifiers(button & Qt::KeyboardModifierMask);
        QTest::mousePress(viewport, mouse, modifiers, at(path.first()));
        for (const int place : path.mid(1, path.size() - 2)) {
            QMouseEvent move(QEvent::MouseMove, at(place), viewport->mapToGlobal(at(place)), Qt::NoButton, mouse,
                             modifiers);
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, mouse, modifiers, at(path.last()));
        QList<int> rows;
        QStringList files{"kept"}, expected{"kept"}; // handed out in selected-items order, after what was there
        for (QListWidgetItem *item : strip->selectedItems())
            rows << strip->row(item), expected << scans.at(strip->row(item));
        QVERIFY(strip->selectedFiles(files) == rows.size() && files == expected);
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, selected);
        QVERIFY(spy.count() == emitted && (!emitted || spy.last().at(0).toString() == expected.value(1)));
        const int actions = strip->copySettingsAction()->isEnabled() + strip->exportSettingsAction()->isEnabled();
        QCOMPARE(actions, rows.isEmpty() ? 0 : 2); // the context menu's
    }

    // A press completes an edge item cut in half and the next brings the following one; each button
    // is off at its end, both are when nothing scrolls.
    void shiftButtons()
    {
        showStrip(scans);
        QScrollBar *bar = strip->horizontalScrollBar();
        const auto enabled = [&] { return qMakePair(ui->btn_shiftLeft->isEnabled(), ui->btn_shiftRight->isEnabled()); };
        QTRY_VERIFY(bar->maximum() > 0);
        QCOMPARE(enabled(), qMakePair(false, true));
        const int view = strip->viewport()->width(), itemWidth = strip->visualItemRect(strip->item(0)).width();
        const auto whole = [&](int row) { // EnsureVisible may leave an item's last column one pixel past the edge
            const QRect rect = strip->visualItemRect(strip->item(row));
            return rect.left() >= 0 && rect.right() <= view;
        };
        for (const int step : {1, -1}) {
            QPushButton *button = step > 0 ? ui->btn_shiftRight : ui->btn_shiftLeft;
            int row = step > 0 ? view / itemWidth + 3 : 5; // brought half into view at the button's side
            const int left = strip->visualItemRect(strip->item(row)).left();
            bar->setValue(bar->value() + left + itemWidth / 2 - (step > 0 ? view : 0));
            for (int press = 0; press < 2; ++press, row += step) {
                QVERIFY(!whole(row));
                QTest::mouseClick(button, Qt::LeftButton);
                QVERIFY(whole(row) && !whole(row + step));
            }
            for (int press = 0; button->isEnabled() && press < 30; ++press)
                QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(strip->scrollValue == bar->value() && bar->value() == (step > 0 ? bar->maximum() : 0));
            QCOMPARE(enabled(), qMakePair(step > 0, step < 0));
        }
        ui->grpb_listWidget->setTitle(QStringLiteral("/some/folder"));
        showStrip(scans.mid(0, 3)); // after a reset of the view
        QVERIFY(ui->grpb_listWidget->title().isEmpty() && strip->paths() == scans.mid(0, 3));
        QTRY_COMPARE(enabled(), qMakePair(false, false));
    }

    // Written from the top without gaps, straight over a full table; a point and no grouping whatever
    // the locale says.
    void table_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("rows");
        static const QString full = "Probe type|double;Operating frequency, MHz|1.25;Probe angle,°|45.0;Delay, µs|-0.1;"
            "Thickness, mm|123.45;Reference level, dB|40.0;Correction by standart, dB|2.0;Correction for roughness, dB|1.5;"
            "Acceptance level, dB|40.5;Multilevel Strobe|on;Reporting level, dB|40;Examination monitor, dB|-3;Scale|µs;"
            "Readings discreteness|0.1;Cursor|off;Date|03:12:2024;Time|07:05";
        const auto row = [](const char *name, void (*change)(AscanFields &), const char *from = "", const char *to = "")
        {
            AscanFields ascan = fullRecord();
            change(ascan);
            QTest::newRow(name) << buildAscan(ascan) << QString(full).replace(QRegularExpression(from), to);
        };
        using A = AscanFields &;
        row("every row", [](A) {});
        row("reference off, strobe off", [](A a) { a.referenceSwitch = 1, a.strobeSwitch = 1; },
            "dB\\|40.0;.*\\|on;.*-3", "dB|off;Multilevel Strobe|off");
        row("switch bytes 2: reference off, strobe on", [](A a) { a.referenceSwitch = 2, a.strobeSwitch = 2; },
            "dB\\|40.0;.*40.5", "dB|off");
        row("thickness zero", [](A a) { a.thicknessMm = 0; }, "123.45", "0.00");
        row("thickness largest", [](A a) { a.thicknessMm = 0xFFFFFF; }, "123.45", "167772.15");
        row("unit and switch bytes 2: millimetres", [](A a) { a.unitSystem = 2, a.thicknessSwitch = 2; });
        row("inches", [](A a) { a.unitSystem = 1; }, "mm\\|123.45", "inch|0.39");
        row("inches off", [](A a) { a.unitSystem = 1, a.thicknessSwitch = 1; }, "mm\\|123.45", "inch|off");
        row("millimetres off", [](A a) { a.thicknessSwitch = 1; }, "123.45", "off");
        // -30.0 + 18.3 - (-11.7) in single precision is -9.5e-7, which rounds to zero.
        row("acceptance level zero has no sign",
            [](A a) { a.correctionStandard = -300, a.referenceLevel = 183, a.correctionRoughness = -117; }, "40.0;.*40.5",
            "18.3;Correction by standart, dB|-30.0;Correction for roughness, dB|-11.7;Acceptance level, dB|0.0");
    }
    void table()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, rows);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        showStrip({fileWith(buildAscan(fullRecord()))}, true);
        QVERIFY(ui->tableWidget->item(16, 1) && window.readRecord(fileWith(file)) != 0);
        window.fillSettingsTable();
        QStringList shown;
        const QBrush text = ui->tableWidget->palette().brush(QPalette::Active, QPalette::Text);
        for (int row = 0; row < ui->tableWidget->rowCount(); ++row) {
            const QTableWidgetItem *caption = ui->tableWidget->item(row, 0), *value = ui->tableWidget->item(row, 1);
            shown << (caption ? caption->text() : "-") + "|" + (value ? value->text() : "-");
            for (const QTableWidgetItem *item : {caption, value}) // read-only, yet not greyed out
                QVERIFY(!item || (item->flags() == Qt::ItemIsSelectable && item->foreground() == text));
        }
        QCOMPARE(shown.join(';'), rows + QString(";-|-").repeated(17 - rows.count(';') - 1));
    }

    // Titles, table, output buttons and picture as records are selected in turn, then none.
    void displayStates()
    {
        // The titles, whether the table is filled, and how many output buttons are on.
        const auto show = [&](const AscanFields *ascan, const QByteArray &trailer = QByteArray()) {
            if (ascan)
                showStrip({fileWith(buildAscan(*ascan) + trailer)}, true);
            return QStringList{ui->grpb_ascan->title(), ui->grpb_table->title(), ui->tableWidget->item(0, 0) ? "table" : "",
                               QString::number(ui->tbtn_save->isEnabled() + ui->tbtn_print->isEnabled())};
        };
        AscanFields ascan = fullRecord();
        QCOMPARE(show(&ascan), (QStringList{"Weld 7", "Configuration Cfg A", "table", "2"}));
        QCOMPARE(ui->frameGraph->currentImage(), QImage(strip->paths().last()));
        ascan.title = "Short", ascan.segmentLength = 752; // settings cut short: its own title still
        QCOMPARE(show(&ascan), (QStringList{"Short", "Instrument Settings", "", "2"}));
        ascan.title = "Unnamed", ascan.segmentLength = 755, ascan.configurationName = QByteArray();
        QCOMPARE(show(&ascan), (QStringList{"Unnamed", "Configuration ", "table", "2"}));
        ascan.title = "No picture", ascan.appendPicture = false; // a white frame, the record shown
        QCOMPARE(show(&ascan, QByteArray(16, '\0')), (QStringList{"No picture", "Configuration ", "table", "2"}));
        QVERIFY(distance(ui->frameGraph->currentImage()) == 0);
        strip->clearSelection();
        QCOMPARE(show(nullptr), (QStringList{"", "Instrument Settings", "", "0"}));
        QCOMPARE(ui->frameGraph->currentImage().size(), QSize(240, 320));
        QCOMPARE(distance(ui->frameGraph->grab().toImage()), 0.0);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
