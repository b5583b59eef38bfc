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

// The mean difference of two pictures' grey levels, 0 to 255; without a second one, from white.
int distance(const QImage &a, const QImage &b = QImage())
{
    QImage difference = a.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&difference);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    b.isNull() ? painter.fillRect(difference.rect(), Qt::white) : painter.drawImage(0, 0, b);
    painter.end();
    // Smooth scaling to one pixel averages them all.
    return qGray(
        difference.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
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
    int files = 0;

    QString fileWith(const AscanFields &ascan)
    {
        const QString path = dir.filePath(QString::number(++files) + ".jpg");
        return writeAscan(path, ascan) ? path : QString();
    }

    // The view emptied, then the files added the way the loading adds them, the first selected.
    QStringList showStrip(const QStringList &paths)
    {
        window.resetView();
        for (const QString &path : paths)
            strip->addFile(path, dir.path() + '/', QFileInfo(path).fileName());
        strip->setCurrentRow(0);
        return paths;
    }

    // Press, moves and release with `button` held, at places of a strip of three: items 0, 1, 2,
    // or 3 and 4, where a fourth and fifth would be. The files selected then.
    QStringList gesture(Qt::MouseButton button, const QList<int> &places)
    {
        QWidget *viewport = strip->viewport();
        const QRect first = strip->visualItemRect(strip->item(0));
        const auto at = [&](int place) {
            return first.center() + QPoint(first.width() * place, 0);
        };
        QTest::mousePress(viewport, button, {}, at(places.first()));
        for (const int place : places.mid(1)) {
            QMouseEvent move(QEvent::MouseMove, at(place), Qt::NoButton, button, {});
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, button, {}, at(places.last()));
        QStringList files;
        strip->selectedFiles(files);
        return files;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::German); // numbers shown with a point all the same
        window.show();
    }

    // Decoded as JPEG only and within bounds, alike in the frame (stretched over it, or white over
    // what it showed before), the thumbnail (read once for all its looks) and the report (or a
    // blank 240 x 320 box).
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
        CResPictureFrame frame;
        frame.resize(360, 480);
        QVERIFY(writeBytes(self, bytes));
        QVERIFY(frame.loadImage(fileWith({})));
        QCOMPARE(frame.loadImage(self), shown);
        QVERIFY(distance(frame.grab().toImage(), shown ? QImage(self).scaled(360, 480) : QImage())
                < 6);
        const QIcon thumbnail = thumbnailIcon(self);
        const int decodes = ThumbnailIconEngine::decodeCount();
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Disabled}) {
            const QImage ours = thumbnail.pixmap(QSize(80, 80), mode).toImage();
            // Never made for a refused file: QIcon(path) would decode an SVG as such.
            QVERIFY(shown ? distance(ours, QIcon(self).pixmap(ours.size(), mode).toImage()) < 6
                          : ours.isNull());
        }
        QCOMPARE(ThumbnailIconEngine::decodeCount(), decodes + 1);
        const QImage printed = reportPicture(self);
        QCOMPARE(distance(printed) == 0 && printed.size() == QSize(240, 320), !shown);
    }

    // Which right clicks and drags select: a drag from empty space selects nothing, one from an
    // item selects up to where it left the items.
    void mouseRules()
    {
        const QStringList scans = showStrip({fileWith({}), fileWith({}), fileWith({})});
        QCOMPARE(gesture(Qt::RightButton, {2, 2}), scans.mid(0, 1));
        QCOMPARE(gesture(Qt::LeftButton, {3, 2, 1, 4}), scans.mid(0, 1));
        QCOMPARE(gesture(Qt::LeftButton, {0, 1, 2, 3, 3}), scans);
    }

    // Titles, table and picture as records are selected in turn, then none. The
    // table's cells are read-only yet not greyed out, with a point whatever the locale says.
    void displayStates()
    {
        // The second with its settings cut short: its own title still.
        showStrip({fileWith({}), fileWith({.segmentLength = 752, .title = "Short"})});
        QTableWidget *table = ui->tableWidget;
        // The record's title and the table's cells.
        const auto shown = [&] {
            const QString title = ui->grpb_ascan->title().section(" — ", 0, 0);
            QStringList shown{title, ui->grpb_table->title()};
            for (const QTableWidgetItem *item : table->findItems("", Qt::MatchContains))
                shown << (item ? item->text() : "-"); // the captions, then the values
            return shown.join('|');
        };
        QCOMPARE(shown(),
                 "A-scan|Configuration Weld 12 mm|Probe type|Operating frequency, MHz|"
                 "Probe angle,°|Delay, µs|Thickness, mm|Reference level, dB|Multilevel Strobe|"
                 "Scale|Readings discreteness|Cursor|Date|Time|-|-|-|-|-|"
                 "single|5.0|45.0|0.7|10.00|off|off|mm depth|0.1|on|15:06:2026|12:30|-|-|-|-|-");
        QCOMPARE(ui->frameGraph->currentImage(), QImage(strip->paths().first()));
        QCOMPARE(table->item(0, 1)->flags(), Qt::ItemIsSelectable);
        QCOMPARE(table->item(0, 1)->foreground(), table->palette().text());
        const QString empty = QString("|-").repeated(34);
        strip->setCurrentRow(1);
        QCOMPARE(shown(), "Short|Instrument Settings" + empty);
        strip->clearSelection();
        QCOMPARE(shown(), "|Instrument Settings" + empty);
        QCOMPARE(distance(ui->frameGraph->grab().toImage()), 0);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
