// Data loading through the real main window: order, progress, selection, tooltips, thumbnails
// read only when drawn, cancelling and a bad name refused.
#include <QtTest>

#include <sys/stat.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"
#include "views/thumbnailiconengine.h"

namespace {

// The folder every row opens a file in: A-scans, each titled "Scan " and its name, created in
// this order. By number, negative first; for one number the later name first. Several groups of
// one number: a listing order that happens to be right for all is unlikely. Not read: number 0,
// no number, not .jpg.
const QStringList ascans{"-3.jpg",   "7.jpg",    "7.old.jpg", "9.jpg",           "10.jpg",
                         "010.jpg",  "12.jpg",   "0.jpg",     "12.Шов #%&.jpg",  "012.jpg",
                         "13.a.jpg", "13.jpg",   "scan.jpg",  "99999999999.jpg", "4.png",
                         "8.JPG"};

// Beside them, not listed: another model's "2.jpg", a folder "11.jpg", a pipe "5.jpg"; listed, a
// link "6.jpg" to an A-scan "6.jpg.lnk" titled "Scan 6.jpg".
bool writeStrangers(const QString &dir)
{
    return writeAscan(dir + "/2.jpg", {.signature = "Z4171", .title = "Scan 2.jpg"})
        && QDir(dir).mkdir("11.jpg")
#ifdef Q_OS_UNIX
        && ::mkfifo(QFile::encodeName(dir + "/5.jpg"), 0600) == 0
        && writeAscan(dir + "/6.jpg.lnk", {.title = "Scan 6.jpg"})
        && QFile::link(dir + "/6.jpg.lnk", dir + "/6.jpg");
#else
        && writeAscan(dir + "/6.jpg", {.title = "Scan 6.jpg"});   // no pipes; a copy for the link
#endif
}

// Bytes this process has read ("rchar: N" is the first line), its readings of this file included.
qint64 bytesRead()
{
#ifdef Q_OS_LINUX
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    return io.readLine().mid(7).toLongLong();
#else
    return 0;   // counted on Linux only
#endif
}

// The file chosen in the folder; the strip's names and selected title then, and the progress
// shown (none: the name refused, with a warning).
struct Load
{
    bool reversed = false;   // the A-scans created in the reverse order
    QString chosen;
    QStringList listed;
    QString selected;
    QList<int> progress;
    bool cancelled = false;   // Cancel clicked after the third item
};

} // namespace
Q_DECLARE_METATYPE(Load)

class TestLoading : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<Load>("load");
        const QStringList ordered{"-3.jpg",  "6.jpg",          "7.old.jpg", "7.jpg",  "8.JPG",
                                  "9.jpg",   "10.jpg",         "010.jpg",   "12.Шов #%&.jpg",
                                  "12.jpg",  "012.jpg",        "13.jpg",    "13.a.jpg"};
        const QList<int> progress{7, 14, 21, 29, 36, 43, 50, 57, 64, 71, 79, 86, 93, 100};
        // The chosen name is selected and scrolled to.
        QTest::newRow("by number") << Load{
            .chosen = "13.jpg",
            .listed = ordered,
            .selected = "Scan 13.jpg",
            .progress = progress};
        // The order of the folder's listing must not matter.
        QTest::newRow("by number, created in reverse") << Load{
            .reversed = true,
            .chosen = "13.jpg",
            .listed = ordered,
            .selected = "Scan 13.jpg",
            .progress = progress};
        QTest::newRow("chosen name numbered 0: refused") << Load{.chosen = "0.jpg"};
        QTest::newRow("cancelled") << Load{
            .chosen = "13.jpg",
            .progress = {7, 14, 21, 29},
            .cancelled = true};
    }
    void load()
    {
        QFETCH(Load, load);
        FakeEnvironment env;
        const QTemporaryDir dir;
        const QStringList created
            = load.reversed ? QStringList(ascans.crbegin(), ascans.crend()) : ascans;
        for (const QString &name : created)
            QVERIFY(writeAscan(dir.filePath(name), {.title = "Scan " + name.toUtf8()}));
        QVERIFY(writeStrangers(dir.path()));
        CDataManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CListWidgetHeir *strip = window.form()->fileListWidget;
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        qint64 first = 0, last = 0; // bytes read when the first and the last item came
        connect(strip->model(), &QAbstractItemModel::rowsInserted, &window, [&] {
            last = bytesRead();
            first = first ? first : last;
            if (strip->count() == 3 && load.cancelled) {
                QObject *cancel = window.loadingWindow()->findChild<QPushButton *>();
                QMetaObject::invokeMethod(cancel, "click", Qt::QueuedConnection);
            }
        });
        env.dialogs->openAnswer = dir.filePath(load.chosen);
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        // Open File again, cancelled: nothing changes, nothing is said.
        env.dialogs->openAnswer.clear();
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");

        QCOMPARE(strip->count(), load.listed.size());
        QCOMPARE(watcher.progress, load.progress);
        // In between, each file counted is read up to its title only: 45 bytes (and some 100 of
        // /proc and the loop).
        QVERIFY(last - first <= load.progress.size() * 200);
        QCOMPARE(env.dialogs->warnings.size(), int(load.progress.isEmpty()));
        QVERIFY(!window.loading() && !window.loadingWindow());

        // Thumbnails are read once shown, and only then: an icon reports its picture's size once it
        // has read it.
        const QRect view = strip->viewport()->rect();
        for (int row = 0; row < strip->count(); ++row) {
            QListWidgetItem *item = strip->item(row);
            const QRect rect = strip->visualItemRect(item);
            QTRY_COMPARE(!item->icon().availableSizes().isEmpty(), view.intersects(rect));
            // The chosen item is selected and scrolled to.
            QCOMPARE(item->isSelected(), item->text() == load.selected);
            QVERIFY(!item->isSelected() || view.intersects(rect));
            // In the strip's order, each tooltip: the whole title, then the file's name.
            QCOMPARE(item->toolTip(), "Scan " + load.listed.at(row) + '\n' + load.listed.at(row));
        }
        // A strip cleared keeps none of the thumbnails it read.
        strip->clearFiles();
        QCOMPARE(ThumbnailIconEngine::cacheUsed(), 0);
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
