// The picture frame, the thumbnail strip and the record display, on the real widgets.
#include <QtTest>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <memory>

#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "ui_cdatamanager.h"
#include "views/crespictureframe.h"
#include "views/imagelimits.h"
#include "views/thumbnailiconengine.h"

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

bool allPixels(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

// A small real JPEG whose frame header claims width x height pixels.
QByteArray jpegClaiming(int width, int height)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes = encodeJpeg(small);
    const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return QByteArray();
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

QImage painted(const QIcon &icon, QSize size, QIcon::Mode mode = QIcon::Normal)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(0, 0), size), Qt::AlignCenter, mode);
    return image;
}

QString tableRow(const QTableWidget *table, int row)
{
    const QTableWidgetItem *caption = table->item(row, 0);
    const QTableWidgetItem *value = table->item(row, 1);
    return (caption ? caption->text() : QStringLiteral("<none>")) + QStringLiteral(" | ")
        + (value ? value->text() : QStringLiteral("<none>"));
}

// A record with every setting on, raw values chosen so each shown text is easy to check by hand.
AscanFields fullRecord()
{
    AscanFields ascan;
    ascan.title = "Weld 7";
    ascan.configurationName = "Cfg A";
    ascan.probeType = 1;           // double
    ascan.frequencyIndex = 3;      // 1.25
    ascan.probeAngle = 450;        // 45.0
    ascan.delay = -1;              // -0.1
    ascan.thicknessMm = 12345;     // 123.45
    ascan.referenceSwitch = 0;     // on
    ascan.referenceLevel = 400;    // 40.0
    ascan.correctionStandard = 20; // 2.0
    ascan.correctionRoughness = 15; // 1.5, so acceptance 40.5
    ascan.strobeSwitch = 0;        // on
    ascan.reportingLevel = 40;
    ascan.examinationMonitor = -3;
    ascan.scaleMode = 1;           // µs
    ascan.discreteness = 0;        // 0.1
    ascan.cursorSwitch = 1;        // off
    ascan.time[0] = 7, ascan.time[1] = 5, ascan.date[0] = 3, ascan.date[1] = 12, ascan.yearSince1900 = 124;
    return ascan;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { setInstrumentPlatformFactory(nullptr); }

    void frameStartsWhite();
    void frameStretchesPicture_data();
    void frameStretchesPicture();
    void frameClearKeepsSizeAsRgb32();
    void frameFailedLoadIsWhite_data();
    void frameFailedLoadIsWhite();
    void decompressionBombRefused();
    void pictureSizeLimit_data();
    void pictureSizeLimit();

    void selection();
    void mouseRules_data();
    void mouseRules();
    void shiftButtons();
    void shiftButtonsWhenEverythingFits();

    void tableRows_data();
    void tableRows();
    void refillWithShorterRecord();
    void thickness_data();
    void thickness();
    void numberFormats_data();
    void numberFormats();
    void displayStates();
    void resetViewBlanks();

    void thumbnailReadsFileOnlyWhenPainted();
    void thumbnailDrawsLikeQIcon_data();
    void thumbnailDrawsLikeQIcon();

private:
    std::unique_ptr<CDataManager> newWindow();
    QStringList fillStrip(CDataManager &window, int count);
    QString writeRecord(const QString &name, const AscanFields &ascan);
    void selectRecord(CDataManager &window, const AscanFields &ascan, const QByteArray &trailer = QByteArray());

    QTemporaryDir dir;
    QStringList scans; // 30 A-scan files of the strip tests
};

void TestViews::initTestCase()
{
    QVERIFY(dir.isValid());
    setInstrumentPlatformFactory([] { return std::unique_ptr<InstrumentPlatform>(new NoDisks); });
    for (int i = 1; i <= 30; ++i) {
        AscanFields ascan;
        ascan.title = "Scan " + QByteArray::number(i);
        ascan.picture = instrumentScreen(i, QString());
        scans << writeRecord(QString::number(i) + QStringLiteral(".jpg"), ascan);
    }
}

std::unique_ptr<CDataManager> TestViews::newWindow()
{
    auto window = std::make_unique<CDataManager>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

// Items and paths added the way the loading adds them: same order, an icon made from the file.
QStringList TestViews::fillStrip(CDataManager &window, int count)
{
    CListWidgetHeir *strip = window.form()->fileListWidget;
    const QStringList paths = scans.mid(0, count);
    for (const QString &path : paths) {
        strip->addItem(new QListWidgetItem(thumbnailIcon(path), QFileInfo(path).baseName()));
        strip->addFilePath(path);
    }
    strip->doItemsLayout();
    return paths;
}

QString TestViews::writeRecord(const QString &name, const AscanFields &ascan)
{
    const QString path = dir.filePath(name);
    return writeAscan(path, ascan) ? path : QString();
}

// Shows one file through the strip, as a click on its thumbnail would.
void TestViews::selectRecord(CDataManager &window, const AscanFields &ascan, const QByteArray &trailer)
{
    static int serial = 1000;
    const QString path = dir.filePath(QString::number(++serial) + QStringLiteral(".jpg"));
    QVERIFY(writeBytes(path, buildAscan(ascan) + trailer));
    CListWidgetHeir *strip = window.form()->fileListWidget;
    strip->addItem(new QListWidgetItem(thumbnailIcon(path), QString::fromUtf8(ascan.title)));
    strip->addFilePath(path);
    strip->setCurrentRow(strip->count() - 1, QItemSelectionModel::ClearAndSelect);
}

void TestViews::frameStartsWhite()
{
    CResPictureFrame frame;
    frame.resize(360, 480);
    QCOMPARE(frame.currentImage().size(), QSize(240, 320));
    QCOMPARE(frame.currentImage().format(), QImage::Format_RGB32);
    QVERIFY(allPixels(frame.currentImage(), White));
    const QImage shown = frame.grab().toImage();
    QCOMPARE(shown.size(), QSize(360, 480));
    QVERIFY(allPixels(shown, White)); // no frame border is drawn over the picture
}

void TestViews::frameStretchesPicture_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("frameSize");
    QTest::newRow("240x320 in 360x480: 1.5 on both axes") << QSize(240, 320) << QSize(360, 480);
    QTest::newRow("320x240 stretched on each axis") << QSize(320, 240) << QSize(360, 480);
    QTest::newRow("small picture enlarged") << QSize(24, 32) << QSize(360, 480);
    QTest::newRow("frame resized smaller") << QSize(240, 320) << QSize(200, 100);
}

void TestViews::frameStretchesPicture()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, frameSize);
    const QString path = dir.filePath(QStringLiteral("quadrants.png"));
    QVERIFY(quadrantPicture(picture).save(path, "PNG"));
    CResPictureFrame frame;
    frame.resize(frameSize);
    QVERIFY(frame.loadImage(path));
    QCOMPARE(frame.currentImage().size(), picture);
    const QImage shown = frame.grab().toImage();
    QCOMPARE(shown.size(), frameSize);
    const int w = frameSize.width(), h = frameSize.height();
    const int bx = w / 4, by = h / 4; // where the quarter split lands when stretched
    const struct { QPoint at; int quadrant; } samples[] = {
        {{0, 0}, 0}, {{w - 1, 0}, 1}, {{0, h - 1}, 2}, {{w - 1, h - 1}, 3},
        {{bx - 2, by - 2}, 0}, {{bx + 2, by - 2}, 1}, {{bx - 2, by + 2}, 2}, {{bx + 2, by + 2}, 3}};
    for (const auto &sample : samples)
        QCOMPARE(shown.pixel(sample.at), Quadrants[sample.quadrant]);
}

void TestViews::frameClearKeepsSizeAsRgb32()
{
    QImage grey(100, 50, QImage::Format_Grayscale8);
    grey.fill(80);
    const QString path = dir.filePath(QStringLiteral("grey.jpg"));
    QVERIFY(writeBytes(path, encodeJpeg(grey)));
    CResPictureFrame frame;
    frame.resize(360, 480);
    QVERIFY(frame.loadImage(path));
    QCOMPARE(frame.currentImage().format(), QImage::Format_Grayscale8);
    frame.clearImage();
    QCOMPARE(frame.currentImage().size(), QSize(100, 50));
    QCOMPARE(frame.currentImage().format(), QImage::Format_RGB32);
    QVERIFY(allPixels(frame.currentImage(), White));
    QVERIFY(allPixels(frame.grab().toImage(), White));
}

void TestViews::frameFailedLoadIsWhite_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QImage picture(8, 8, QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("text") << true << QByteArray("not a picture\n");
    QTest::newRow("PNG cut after its header") << true << png.left(33);
}

void TestViews::frameFailedLoadIsWhite()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    const QString picture = dir.filePath(QStringLiteral("before.png"));
    QVERIFY(quadrantPicture(QSize(100, 50)).save(picture, "PNG"));
    const QString path = dir.filePath(QStringLiteral("broken.jpg"));
    QFile::remove(path);
    if (exists)
        QVERIFY(writeBytes(path, content));
    CResPictureFrame frame;
    frame.resize(360, 480);
    QVERIFY(frame.loadImage(picture));
    QVERIFY(!frame.loadImage(path));
    QCOMPARE(frame.currentImage().size(), QSize(100, 50)); // the size of the picture held before
    QVERIFY(allPixels(frame.currentImage(), White));
    QVERIFY(allPixels(frame.grab().toImage(), White));
}

void TestViews::decompressionBombRefused()
{
    const QByteArray bomb = jpegClaiming(20000, 20000);
    QVERIFY(!bomb.isEmpty());
    QVERIFY(bomb.size() < 1000);
    const QString path = dir.filePath(QStringLiteral("bomb.jpg"));
    QVERIFY(writeBytes(path, bomb));
    QCOMPARE(QImageReader(path).size(), QSize(20000, 20000)); // the header really claims it

    CResPictureFrame frame;
    frame.resize(360, 480);
    QVERIFY(!frame.loadImage(path));
    QCOMPARE(frame.currentImage().size(), QSize(240, 320));
    QVERIFY(allPixels(frame.grab().toImage(), White));

    auto *engine = new ThumbnailIconEngine(path);
    const QIcon icon(engine);
    QVERIFY(allPixels(painted(icon, QSize(80, 60)), 0)); // nothing drawn
    QVERIFY(engine->hasReadFile());
}

void TestViews::pictureSizeLimit_data()
{
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("instrument screen") << QSize(240, 320) << true;
    QTest::newRow("64 million pixels") << QSize(8000, 8000) << true;
    QTest::newRow("one long row") << QSize(60000, 1) << true;
    QTest::newRow("81 million pixels") << QSize(9000, 9000) << false;
    QTest::newRow("400 million pixels") << QSize(20000, 20000) << false;
    QTest::newRow("largest Qt reads") << QSize(65500, 65500) << false;
}

void TestViews::pictureSizeLimit()
{
    QFETCH(QSize, claimed);
    QFETCH(bool, accepted);
    QByteArray bytes = jpegClaiming(claimed.width(), claimed.height());
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer);
    QCOMPARE(reader.size(), claimed);
    QCOMPARE(hasAcceptableSize(reader), accepted);
}

void TestViews::selection()
{
    auto window = newWindow();
    QVERIFY(window);
    CListWidgetHeir *strip = window->form()->fileListWidget;
    const QStringList paths = fillStrip(*window, 4);
    QCOMPARE(strip->paths(), paths);
    QSignalSpy spy(strip, SIGNAL(filesSelectionChanged(QString)));
    QWidget *viewport = strip->viewport();
    const auto centre = [&](int row) { return strip->visualItemRect(strip->item(row)).center(); };
    QStringList files{QStringLiteral("kept")};
    QCOMPARE(strip->selectedFiles(files), 0);
    QCOMPARE(files, QStringList{QStringLiteral("kept")});

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, centre(3));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toString(), paths.at(3));

    // Two selected: the file shown and the files handed out follow the selected-items order.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, centre(1));
    QCOMPARE(spy.count(), 2);
    QStringList expected{QStringLiteral("kept")};
    for (QListWidgetItem *item : strip->selectedItems())
        expected << paths.at(strip->row(item));
    QCOMPARE(spy.last().at(0).toString(), expected.at(1));
    QCOMPARE(strip->selectedFiles(files), 2); // appended after what was there
    QCOMPARE(files, expected);

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, centre(1));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, centre(3));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.last().at(0).toString(), QString()); // nothing selected
}

void TestViews::mouseRules_data()
{
    // Places: "0".."2" the item centres, "empty" and "empty2" two points right of the last item.
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("release");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("signals_");
    const QList<int> first{0};
    QTest::newRow("left click on an item") << int(Qt::LeftButton) << "1" << QStringList() << "1" << QList<int>{1} << 1;
    QTest::newRow("right press on an item") << int(Qt::RightButton) << "2" << QStringList() << "2" << first << 0;
    QTest::newRow("middle press on an item") << int(Qt::MiddleButton) << "2" << QStringList() << "2" << first << 0;
    QTest::newRow("left click on empty space") << int(Qt::LeftButton) << "empty" << QStringList() << "empty" << first << 0;
    QTest::newRow("press on empty space, release elsewhere on it") << int(Qt::LeftButton) << "empty" << QStringList() << "empty2" << first << 0;
    QTest::newRow("drag from empty space across items") << int(Qt::LeftButton) << "empty" << QStringList{"2", "1"} << "empty2" << first << 0;
    QTest::newRow("drag from an item to an item") << int(Qt::LeftButton) << "1" << QStringList{"2"} << "2" << QList<int>{1, 2} << 2;
    QTest::newRow("drag from an item out to empty space") << int(Qt::LeftButton) << "0" << QStringList{"1", "2", "empty"} << "empty" << QList<int>{0, 1, 2} << 2;
}

void TestViews::mouseRules()
{
    QFETCH(int, button);
    QFETCH(QString, press);
    QFETCH(QStringList, moves);
    QFETCH(QString, release);
    QFETCH(QList<int>, selected);
    QFETCH(int, signals_);
    auto window = newWindow();
    QVERIFY(window);
    CListWidgetHeir *strip = window->form()->fileListWidget;
    fillStrip(*window, 3);
    QWidget *viewport = strip->viewport();
    const QRect last = strip->visualItemRect(strip->item(2));
    QVERIFY(last.right() + 100 < viewport->width()); // room for the empty places
    const auto at = [&](const QString &place) {
        if (place == QLatin1String("empty"))
            return QPoint(last.right() + 40, last.center().y());
        if (place == QLatin1String("empty2"))
            return QPoint(last.right() + 80, last.center().y() + 5);
        return strip->visualItemRect(strip->item(place.toInt())).center();
    };
    strip->setCurrentRow(0);
    QSignalSpy spy(strip, SIGNAL(filesSelectionChanged(QString)));

    const auto mouseButton = Qt::MouseButton(button);
    QTest::mousePress(viewport, mouseButton, Qt::NoModifier, at(press));
    for (const QString &place : moves) {
        QMouseEvent move(QEvent::MouseMove, at(place), viewport->mapToGlobal(at(place)), Qt::NoButton,
                         mouseButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, mouseButton, Qt::NoModifier, at(release));

    QList<int> rows;
    for (QListWidgetItem *item : strip->selectedItems())
        rows << strip->row(item);
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows, selected);
    QCOMPARE(spy.count(), signals_);
    if (button != Qt::LeftButton)
        QCOMPARE(strip->currentRow(), 0);
}

void TestViews::shiftButtons()
{
    auto window = newWindow();
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    CListWidgetHeir *strip = ui->fileListWidget;
    QScrollBar *bar = strip->horizontalScrollBar();
    fillStrip(*window, 30);
    QTRY_VERIFY(bar->maximum() > 0);
    QVERIFY(!ui->btn_shiftLeft->isEnabled());
    QVERIFY(ui->btn_shiftRight->isEnabled());

    const int view = strip->viewport()->width();
    const auto rect = [&](int row) { return strip->visualItemRect(strip->item(row)); };
    // Whole as the strip judges it: Qt's EnsureVisible leaves an item's last column one pixel
    // past the viewport's edge, so that column may lie there.
    const auto whole = [&](int row) { return rect(row).left() >= 0 && rect(row).right() <= view; };
    const int itemWidth = rect(0).width();
    QVERIFY(itemWidth > 4);

    // An item beyond the first view cut in half by the right edge: one press completes it,
    // the next brings the following item.
    const int k = view / itemWidth + 3;
    bar->setValue(rect(k).left() + itemWidth / 2 - view);
    QVERIFY(!whole(k) && rect(k).left() < view);
    QTest::mouseClick(ui->btn_shiftRight, Qt::LeftButton);
    QVERIFY(whole(k));
    QVERIFY(!whole(k + 1));
    QTest::mouseClick(ui->btn_shiftRight, Qt::LeftButton);
    QVERIFY(whole(k + 1));
    QVERIFY(!whole(k + 2));
    QCOMPARE(strip->scrollValue, bar->value());
    QVERIFY(ui->btn_shiftLeft->isEnabled());

    // One item per press up to the last one, where the strip reaches its maximum.
    int presses = 0;
    while (ui->btn_shiftRight->isEnabled() && presses++ < 30) {
        QTest::mouseClick(ui->btn_shiftRight, Qt::LeftButton);
        const QListWidgetItem *edge = strip->itemAt(view - 1, 0);
        QVERIFY(edge);
        QVERIFY(strip->row(edge) == 29 || !whole(strip->row(edge) + 1));
    }
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(whole(29));
    QVERIFY(!ui->btn_shiftRight->isEnabled());
    QVERIFY(ui->btn_shiftLeft->isEnabled());

    // Item 5 cut by the left edge: completed, then item 4 comes into view.
    bar->setValue(rect(5).left() + bar->value() + itemWidth / 2);
    QVERIFY(!whole(5) && rect(5).right() >= 0);
    QTest::mouseClick(ui->btn_shiftLeft, Qt::LeftButton);
    QVERIFY(whole(5));
    QVERIFY(!whole(4));
    QTest::mouseClick(ui->btn_shiftLeft, Qt::LeftButton);
    QVERIFY(whole(4));
    QVERIFY(!whole(3));

    presses = 0;
    while (ui->btn_shiftLeft->isEnabled() && presses++ < 30)
        QTest::mouseClick(ui->btn_shiftLeft, Qt::LeftButton);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(strip->scrollValue, 0);
    QVERIFY(!ui->btn_shiftLeft->isEnabled());
    QVERIFY(ui->btn_shiftRight->isEnabled());
}

void TestViews::shiftButtonsWhenEverythingFits()
{
    auto window = newWindow();
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    fillStrip(*window, 30);
    QTRY_VERIFY(ui->fileListWidget->horizontalScrollBar()->maximum() > 0);
    ui->fileListWidget->horizontalScrollBar()->setValue(100);
    QVERIFY(ui->btn_shiftLeft->isEnabled() && ui->btn_shiftRight->isEnabled());
    window->resetView();
    QCOMPARE(ui->fileListWidget->scrollValue, 0);
    QVERIFY(!ui->btn_shiftLeft->isEnabled() && !ui->btn_shiftRight->isEnabled());
    fillStrip(*window, 3);
    QCoreApplication::processEvents();
    QCOMPARE(ui->fileListWidget->horizontalScrollBar()->maximum(), 0);
    QVERIFY(!ui->btn_shiftLeft->isEnabled() && !ui->btn_shiftRight->isEnabled());
    QTest::mouseClick(ui->btn_shiftRight, Qt::LeftButton); // disabled: nothing moves
    QCOMPARE(ui->fileListWidget->horizontalScrollBar()->value(), 0);
}

void TestViews::tableRows_data()
{
    QTest::addColumn<int>("referenceSwitch");
    QTest::addColumn<int>("strobeSwitch");
    QTest::addColumn<QStringList>("rows");
    const QStringList head{"Probe type | double", "Operating frequency, MHz | 1.25", "Probe angle,° | 45.0",
                           "Delay, µs | -0.1", "Thickness, mm | 123.45"};
    const QStringList referenceOn{"Reference level, dB | 40.0", "Correction by standart, dB | 2.0",
                                  "Correction for roughness, dB | 1.5", "Acceptance level, dB | 40.5"};
    const QStringList referenceOff{"Reference level, dB | off"};
    const QStringList strobeOn{"Multilevel Strobe | on", "Reporting level, dB | 40", "Examination monitor, dB | -3"};
    const QStringList strobeOff{"Multilevel Strobe | off"};
    const QStringList tail{"Scale | µs", "Readings discreteness | 0.1", "Cursor | off", "Date | 03:12:2024", "Time | 07:05"};
    QTest::newRow("reference off, strobe off: 12 rows") << 1 << 1 << head + referenceOff + strobeOff + tail;
    QTest::newRow("reference off, strobe on: 14 rows") << 1 << 0 << head + referenceOff + strobeOn + tail;
    QTest::newRow("reference on, strobe off: 15 rows") << 0 << 1 << head + referenceOn + strobeOff + tail;
    QTest::newRow("reference on, strobe on: 17 rows") << 0 << 0 << head + referenceOn + strobeOn + tail;
    QTest::newRow("switch bytes 2: reference off, strobe on") << 2 << 2 << head + referenceOff + strobeOn + tail;
}

void TestViews::tableRows()
{
    QFETCH(int, referenceSwitch);
    QFETCH(int, strobeSwitch);
    QFETCH(QStringList, rows);
    auto window = newWindow();
    QVERIFY(window);
    AscanFields ascan = fullRecord();
    ascan.referenceSwitch = quint8(referenceSwitch);
    ascan.strobeSwitch = quint8(strobeSwitch);
    selectRecord(*window, ascan);
    const QTableWidget *table = window->form()->tableWidget;
    QCOMPARE(table->rowCount(), 17);
    for (int row = 0; row < 17; ++row) {
        if (row >= rows.size()) {
            QVERIFY2(!table->item(row, 0) && !table->item(row, 1), qPrintable(tableRow(table, row)));
            continue;
        }
        QCOMPARE(tableRow(table, row), rows.at(row));
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            QCOMPARE(item->flags(), Qt::ItemFlags(Qt::ItemIsSelectable));
            QCOMPARE(item->textAlignment(), column == 0 ? 0x81 : 0x84);
        }
    }
}

void TestViews::refillWithShorterRecord()
{
    auto window = newWindow();
    QVERIFY(window);
    const QTableWidget *table = window->form()->tableWidget;
    selectRecord(*window, fullRecord());
    QCOMPARE(table->item(16, 0)->text(), QStringLiteral("Time"));

    AscanFields shorter = fullRecord();
    shorter.referenceSwitch = 1;
    shorter.strobeSwitch = 1;
    const QString path = writeRecord(QStringLiteral("shorter.jpg"), shorter);
    QVERIFY(window->readRecord(path) != 0);
    window->fillSettingsTable(); // straight over the 17 rows, as the report does
    QCOMPARE(table->item(11, 0)->text(), QStringLiteral("Time"));
    for (int row = 12; row < 17; ++row)
        QVERIFY2(!table->item(row, 0) && !table->item(row, 1), qPrintable(tableRow(table, row)));
}

void TestViews::thickness_data()
{
    QTest::addColumn<int>("unitSystem");
    QTest::addColumn<int>("thicknessSwitch");
    QTest::addColumn<int>("mm");
    QTest::addColumn<int>("inch");
    QTest::addColumn<QString>("row");
    QTest::newRow("millimetres") << 0 << 0 << 12345 << 39 << "Thickness, mm | 123.45";
    QTest::newRow("zero") << 0 << 0 << 0 << 39 << "Thickness, mm | 0.00";
    QTest::newRow("unit system 2 is millimetres") << 2 << 0 << 500 << 39 << "Thickness, mm | 5.00";
    QTest::newRow("largest value") << 0 << 0 << 0xFFFFFF << 39 << "Thickness, mm | 167772.15";
    QTest::newRow("inches") << 1 << 0 << 12345 << 39 << "Thickness, inch | 0.39";
    QTest::newRow("inches off") << 1 << 1 << 12345 << 39 << "Thickness, inch | off";
    QTest::newRow("millimetres off") << 0 << 1 << 12345 << 39 << "Thickness, mm | off";
    QTest::newRow("switch byte 2 is on") << 0 << 2 << 100 << 39 << "Thickness, mm | 1.00";
}

void TestViews::thickness()
{
    QFETCH(int, unitSystem);
    QFETCH(int, thicknessSwitch);
    QFETCH(int, mm);
    QFETCH(int, inch);
    QFETCH(QString, row);
    auto window = newWindow();
    QVERIFY(window);
    AscanFields ascan = fullRecord();
    ascan.unitSystem = quint8(unitSystem);
    ascan.thicknessSwitch = quint8(thicknessSwitch);
    ascan.thicknessMm = quint32(mm);
    ascan.thicknessInch = quint32(inch);
    selectRecord(*window, ascan);
    QCOMPARE(tableRow(window->form()->tableWidget, 4), row);
}

void TestViews::numberFormats_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("reporting");
    QTest::addColumn<int>("monitor");
    QTest::addColumn<QStringList>("texts"); // angle, delay, reference, acceptance, reporting, monitor
    QTest::newRow("typical") << 450 << 7 << 400 << 40 << -3 << QStringList{"45.0", "0.7", "40.0", "40.0", "40", "-3"};
    QTest::newRow("negative tenths") << 0 << -1 << -123 << -6 << -12 << QStringList{"0.0", "-0.1", "-12.3", "-12.3", "-6", "-12"};
    QTest::newRow("extremes") << 65535 << -32768 << 32767 << 32767 << -32768
                              << QStringList{"6553.5", "-3276.8", "3276.7", "3276.7", "32767", "-32768"};
}

void TestViews::numberFormats()
{
    QFETCH(int, angle);
    QFETCH(int, delay);
    QFETCH(int, reference);
    QFETCH(int, reporting);
    QFETCH(int, monitor);
    QFETCH(QStringList, texts);
    // A point and no grouping whatever the locale says.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    struct Restore { ~Restore() { QLocale::setDefault(QLocale::c()); } } restore;
    auto window = newWindow();
    QVERIFY(window);
    AscanFields ascan = fullRecord();
    ascan.probeAngle = quint16(angle);
    ascan.delay = qint16(delay);
    ascan.referenceLevel = qint16(reference);
    ascan.correctionStandard = 0;
    ascan.correctionRoughness = 0;
    ascan.reportingLevel = qint16(reporting);
    ascan.examinationMonitor = qint16(monitor);
    selectRecord(*window, ascan);
    const QTableWidget *table = window->form()->tableWidget;
    const int rows[] = {2, 3, 5, 8, 10, 11};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(table->item(rows[i], 1)->text(), texts.at(i));
}

void TestViews::displayStates()
{
    auto window = newWindow();
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    const auto tableEmpty = [&] {
        for (int row = 0; row < 17; ++row)
            if (ui->tableWidget->item(row, 0) || ui->tableWidget->item(row, 1))
                return false;
        return true;
    };
    const auto outputEnabled = [&] { return ui->tbtn_save->isEnabled() && ui->tbtn_print->isEnabled(); };
    QCOMPARE(ui->grpb_ascan->title(), QString());
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
    QVERIFY(!ui->tbtn_save->isEnabled() && !ui->tbtn_print->isEnabled());

    // A record read: its title, its configuration, its picture.
    AscanFields shown = fullRecord();
    shown.picture = quadrantPicture(QSize(240, 320));
    selectRecord(*window, shown);
    QCOMPARE(ui->grpb_ascan->title(), QStringLiteral("Weld 7"));
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Configuration Cfg A"));
    QVERIFY(outputEnabled());
    QVERIFY(!tableEmpty());
    QCOMPARE(ui->frameGraph->currentImage(), QImage(ui->fileListWidget->paths().last()));

    // A record that cannot be read (segment too short) keeps the previous picture title.
    AscanFields unreadable = fullRecord();
    unreadable.title = "Short";
    unreadable.segmentLength = 752;
    selectRecord(*window, unreadable);
    QCOMPARE(ui->grpb_ascan->title(), QStringLiteral("Weld 7"));
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
    QVERIFY(tableEmpty());
    QVERIFY(outputEnabled());

    // An empty configuration name keeps the blank of "Configuration ".
    AscanFields unnamed = fullRecord();
    unnamed.title = "Unnamed";
    unnamed.configurationName = QByteArray();
    selectRecord(*window, unnamed);
    QCOMPARE(ui->grpb_ascan->title(), QStringLiteral("Unnamed"));
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Configuration "));

    // A picture that cannot be decoded leaves the frame white but the record shown.
    AscanFields noPicture = fullRecord();
    noPicture.title = "No picture";
    noPicture.appendPicture = false;
    selectRecord(*window, noPicture, QByteArray(16, '\0')); // enough bytes behind the segment for the record
    QCOMPARE(ui->grpb_ascan->title(), QStringLiteral("No picture"));
    QVERIFY(!tableEmpty());
    QVERIFY(allPixels(ui->frameGraph->currentImage(), White));

    // Nothing selected: blank.
    ui->fileListWidget->setCurrentRow(0);
    ui->fileListWidget->clearSelection();
    QCOMPARE(ui->grpb_ascan->title(), QString());
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
    QVERIFY(tableEmpty());
    QVERIFY(!ui->tbtn_save->isEnabled() && !ui->tbtn_print->isEnabled());
    QCOMPARE(ui->frameGraph->currentImage().size(), QSize(240, 320));
    QVERIFY(allPixels(ui->frameGraph->grab().toImage(), White));
}

void TestViews::resetViewBlanks()
{
    auto window = newWindow();
    QVERIFY(window);
    Ui::CDataManagerTempl *ui = window->form();
    fillStrip(*window, 30);
    QTRY_VERIFY(ui->fileListWidget->horizontalScrollBar()->maximum() > 0);
    selectRecord(*window, fullRecord());
    ui->grpb_listWidget->setTitle(QStringLiteral("/some/folder"));
    QVERIFY(ui->tbtn_save->isEnabled());
    ui->fileListWidget->clearSelection(); // else emptying the strip blanks the view and the buttons
    window->enableOutputButtons(true);

    window->resetView();
    QCOMPARE(ui->grpb_ascan->title(), QString());
    QCOMPARE(ui->grpb_table->title(), QStringLiteral("Instrument Settings"));
    QCOMPARE(ui->grpb_listWidget->title(), QString());
    QVERIFY(!ui->tableWidget->item(0, 0));
    QCOMPARE(ui->fileListWidget->count(), 0);
    QVERIFY(ui->fileListWidget->paths().isEmpty());
    QVERIFY(allPixels(ui->frameGraph->currentImage(), White));
    QVERIFY(!ui->btn_shiftLeft->isEnabled() && !ui->btn_shiftRight->isEnabled());
    QVERIFY(ui->tbtn_save->isEnabled() && ui->tbtn_print->isEnabled()); // left as they were
}

void TestViews::thumbnailReadsFileOnlyWhenPainted()
{
    // The file is written after the icon is made: a lazy icon still shows it.
    const QString path = dir.filePath(QStringLiteral("later.png"));
    QFile::remove(path);
    auto *engine = new ThumbnailIconEngine(path);
    const QIcon icon(engine);
    QVERIFY(!engine->hasReadFile());
    QVERIFY(quadrantPicture(QSize(320, 240)).save(path, "PNG"));
    QVERIFY(!engine->hasReadFile());
    const QImage image = painted(icon, QSize(80, 60));
    QVERIFY(engine->hasReadFile());
    QCOMPARE(image.pixel(79, 59), Quadrants[3]);
}

void TestViews::thumbnailDrawsLikeQIcon_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("iconSize");
    QTest::addColumn<int>("mode");
    const auto save = [this](const QString &name, const QImage &image) {
        const QString path = dir.filePath(name);
        return image.save(path) ? path : QString();
    };
    const int normal = QIcon::Normal;
    QTest::newRow("A-scan, strip size") << scans.at(0) << QSize(80, 60) << normal;
    QTest::newRow("A-scan, selected") << scans.at(0) << QSize(80, 60) << int(QIcon::Selected);
    QTest::newRow("A-scan, disabled") << scans.at(0) << QSize(80, 60) << int(QIcon::Disabled);
    QTest::newRow("A-scan, larger") << scans.at(1) << QSize(160, 120) << normal;
    QTest::newRow("landscape PNG") << save("landscape.png", quadrantPicture(QSize(320, 240))) << QSize(80, 60) << normal;
    QTest::newRow("wide JPEG") << save("wide.jpg", instrumentScreen(3, QString()).scaled(400, 100)) << QSize(80, 60) << normal;
    QTest::newRow("small picture is not enlarged") << save("small.png", quadrantPicture(QSize(40, 30))) << QSize(80, 60) << normal;
}

void TestViews::thumbnailDrawsLikeQIcon()
{
    QFETCH(QString, path);
    QFETCH(QSize, iconSize);
    QFETCH(int, mode);
    QVERIFY(!path.isEmpty());
    const QImage ours = painted(thumbnailIcon(path), iconSize, QIcon::Mode(mode));
    const QImage reference = painted(QIcon(path), iconSize, QIcon::Mode(mode));
    // Same place and size; colours differ slightly as the two scale differently.
    long long total = 0;
    int worst = 0;
    for (int y = 0; y < iconSize.height(); ++y) {
        for (int x = 0; x < iconSize.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = reference.pixel(x, y);
            QCOMPARE(qAlpha(a), qAlpha(b));
            const int diff = qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
            total += diff;
            worst = qMax(worst, diff);
        }
    }
    const double mean = double(total) / (iconSize.width() * iconSize.height());
    QVERIFY2(mean < 5.0, qPrintable(QString::number(mean)));
    QVERIFY2(worst < 96, qPrintable(QString::number(worst)));
}

QTEST_MAIN(TestViews)
#include "tst_views.moc"
