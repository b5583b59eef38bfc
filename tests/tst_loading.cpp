// Data loading through the real main window: order, progress, selection, tooltips, thumbnails
// read only when drawn, cancelling and a bad name refused.
#include <QtTest>

#include <sys/stat.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

// Beside the A-scans: another model's "2.jpg", a folder "11.jpg", a pipe "7.jpg" and a link
// "6.jpg" to an A-scan "6.jpg.lnk" titled "Scan 6.jpg".
bool writeStrangers(const QDir &dir)
{
    return writeAscan(dir.filePath("2.jpg"), {.signature = "Z4171", .title = "Scan 2.jpg"})
        && dir.mkdir("11.jpg")
        && ::mkfifo(QFile::encodeName(dir.filePath("7.jpg")), 0600) == 0
        && writeAscan(dir.filePath("6.jpg.lnk"), {.title = "Scan 6.jpg"})
        && QFile::link(dir.filePath("6.jpg.lnk"), dir.filePath("6.jpg"));
}

// Bytes this process has read ("rchar: N" is the first line), its readings of this file included.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    return io.readLine().mid(7).toLongLong();
}

// A folder's A-scans, each titled "Scan " and its name, the file chosen in it; the strip's names
// and selected title then, and the progress shown.
struct Load
{
    QStringList ascans;        // created in this order
    bool strangers = false;    // what writeStrangers writes beside them
    QString chosen;
    QStringList listed;
    QString selected;
    QList<int> progress;
    bool refused = false;   // with a warning
    int key = 0;   // then pressed on the Cancel button after the third item, if any
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
        // By number, negative first; for one number the later name first. Several groups of one
        // number: a listing order that happens to be right for all is unlikely.
        const QStringList files{"-3.jpg",  "7.jpg",          "7.old.jpg", "9.jpg",
                                "10.jpg",  "010.jpg",        "12.jpg",    "12.Шов #%&.jpg",
                                "012.jpg", "13.a.jpg",       "13.jpg"};
        const QStringList ordered{"-3.jpg",  "7.old.jpg",      "7.jpg",  "9.jpg",
                                  "10.jpg",  "010.jpg",        "12.Шов #%&.jpg", "12.jpg",
                                  "012.jpg", "13.jpg",         "13.a.jpg"};
        // Created in both orders: the order of the folder's listing must not matter. The chosen
        // name is selected and scrolled to.
        for (const QStringList &ascans : {files, QStringList(files.crbegin(), files.crend())}) {
            QTest::addRow("by number, %s created first", qPrintable(ascans.first())) << Load{
                .ascans = ascans,
                .chosen = "13.jpg",
                .listed = ordered,
                .selected = "Scan 13.jpg",
                .progress = {9, 18, 27, 36, 45, 55, 64, 73, 82, 91, 100}};
        }
        QTest::newRow("chosen name numbered 0: refused") << Load{
            .ascans = {"0.jpg", "1.jpg"},
            .chosen = "0.jpg",
            .refused = true};
        // Not read: number 0, no number, not .jpg, folders, pipes. Not listed: not A-scans.
        QTest::newRow("what is read, what is listed") << Load{
            .ascans = {"0.jpg", "scan.jpg", "99999999999.jpg", "4.png", "3.jpg", "8.JPG"},
            .strangers = true,
            .chosen = "2.jpg",
            .listed = {"3.jpg", "6.jpg", "8.JPG"},
            .selected = "Scan 3.jpg",
            .progress = {25, 50, 75, 100}};
        for (const int key : {Qt::Key_Space, Qt::Key_Escape}) {
            QTest::addRow("cancelled by key %x", key) << Load{
                .ascans = files,
                .chosen = "13.jpg",
                .progress = {9, 18, 27},
                .key = key};
        }
        // The Open File dialog cancelled: nothing changes, nothing is said.
        QTest::newRow("open cancelled") << Load{.ascans = {"1.jpg"}};
    }
    void load()
    {
        QFETCH(Load, load);
        FakeEnvironment env;
        const QTemporaryDir dir;
        for (const QString &name : load.ascans)
            QVERIFY(writeAscan(dir.filePath(name), {.title = "Scan " + name.toUtf8()}));
        QVERIFY(!load.strangers || writeStrangers(dir.path()));
        CDataManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CListWidgetHeir *strip = window.form()->fileListWidget;
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        qint64 first = 0, last = 0; // bytes read when the first and the last item came
        const auto interrupt = [&] {
            QPushButton *cancel = window.loadingWindow()->findChild<QPushButton *>();
            QTest::keyClick(cancel, Qt::Key(load.key));
        };
        connect(strip->model(), &QAbstractItemModel::rowsInserted, &window, [&] {
            last = bytesRead();
            first = first ? first : last;
            if (strip->count() == 3 && load.key)
                QMetaObject::invokeMethod(&window, interrupt, Qt::QueuedConnection);
        });
        env.dialogs->openAnswer = load.chosen.isEmpty() ? QString() : dir.filePath(load.chosen);
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");

        QCOMPARE(strip->count(), load.listed.size());
        QCOMPARE(strip->selectedItems(), strip->findItems(load.selected, Qt::MatchExactly));
        QCOMPARE(watcher.progress, load.progress);
        // In between, each file counted is read up to its title only: 45 bytes (and some 100 of
        // /proc and the loop).
        QVERIFY(last - first <= load.progress.size() * 200);
        // The bad name's.
        QCOMPARE(env.dialogs->warnings.size(), int(load.refused));
        QVERIFY(!window.loading() && !window.loadingWindow());

        // Thumbnails are read once shown, and only then: an icon reports its picture's size once it
        // has read it.
        const auto hasRead = [](QListWidgetItem *item) { return !item->icon().availableSizes().isEmpty(); };
        QTRY_VERIFY(load.selected.isEmpty() || hasRead(strip->selectedItems().first()));
        const QRect view = strip->viewport()->rect();
        for (int row = 0; row < strip->count(); ++row) {
            QListWidgetItem *item = strip->item(row);
            const QRect rect = strip->visualItemRect(item);
            QTRY_COMPARE(hasRead(item), view.intersects(rect));
            // In the strip's order, each tooltip: the whole title, then the file's name.
            const QString name = load.listed.at(row);
            QCOMPARE(item->toolTip(), "Scan " + name + '\n' + name);
        }
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
