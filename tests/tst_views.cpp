// The picture frame, the thumbnail strip and the record display, on the real widgets of one window.
#include <QtTest>

#include <QAction>
#include <QPainter>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "output/reporthtml.h"
#include "ui_cdatamanager.h"
#include "views/crespictureframe.h"
#include "views/thumbnailiconengine.h"

namespace {

// How far a picture lies from another of its size, or from white: the mean difference of a colour
// channel, 0 to 255.
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

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    FakeEnvironment env;
    CDataManager window;
    Ui::CDataManagerTempl *ui = window.form();
    CListWidgetHeir *strip = ui->fileListWidget;
    QTemporaryDir dir;
    const QString self = dir.filePath("self.jpg"); // a picture that may name itself
    QStringList scans; // 30 A-scans of distinct screens
    int files = 0;

    QString fileWith(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(++files));
        return writeBytes(path, bytes) ? path : QString();
    }

    // The view emptied, then items and paths added the way the loading adds them, the first one
    // selected.
    void showStrip(const QStringList &paths)
    {
        window.resetView();
        for (const QString &path : paths) {
            strip->addItem(new QListWidgetItem(thumbnailIcon(path), QFileInfo(path).baseName()));
            strip->addFilePath(path);
        }
        strip->doItemsLayout();
        strip->setCurrentRow(0);
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
        QTest::newRow("SVG in disguise drawing itself")
            << svgInDisguise(QFile::encodeName(self)) << false;
        QTest::newRow("progressive 4000 x 4000, 1000 scans")
            << progressiveJpeg(QSize(4000, 4000), 1000) << false;
        QTest::newRow("JPEG 320 x 240")
            << encodeJpeg(instrumentScreen(3, "wide").scaled(320, 240)) << true;
    }
    void pictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        const QString &path = self;
        CResPictureFrame frame;
        frame.resize(360, 480);
        QVERIFY(writeBytes(path, bytes) && distance(frame.grab().toImage()) == 0
                && frame.loadImage(scans.first()));
        QCOMPARE(frame.loadImage(path), shown);
        const QImage inFrame = frame.grab().toImage();
        QVERIFY(shown ? distance(inFrame, QImage(path).scaled(360, 480)) < 6
                      : distance(inFrame) == 0);
        QCOMPARE(thumbnailIcon(path).pixmap(QSize(80, 60)).isNull(), !shown);
        const QImage printed = reportPicture(path);
        QVERIFY(shown ? distance(printed) > 0
                      : distance(printed) == 0 && printed.size() == QSize(240, 320));
    }

    // A thumbnail draws what QIcon(path) draws (fitted, centred, styled by mode); it reads nothing
    // before it is painted, then once while it stays in the cache, and again once evicted.
    void thumbnail()
    {
        auto *engine = new ThumbnailIconEngine(scans.at(4));
        const QIcon lazy(engine), plain(scans.at(4));
        const auto painted = [](const QIcon &icon, QIcon::Mode mode) {
            QImage image(80, 60, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            icon.paint(std::make_unique<QPainter>(&image).get(), image.rect(), Qt::AlignCenter,
                       mode);
            return image;
        };
        const int decodes = ThumbnailIconEngine::decodeCount();
        QVERIFY(!engine->hasReadFile());
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Disabled}) {
            const QImage ours = painted(lazy, mode), theirs = painted(plain, mode);
            QVERIFY(distance(ours, theirs) < 6);
        }
        QCOMPARE(ThumbnailIconEngine::decodeCount(), decodes + 1); // the three looks from one read
        const int former = ThumbnailIconEngine::setCacheLimit(0);
        const auto restore = qScopeGuard([former] { ThumbnailIconEngine::setCacheLimit(former); });
        QVERIFY(distance(painted(lazy, QIcon::Normal), painted(plain, QIcon::Normal)) < 6);
        QCOMPARE(ThumbnailIconEngine::decodeCount(), decodes + 2);
    }

    // Press, moves and release over a strip of three with item 0 selected: at item 0, 1, 2, or at
    // 3 and 4, where a fourth and fifth would be.
    void mouseRules_data()
    {
        QTest::addColumn<int>("button"); // and modifiers
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("emitted");
        const int left = Qt::LeftButton, control = Qt::ControlModifier | left;
        QTest::newRow("right click on an item")
            << int(Qt::RightButton) << QList<int>{2, 2} << QList<int>{0} << 0;
        QTest::newRow("control click adds") << control << QList<int>{2, 2} << QList<int>{0, 2} << 1;
        QTest::newRow("control click removes the last")
            << control << QList<int>{0, 0} << QList<int>{} << 1;
        QTest::newRow("drag from empty space across items")
            << left << QList<int>{3, 2, 1, 4} << QList<int>{0} << 0;
        QTest::newRow("drag from an item out")
            << left << QList<int>{0, 1, 2, 3, 3} << QList<int>{0, 1, 2} << 2;
    }
    void mouseRules()
    {
        QFETCH(int, button);
        QFETCH(QList<int>, path);
        QFETCH(QList<int>, selected);
        showStrip(scans.mid(0, 3));
        QWidget *viewport = strip->viewport();
        const QRect first = strip->visualItemRect(strip->item(0));
        const auto at
            = [&](int place) { return first.center() + QPoint(place * first.width(), 0); };
        QVERIFY(strip->itemAt(at(2)) == strip->item(2) && !strip->itemAt(at(4))
                && viewport->rect().contains(at(4)));
        QSignalSpy spy(strip, SIGNAL(filesSelectionChanged(QString)));
        const auto mouse = Qt::MouseButton(button & ~Qt::KeyboardModifierMask);
        const auto modifiers = Qt::KeyboardModifiers(button & Qt::KeyboardModifierMask);
        QTest::mousePress(viewport, mouse, modifiers, at(path.first()));
        for (const int place : path.mid(1, path.size() - 2)) {
            QMouseEvent move(QEvent::MouseMove, at(place), viewport->mapToGlobal(at(place)),
                             Qt::NoButton, mouse, modifiers);
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, mouse, modifiers, at(path.last()));
        QList<int> rows;
        QStringList files{"kept"},
            expected{"kept"}; // handed out in selected-items order, after what was there
        for (QListWidgetItem *item : strip->selectedItems())
            rows << strip->row(item), expected << scans.at(strip->row(item));
        QVERIFY(strip->selectedFiles(files) == rows.size() && files == expected);
        QCOMPARE(rows, selected);
        QTEST(int(spy.count()), "emitted");
        QVERIFY(spy.isEmpty() || spy.last().at(0).toString() == expected.value(1));
        const int actions
            = strip->copySettingsAction()->isEnabled() + strip->exportSettingsAction()->isEnabled();
        QCOMPARE(actions, 2 * !rows.isEmpty()); // the context menu's
    }

    // Titles, table, output buttons and picture as records are selected in turn, then none. The
    // table is written from the top without gaps over a full one, read-only yet not greyed out,
    // with a point whatever the locale says.
    void displayStates()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        // The titles, a filled table, output buttons on; the box's title without the file name.
        const auto show = [&](const AscanFields *ascan) {
            if (ascan)
                showStrip({fileWith(buildAscan(*ascan))});
            const int buttons = ui->tbtn_save->isEnabled() + ui->tbtn_print->isEnabled();
            const QString name = " — " + QFileInfo(strip->paths().value(0)).fileName();
            return QStringList{ui->grpb_ascan->title().remove(name), ui->grpb_table->title(),
                               ui->tableWidget->item(16, 1) ? "full" : "",
                               QString::number(buttons)};
        };
        AscanFields ascan;
        // Every row shown.
        ascan.referenceSwitch = 0;
        ascan.strobeSwitch = 0;
        QCOMPARE(show(&ascan), (QStringList{"A-scan", "Configuration Weld 12 mm", "full", "2"}));
        QCOMPARE(ui->frameGraph->currentImage(), QImage(strip->paths().last()));

        QVERIFY(window.readRecord(fileWith(buildAscan(AscanFields()))) != 0);
        window.fillSettingsTable();
        QStringList shown;
        const QBrush text = ui->tableWidget->palette().brush(QPalette::Active, QPalette::Text);
        for (int row = 0; row < ui->tableWidget->rowCount(); ++row) {
            const QTableWidgetItem *caption = ui->tableWidget->item(row, 0);
            const QTableWidgetItem *value = ui->tableWidget->item(row, 1);
            shown << (caption ? caption->text() : "-") + "|" + (value ? value->text() : "-");
            for (const QTableWidgetItem *item : {caption, value})
                QVERIFY(!item
                        || (item->flags() == Qt::ItemIsSelectable && item->foreground() == text));
        }
        QCOMPARE(shown.join(';'),
                 "Probe type|single;Operating frequency, MHz|5.0;Probe angle,°|45.0;Delay, µs|0.7;"
                 "Thickness, mm|10.00;Reference level, dB|off;Multilevel Strobe|off;Scale|mm depth;"
                 "Readings discreteness|0.1;Cursor|on;Date|15:06:2026;Time|12:30"
                     + QString(";-|-").repeated(5));

        // Settings cut short: its own title still.
        ascan.title = "Short";
        ascan.segmentLength = 752;
        QCOMPARE(show(&ascan), (QStringList{"Short", "Instrument Settings", "", "2"}));
        strip->clearSelection();
        QCOMPARE(show(nullptr), (QStringList{"", "Instrument Settings", "", "0"}));
        QCOMPARE(distance(ui->frameGraph->grab().toImage()), 0.0);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
