// The picture frame, the thumbnail strip and the record display, on the real widgets.
#include <QtTest>

#include <QAction>
#include <QBuffer>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <memory>

#include <sys/stat.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reporthtml.h"
#include "ui_cdatamanager.h"
#include "views/crespictureframe.h"
#include "views/thumbnailiconengine.h"

namespace {

const QRgb White = 0xFFFFFFFF;
const QRgb Quadrants[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

// Four colours split at a quarter of each side, so a crop or a shift cannot pass for a stretch.
QImage quadrantPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, Quadrants[(y >= size.height() / 4) * 2 + (x >= size.width() / 4)]);
    return image;
}

bool allWhite(const QImage &image)
{
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(White);
    return image.convertToFormat(QImage::Format_RGB32) == white;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") ? bytes : QByteArray();
}

// The peak of this process's resident memory, in MB.
qint64 peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    return QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+)")).match(status.readAll()).captured(1).toLongLong() / 1024;
}

// Every setting on, raw values chosen so each shown text is easy to check by hand.
AscanFields fullRecord()
{
    AscanFields a;
    a.title = "Weld 7", a.configurationName = "Cfg A", a.probeType = 1, a.frequencyIndex = 3, a.probeAngle = 450;
    a.delay = -1, a.thicknessMm = 12345, a.referenceSwitch = 0, a.referenceLevel = 400, a.correctionStandard = 20;
    a.correctionRoughness = 15, a.strobeSwitch = 0, a.reportingLevel = 40, a.examinationMonitor = -3, a.scaleMode = 1;
    a.discreteness = 0, a.cursorSwitch = 1, a.time[0] = 7, a.time[1] = 5, a.date[0] = 3, a.date[1] = 12, a.yearSince1900 = 124;
    return a;
}

// The table of fullRecord() with the reference level and the strobe on or off, by hand.
QStringList rowsOf(bool reference, bool strobe)
{
    return QStringList{"Probe type | double", "Operating frequency, MHz | 1.25", "Probe angle,° | 45.0", "Delay, µs | -0.1",
                       "Thickness, mm | 123.45"}
        + (reference ? QStringList{"Reference level, dB | 40.0", "Correction by standart, dB | 2.0",
                                   "Correction for roughness, dB | 1.5", "Acceptance level, dB | 40.5"}
                     : QStringList{"Reference level, dB | off"})
        + (strobe ? QStringList{"Multilevel Strobe | on", "Reporting level, dB | 40", "Examination monitor, dB | -3"}
                  : QStringList{"Multilevel Strobe | off"})
        + QStringList{"Scale | µs", "Readings discreteness | 0.1", "Cursor | off", "Date | 03:12:2024", "Time | 07:05"};
}

// A record made from fullRecord() by `change`, and its table: all 17 rows with row 4 as `thickness`.
template <typename Change>
void tableRow(const char *name, Change change, QStringList rows, const char *thickness = "Thickness, mm | 123.45")
{
    AscanFields ascan = fullRecord();
    change(ascan);
    rows[4] = QString::fromUtf8(thickness);
    QTest::newRow(name) << buildAscan(ascan) << rows;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    FakeEnvironment env;
    QTemporaryDir dir;
    QStringList scans; // 30 A-scan files for the strip
    int files = 0;

    QString fileWith(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(++files));
        return writeBytes(path, bytes) ? path : QString();
    }

    // Items and paths added the way the loading adds them; the last one is selected if asked.
    static void addToStrip(CDataManager &window, const QStringList &paths, bool select = false)
    {
        CListWidgetHeir *strip = window.form()->fileListWidget;
        for (const QString &path : paths) {
            strip->addItem(new QListWidgetItem(thumbnailIcon(path), QFileInfo(path).baseName()));
            strip->addFilePath(path);
        }
        strip->doItemsLayout();
        if (select)
            strip->setCurrentRow(strip->count() - 1, QItemSelectionModel::ClearAndSelect);
    }

    static std::unique_ptr<CDataManager> windowWith(const QStringList &paths)
    {
        auto window = std::make_unique<CDataManager>();
        window->show();
        addToStrip(*window, paths);
        return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        for (int i = 1; i <= 30; ++i) {
            AscanFields ascan;
            ascan.picture = instrumentScreen(i, QString());
            scans << fileWith(buildAscan(ascan));
        }
    }

    // The frame as made, with a picture stretched over it, and white again after a clear or a failed load.
    void frame_data()
    {
        QTest::addColumn<QImage>("picture"); // null: none loaded
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<QByteArray>("then"); // "clear", or a file that cannot be shown ("missing": none)
        QImage grey(100, 50, QImage::Format_Grayscale8);
        grey.fill(80);
        const QImage quadrants = quadrantPicture(QSize(240, 320));
        QTest::newRow("as made: white 240 x 320") << QImage() << QSize(360, 480) << QByteArray();
        QTest::newRow("240x320 in 360x480: 1.5 on both axes") << quadrants << QSize(360, 480) << QByteArray();
        QTest::newRow("320x240 stretched on each axis") << quadrantPicture(QSize(320, 240)) << QSize(360, 480) << QByteArray();
        QTest::newRow("frame smaller than the picture") << quadrants << QSize(200, 100) << QByteArray();
        QTest::newRow("grey picture cleared") << grey << QSize(360, 480) << QByteArray("clear");
        QTest::newRow("missing file") << grey << QSize(360, 480) << QByteArray("missing");
    }

    void frame()
    {
        QFETCH(QImage, picture);
        QFETCH(QSize, frameSize);
        QFETCH(QByteArray, then);
        CResPictureFrame frame;
        frame.resize(frameSize);
        if (!picture.isNull()) {
            QVERIFY(frame.loadImage(fileWith(encodeJpeg(picture, 100))));
            QCOMPARE(frame.currentImage().format(), picture.format());
        }
        if (then == "clear")
            frame.clearImage();
        else if (!then.isNull())
            QVERIFY(!frame.loadImage(then == "missing" ? dir.filePath(QStringLiteral("missing.jpg")) : fileWith(then)));
        QCOMPARE(frame.currentImage().size(), picture.isNull() ? QSize(240, 320) : picture.size()); // kept
        const QImage shown = frame.grab().toImage();
        QCOMPARE(shown.size(), frameSize);
        if (picture.isNull() || !then.isNull()) {
            QCOMPARE(frame.currentImage().format(), QImage::Format_RGB32);
            QVERIFY(allWhite(frame.currentImage()) && allWhite(shown)); // and no border drawn
            return;
        }
        // The stretched split; JPEG blends colours within a few pixels of it.
        const int w = frameSize.width(), h = frameSize.height(), bx = w / 4, by = h / 4, d = 8;
        const struct { QPoint at; int quadrant; } samples[] = {
            {{0, 0}, 0}, {{w - 1, 0}, 1}, {{0, h - 1}, 2}, {{w - 1, h - 1}, 3},
            {{bx - d, by - d}, 0}, {{bx + d, by - d}, 1}, {{bx - d, by + d}, 2}, {{bx + d, by + d}, 3}};
        for (const auto &sample : samples) {
            const QRgb a = shown.pixel(sample.at), b = Quadrants[sample.quadrant];
            QVERIFY(qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 40);
        }
    }

    // Pictures are decoded as JPEG only and within bounds, alike in the frame, the thumbnails and
    // the report: each either shows or is refused (white frame, no thumbnail, a blank printed box).
    void hostilePictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QString self = dir.filePath("self.jpg"), fifo = dir.filePath("fifo");
        QVERIFY(QFileInfo::exists(fifo) || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QByteArray ascan = buildAscan(AscanFields());
        QTest::newRow("SVG in disguise drawing itself") << svgInDisguise(QFile::encodeName(self)) << false;
        QTest::newRow("SVG in disguise drawing a named pipe") << svgInDisguise(QFile::encodeName(fifo)) << false;
        QTest::newRow("SVG in disguise, 100000 pixels square") << svgInDisguise("none.png", 100000) << false;
        QTest::newRow("PNG") << png(quadrantPicture(QSize(240, 320))) << false;
        QTest::newRow("JPEG claiming 23000 x 23000") << jpegClaiming(23000, 23000) << false;
        QTest::newRow("JPEG claiming 4001 x 4000") << jpegClaiming(4001, 4000) << false;
        QTest::newRow("JPEG claiming 4000 x 4000") << jpegClaiming(4000, 4000) << true;
        QTest::newRow("progressive, 100 scans") << progressiveJpeg(QSize(64, 64), 100) << true;
        QTest::newRow("progressive, 101 scans") << progressiveJpeg(QSize(64, 64), 101) << false;
        QTest::newRow("progressive 1600 x 1601, 100 scans") << progressiveJpeg(QSize(1600, 1601), 100) << false;
        QTest::newRow("progressive 4000 x 4000, 1000 scans") << progressiveJpeg(QSize(4000, 4000), 1000) << false;
        QTest::newRow("A-scan cut before its picture") << ascan.left(800) << false;
        QTest::newRow("A-scan cut inside its picture") << ascan.left(3000) << true;
        QTest::newRow("A-scan") << ascan << true;
    }
    void hostilePictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        const QString path = dir.filePath("self.jpg");
        QVERIFY(writeBytes(path, bytes));
        const qint64 peak = peakMegabytes();

        CResPictureFrame frame;
        QCOMPARE(frame.loadImage(path), shown);
        QCOMPARE(allWhite(frame.currentImage()), !shown);
        QCOMPARE(thumbnailIcon(path).pixmap(QSize(80, 60)).isNull(), !shown);
        const QImage printed = reportPicture(path);
        QCOMPARE(allWhite(printed), !shown);
        QVERIFY(shown || printed.size() == QSize(240, 320));
        // A refused picture costs nothing; the largest one shown, a 64 MB image at a time.
        QVERIFY2(peakMegabytes() - peak < 200, qPrintable(QString::number(peakMegabytes() - peak)));
    }

    // A thumbnail draws what QIcon(path) draws (fitted, centred, styled when selected) and reads
    // nothing before it is painted.
    void thumbnail_data()
    {
        QTest::addColumn<int>("modeValue");
        QTest::newRow("normal") << int(QIcon::Normal);
        QTest::newRow("selected") << int(QIcon::Selected);
        QTest::newRow("disabled") << int(QIcon::Disabled);
    }

    void thumbnail()
    {
        QFETCH(int, modeValue);
        const auto mode = QIcon::Mode(modeValue);
        const auto painted = [mode](const QIcon &icon) {
            QImage image(80, 60, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            icon.paint(&painter, image.rect(), Qt::AlignCenter, mode);
            return image;
        };
        auto *engine = new ThumbnailIconEngine(scans.at(4));
        const QIcon lazy(engine);
        QVERIFY(!engine->hasReadFile());
        const QImage ours = painted(lazy);
        const QImage theirs = painted(QIcon(scans.at(4)));
        QVERIFY(engine->hasReadFile());
        double total = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
                QCOMPARE(qAlpha(a), qAlpha(b)); // same place and size
                total += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            }
        }
        QVERIFY2(total / (80 * 60 * 3) < 6, qPrintable(QString::number(total / (80 * 60 * 3))));
    }

    // 300 thumbnails scrolled through page by page with room for 20 in the cache: it stays within
    // that, every visible thumbnail is drawn, and a page painted again decodes nothing.
    void thumbnailCache()
    {
        const int limit = 20 * 45 * 60 * 4, former = ThumbnailIconEngine::setCacheLimit(limit);
        const auto restore = qScopeGuard([former] { ThumbnailIconEngine::setCacheLimit(former); });
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            paths += scans;
        auto window = windowWith(paths);
        QVERIFY(window);
        CListWidgetHeir *strip = window->form()->fileListWidget;
        QScrollBar *bar = strip->horizontalScrollBar();
        int drawn = 0;
        for (int value = 0; value <= bar->maximum() + bar->pageStep() - 1; value += bar->pageStep()) {
            bar->setValue(value);
            const QImage shot = strip->viewport()->grab().toImage();
            const int decodes = ThumbnailIconEngine::decodeCount();
            strip->viewport()->repaint();
            QCOMPARE(ThumbnailIconEngine::decodeCount(), decodes);
            QVERIFY(ThumbnailIconEngine::cacheUsed() <= limit);
            for (int row = 0; row < strip->count(); ++row) {
                const QRect rect = strip->visualItemRect(strip->item(row));
                if (!strip->viewport()->rect().contains(rect.center()))
                    continue;
                int dark = 0; // the picture's screen fills most of the icon's 45 x 60
                for (int y = rect.top(); y < rect.top() + 60; ++y)
                    for (int x = rect.left(); x <= rect.right(); ++x)
                        dark += qGray(shot.pixel(x, y)) < 60;
                QVERIFY2(dark > 45 * 60 * 3 / 4, qPrintable(QString::number(row)));
                ++drawn;
            }
        }
        QVERIFY(drawn >= 300);
    }

    // Mouse paths over a strip of three with item 0 selected. Places: "0".."2" the item centres,
    // "empty" and "empty2" two points right of the last item.
    void mouseRules_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("control");
        QTest::addColumn<QStringList>("path"); // press, moves, release
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("signalCount");
        const int left = Qt::LeftButton;
        QTest::newRow("left click on an item") << left << false << QStringList{"1", "1"} << QList<int>{1} << 1;
        QTest::newRow("right click on an item") << int(Qt::RightButton) << false << QStringList{"2", "2"} << QList<int>{0} << 0;
        QTest::newRow("control click adds") << left << true << QStringList{"2", "2"} << QList<int>{0, 2} << 1;
        QTest::newRow("control click removes the last") << left << true << QStringList{"0", "0"} << QList<int>{} << 1;
        QTest::newRow("left click on empty space") << left << false << QStringList{"empty", "empty"} << QList<int>{0} << 0;
        QTest::newRow("drag from empty space across items") << left << false << QStringList{"empty", "2", "1", "empty2"}
                                                            << QList<int>{0} << 0;
        QTest::newRow("drag from an item to an item") << left << false << QStringList{"1", "2", "2"} << QList<int>{1, 2} << 2;
        QTest::newRow("drag from an item out to empty space") << left << false << QStringList{"0", "1", "2", "empty", "empty"}
                                                              << QList<int>{0, 1, 2} << 2;
    }

    void mouseRules()
    {
        QFETCH(int, button);
        QFETCH(bool, control);
        QFETCH(QStringList, path);
        QFETCH(QList<int>, selected);
        QFETCH(int, signalCount);
        auto window = windowWith(scans.mid(0, 3));
        QVERIFY(window);
        CListWidgetHeir *strip = window->form()->fileListWidget;
        QCOMPARE(strip->paths(), scans.mid(0, 3));
        QWidget *viewport = strip->viewport();
        const QRect last = strip->visualItemRect(strip->item(2));
        QVERIFY(last.right() + 100 < viewport->width()); // room for the empty places
        const auto at = [&](const QString &place) {
            if (place.startsWith(QLatin1String("empty")))
                return QPoint(last.right() + (place == "empty" ? 40 : 80), last.center().y());
            return strip->visualItemRect(strip->item(place.toInt())).center();
        };
        strip->setCurrentRow(0);
        QSignalSpy spy(strip, SIGNAL(filesSelectionChanged(QString)));
        const auto mouse = Qt::MouseButton(button);
        const auto modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        QTest::mousePress(viewport, mouse, modifiers, at(path.first()));
        for (const QString &place : path.mid(1, path.size() - 2)) {
            QMouseEvent move(QEvent::MouseMove, at(place), viewport->mapToGlobal(at(place)), Qt::NoButton, mouse, modifiers);
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, mouse, modifiers, at(path.last()));
        // The context menu that follows acts on the selection, which it leaves as it is.
        QStringList menu;
        QTimer::singleShot(0, [&] {
            QWidget *popup = QApplication::activePopupWidget();
            for (QAction *action : popup ? popup->actions() : QList<QAction *>())
                menu << action->text() + (action->isEnabled() ? "" : " (off)");
            if (popup)
                popup->close();
        });
        QContextMenuEvent context(QContextMenuEvent::Mouse, at(path.last()), viewport->mapToGlobal(at(path.last())));
        QApplication::sendEvent(viewport, &context);
        const QString off = selected.isEmpty() ? " (off)" : "";
        QCOMPARE(menu, (QStringList{"Copy Settings" + off, "Export Settings…" + off}));
        QList<int> rows;
        QStringList files{"kept"}, expected{"kept"}; // handed out in selected-items order, after what was there
        for (QListWidgetItem *item : strip->selectedItems()) {
            rows << strip->row(item);
            expected << scans.at(strip->row(item));
        }
        QCOMPARE(strip->selectedFiles(files), rows.size());
        QCOMPARE(files, expected);
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, selected);
        QCOMPARE(spy.count(), signalCount);
        if (signalCount) // the first selected file, or nothing
            QCOMPARE(spy.last().at(0).toString(), expected.value(1));
    }

    void shiftButtons()
    {
        auto window = windowWith(scans);
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        CListWidgetHeir *strip = ui->fileListWidget;
        QScrollBar *bar = strip->horizontalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        const auto enabled = [&](bool left, bool right) {
            return ui->btn_shiftLeft->isEnabled() == left && ui->btn_shiftRight->isEnabled() == right;
        };
        QVERIFY(enabled(false, true));
        const int view = strip->viewport()->width();
        const auto rect = [&](int row) { return strip->visualItemRect(strip->item(row)); };
        // Whole as the strip judges it: Qt's EnsureVisible leaves an item's last column one pixel
        // past the viewport's edge, so that column may lie there.
        const auto whole = [&](int row) { return rect(row).left() >= 0 && rect(row).right() <= view; };
        const int itemWidth = rect(0).width();
        // An edge item cut in half: one press completes it, the next brings the following item.
        const auto twoPresses = [&](QPushButton *button, int row, int step) {
            QVERIFY(!whole(row));
            for (int press = 0; press < 2; ++press, row += step) {
                QTest::mouseClick(button, Qt::LeftButton);
                QVERIFY(whole(row) && !whole(row + step));
            }
        };
        bar->setValue(rect(view / itemWidth + 3).left() + itemWidth / 2 - view);
        twoPresses(ui->btn_shiftRight, view / itemWidth + 3, 1);
        QCOMPARE(strip->scrollValue, bar->value());
        QVERIFY(enabled(true, true));
        // One item per press up to the last one, where the strip reaches its maximum.
        for (int presses = 0; ui->btn_shiftRight->isEnabled() && presses < 30; ++presses) {
            QTest::mouseClick(ui->btn_shiftRight, Qt::LeftButton);
            const QListWidgetItem *edge = strip->itemAt(view - 1, 0);
            QVERIFY(edge && (strip->row(edge) == 29 || !whole(strip->row(edge) + 1)));
        }
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(whole(29) && enabled(true, false));
        bar->setValue(rect(5).left() + bar->value() + itemWidth / 2);
        twoPresses(ui->btn_shiftLeft, 5, -1);
        for (int presses = 0; ui->btn_shiftLeft->isEnabled() && presses < 30; ++presses)
            QTest::mouseClick(ui->btn_shiftLeft, Qt::LeftButton);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(strip->scrollValue, 0);
        QVERIFY(enabled(false, true));
        // resetView empties the strip and the view; then three items fit without scrolling.
        bar->setValue(100);
        ui->grpb_listWidget->setTitle(QStringLiteral("/some/folder"));
        window->resetView();
        QCOMPARE(ui->grpb_listWidget->title(), QString());
        QVERIFY(strip->count() == 0 && strip->paths().isEmpty() && strip->scrollValue == 0 && enabled(false, false));
        addToStrip(*window, scans.mid(0, 3));
        QCoreApplication::processEvents();
        QCOMPARE(bar->maximum(), 0);
        QVERIFY(enabled(false, false));
    }

    // Written from the top without gaps, straight over a full 17-row table as the report does;
    // a point and no grouping whatever the locale says.
    void table_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        using A = AscanFields &;
        const QStringList full = rowsOf(true, true);
        tableRow("reference on, strobe on: 17 rows", [](A) {}, full);
        tableRow("reference off, strobe off: 12 rows", [](A a) { a.referenceSwitch = 1, a.strobeSwitch = 1; }, rowsOf(false, false));
        tableRow("reference off, strobe on: 14 rows", [](A a) { a.referenceSwitch = 1; }, rowsOf(false, true));
        tableRow("reference on, strobe off: 15 rows", [](A a) { a.strobeSwitch = 1; }, rowsOf(true, false));
        tableRow("switch bytes 2: reference off, strobe on", [](A a) { a.referenceSwitch = 2, a.strobeSwitch = 2; }, rowsOf(false, true));
        tableRow("thickness zero", [](A a) { a.thicknessMm = 0; }, full, "Thickness, mm | 0.00");
        tableRow("thickness largest", [](A a) { a.thicknessMm = 0xFFFFFF; }, full, "Thickness, mm | 167772.15");
        tableRow("unit system 2 is millimetres", [](A a) { a.unitSystem = 2; }, full);
        tableRow("inches", [](A a) { a.unitSystem = 1; }, full, "Thickness, inch | 0.39");
        tableRow("inches off", [](A a) { a.unitSystem = 1, a.thicknessSwitch = 1; }, full, "Thickness, inch | off");
        tableRow("millimetres off", [](A a) { a.thicknessSwitch = 1; }, full, "Thickness, mm | off");
        tableRow("thickness switch byte 2 is on", [](A a) { a.thicknessSwitch = 2; }, full);
        // -30.0 + 18.3 - (-11.7) in single precision is -9.5e-7, which rounds to zero.
        tableRow("acceptance level zero has no sign", [](A a) { a.correctionStandard = -300, a.referenceLevel = 183, a.correctionRoughness = -117; },
                 QStringList(full.mid(0, 5)) << "Reference level, dB | 18.3" << "Correction by standart, dB | -30.0"
                     << "Correction for roughness, dB | -11.7" << "Acceptance level, dB | 0.0" << full.mid(9));
    }

    void table()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        struct Restore { ~Restore() { QLocale::setDefault(QLocale::c()); } } restore;
        auto window = windowWith({});
        QVERIFY(window);
        addToStrip(*window, {fileWith(buildAscan(fullRecord()))}, true);
        const QTableWidget *table = window->form()->tableWidget;
        QVERIFY(table->item(16, 1));
        QVERIFY(window->readRecord(fileWith(file)) != 0);
        window->fillSettingsTable();
        QCOMPARE(table->rowCount(), 17);
        const auto text = [&](int row, int column) { return table->item(row, column) ? table->item(row, column)->text() : "-"; };
        for (int row = 0; row < 17; ++row) {
            QCOMPARE(text(row, 0) + " | " + text(row, 1), rows.value(row, QStringLiteral("- | -")));
            for (int column = 0; column < 2 && row < rows.size(); ++column) {
                QCOMPARE(table->item(row, column)->flags(), Qt::ItemFlags(Qt::ItemIsSelectable));
                QCOMPARE(table->item(row, column)->textAlignment(), column == 0 ? 0x81 : 0x84);
            }
        }
    }

    // Titles, table, output buttons and picture as records are selected in turn.
    void displayStates()
    {
        auto window = windowWith({});
        QVERIFY(window);
        Ui::CDataManagerTempl *ui = window->form();
        const auto show = [&](const AscanFields &ascan, const QByteArray &trailer = QByteArray()) {
            addToStrip(*window, {fileWith(buildAscan(ascan) + trailer)}, true);
        };
        const auto state = [&] {
            return QStringList{ui->grpb_ascan->title(), ui->grpb_table->title(), ui->tableWidget->item(0, 0) ? "table" : "",
                               ui->tbtn_save->isEnabled() && ui->tbtn_print->isEnabled() ? "output" : ""};
        };
        QCOMPARE(state(), (QStringList{"", "Instrument Settings", "", ""}));
        AscanFields ascan = fullRecord();
        ascan.picture = quadrantPicture(QSize(240, 320));
        show(ascan);
        QCOMPARE(state(), (QStringList{"Weld 7", "Configuration Cfg A", "table", "output"}));
        QCOMPARE(ui->frameGraph->currentImage(), QImage(ui->fileListWidget->paths().last()));
        // A record whose settings cannot be read (segment too short) shows its own title.
        ascan.title = "Short", ascan.segmentLength = 752;
        show(ascan);
        QCOMPARE(state(), (QStringList{"Short", "Instrument Settings", "", "output"}));
        // An empty configuration name keeps the blank of "Configuration ".
        ascan.title = "Unnamed", ascan.segmentLength = 755, ascan.configurationName = QByteArray();
        show(ascan);
        QCOMPARE(state(), (QStringList{"Unnamed", "Configuration ", "table", "output"}));
        // A picture that cannot be decoded leaves the frame white but the record shown.
        ascan.title = "No picture", ascan.appendPicture = false;
        show(ascan, QByteArray(16, '\0')); // enough bytes behind the segment for the record
        QCOMPARE(state(), (QStringList{"No picture", "Configuration ", "table", "output"}));
        QVERIFY(allWhite(ui->frameGraph->currentImage()));
        ui->fileListWidget->clearSelection(); // nothing selected: blank
        QCOMPARE(state(), (QStringList{"", "Instrument Settings", "", ""}));
        QCOMPARE(ui->frameGraph->currentImage().size(), QSize(240, 320));
        QVERIFY(allWhite(ui->frameGraph->grab().toImage()));
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
