// Data loading through the real main window: order, progress, selection, thumbnails read only
// when drawn, cancelling, a bad name refused and the instrument button.
#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

// What a folder holds besides A-scans titled "Scan " and their names.
struct Entries
{
    QStringList ascans;       // created in this order
    QStringList otherModel;   // another model's signature
    QStringList untitled;
    QStringList folders;
    QStringList pipes;
    QStringList links; // each to an A-scan named as it with ".lnk" added (that name not listed)
};

bool writeEntries(const QString &dir, const Entries &entries)
{
    bool written = true;
    const auto ascan
        = [&](const QString &name, const QByteArray &signature, const QByteArray &title) {
              AscanFields fields;
              fields.signature = signature;
              fields.title = title;
              written = written && writeAscan(dir + '/' + name, fields);
          };
    for (const QString &name : entries.ascans)
        ascan(name, "Z4170", "Scan " + name.toUtf8());
    for (const QString &name : entries.otherModel)
        ascan(name, "Z4171", "Scan " + name.toUtf8());
    for (const QString &name : entries.untitled)
        ascan(name, "Z4170", QByteArray());
    for (const QString &name : entries.links) {
        ascan(name + ".lnk", "Z4170", "Scan " + name.toUtf8());
        written = written && QFile::link(dir + '/' + name + ".lnk", dir + '/' + name);
    }
    for (const QString &name : entries.folders)
        written = written && QDir(dir).mkdir(name);
    for (const QString &name : entries.pipes)
        written = written && ::mkfifo(QFile::encodeName(dir + '/' + name), 0600) == 0;
    return written;
}

// Bytes this process has read ("rchar: N" is the first line), its readings of this file included.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    return io.open(QIODevice::ReadOnly) ? io.readLine().mid(7).trimmed().toLongLong() : -1;
}

Entries numbered(int count) // "1.jpg" to "count.jpg"
{
    Entries entries;
    while (entries.ascans.size() < count)
        entries.ascans << QStringLiteral("%1.jpg").arg(entries.ascans.size() + 1);
    return entries;
}

enum class Interrupt { None, CancelButton, EscapeKey, CloseButton };

// A folder, the file chosen in it; the strip's names and selected title then, and the progress
// shown.
struct Load
{
    Entries entries;
    QString chosen;
    QStringList listed;
    QString selected;
    QList<int> progress;
    Interrupt interrupt = Interrupt::None;   // after the third item
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
        // By number, negative first; for one number the later name first; the chosen name selected.
        const QList<int> progress{5,  11, 16, 21, 26, 32, 37, 42, 47, 53,
                                  58, 63, 68, 74, 79, 84, 89, 95, 100};
        const QStringList numbers{"-3.jpg", "1.jpg", "2.jpg",  "3.jpg",
                                  "4.jpg",  "5.jpg", "11.jpg", "9.jpg"};
        // Several groups of one number: a listing order that happens to be right for all is
        // unlikely.
        const QStringList ties{"7.jpg",  "7.old.jpg", "10.jpg",   "010.jpg", "12.jpg", "12.b.jpg",
                               "012.jpg", "13.a.jpg", "13.jpg",   "14.jpg",  "014.jpg"};
        const QStringList ordered{"-3.jpg",  "1.jpg",     "2.jpg",  "3.jpg",    "4.jpg",
                                  "5.jpg",   "7.old.jpg", "7.jpg",  "9.jpg",    "10.jpg",
                                  "010.jpg", "11.jpg",    "12.jpg", "12.b.jpg", "012.jpg",
                                  "13.jpg",  "13.a.jpg",  "14.jpg", "014.jpg"};
        // Ties created in both orders: the order of the folder's listing must not matter.
        QTest::newRow("by number, ties created in order") << Load{
            .entries = {.ascans = numbers + ties},
            .chosen = "11.jpg",
            .listed = ordered,
            .selected = "Scan 11.jpg",
            .progress = progress};
        QTest::newRow("by number, ties created in reverse") << Load{
            .entries = {.ascans = QStringList(ties.crbegin(), ties.crend()) + numbers},
            .chosen = "11.jpg",
            .listed = ordered,
            .selected = "Scan 11.jpg",
            .progress = progress};
        QTest::newRow("chosen name numbered 0: refused") << Load{
            .entries = {.ascans = {"0.jpg", "1.jpg"}},
            .chosen = "0.jpg"};
        // Not read: number 0, no number, not .jpg, folders, pipes. Not listed: not A-scans.
        QTest::newRow("what is read, what is listed") << Load{
            .entries
            = {.ascans = {"0.jpg", "scan.jpg", "99999999999.jpg", "4.png", "3.jpg", "8.JPG"},
               .otherModel = {"2.jpg"},
               .untitled = {"5.jpg"},
               .folders = {"11.jpg"},
               .pipes = {"7.jpg"},
               .links = {"6.jpg"}},
            .chosen = "2.jpg",
            .listed = {"3.jpg", "6.jpg", "8.JPG"},
            .selected = "Scan 3.jpg",
            .progress = {20, 40, 60, 80, 100}};
        for (const Interrupt how :
             {Interrupt::CancelButton, Interrupt::EscapeKey, Interrupt::CloseButton}) {
            QTest::addRow("cancelled, %d", int(how)) << Load{
                .entries = numbered(30),
                .chosen = "1.jpg",
                .progress = {3, 7, 10},
                .interrupt = how};
        }
        // The Open File dialog cancelled: nothing changes, nothing is said.
        QTest::newRow("open cancelled") << Load{.entries = {.ascans = {"1.jpg"}}};
    }
    void load()
    {
        QFETCH(Load, load);
        FakeEnvironment env;
        const QTemporaryDir temporary;
        const QString dir = temporary.path();
        QVERIFY(writeEntries(dir, load.entries));
        CDataManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CListWidgetHeir *strip = window.form()->fileListWidget;
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        qint64 first = 0, last = 0; // bytes read when the first and the last item came
        const auto interrupt = [&window, how = load.interrupt] {
            QDialog *dialog = window.loadingWindow();
            if (how == Interrupt::CancelButton)
                QTest::mouseClick(dialog->findChild<QPushButton *>("btn_cancel"), Qt::LeftButton);
            if (how == Interrupt::EscapeKey)
                QTest::keyClick(dialog, Qt::Key_Escape);
            if (how == Interrupt::CloseButton)
                dialog->close();
        };
        connect(strip->model(), &QAbstractItemModel::rowsInserted, &window, [&] {
            last = bytesRead();
            first = first ? first : last;
            if (strip->count() == 3)
                QMetaObject::invokeMethod(&window, interrupt, Qt::QueuedConnection);
        });
        env.dialogs->openAnswer = load.chosen.isEmpty() ? QString() : dir + '/' + load.chosen;
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");

        QCOMPARE(QStringList(strip->paths()).replaceInStrings(dir + QDir::separator(), QString()),
                 load.listed);
        QCOMPARE(strip->selectedItems(), strip->findItems(load.selected, Qt::MatchExactly));
        QCOMPARE(watcher.progress, load.progress);
        // In between, each file counted is read up to its title only: 45 bytes (and some 100 of
        // /proc and the loop).
        QVERIFY2(last - first <= load.progress.size() * 200,
                 qPrintable(QString::number(last - first)));
        QCOMPARE(watcher.firstTexts,
                 QVector<QString>(!load.progress.isEmpty(),
                                  "The program is loading available data. Please, wait.")
                     .toList());
        // The bad name's.
        QCOMPARE(env.dialogs->warnings.size(),
                 int(load.progress.isEmpty() && !load.chosen.isEmpty()));
        QVERIFY(!window.loading() && !window.loadingWindow());
        QCOMPARE(window.form()->grpb_listWidget->title(),
                 load.listed.isEmpty() ? "" : window.dataDirectory());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(watcher.dialogs.count(nullptr), watcher.dialogs.size());

        // Thumbnails are read once shown, and only then: an icon reports its picture's size once it
        // has read it.
        const auto hasRead
            = [strip](int row) { return !strip->item(row)->icon().availableSizes().isEmpty(); };
        QTRY_VERIFY(load.selected.isEmpty() || hasRead(strip->row(strip->selectedItems().first())));
        const QRect view = strip->viewport()->rect();
        for (int row = 0; row < strip->count(); ++row) {
            const QRect rect = strip->visualItemRect(strip->item(row));
            // The chosen item is scrolled to, shown whole as the strip counts it (its last column
            // may be one past).
            QVERIFY(!strip->item(row)->isSelected()
                    || (rect.left() >= 0 && rect.right() <= view.width()));
            QTRY_COMPARE(hasRead(row), view.intersects(rect));
        }
    }

    // A thumbnail's tooltip shows its whole title and its file's name.
    void tooltip()
    {
        FakeEnvironment env;
        const QTemporaryDir folder;
        const QString name = QStringLiteral("12.Шов #%&.jpg");
        Entries entries;
        entries.ascans = QStringList{"3.jpg", name};
        QVERIFY(writeEntries(folder.path(), entries));
        CDataManager window;
        env.dialogs->openAnswer = folder.filePath(name);
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        const QListWidgetItem *item = window.form()->fileListWidget->item(1);
        QCOMPARE(item->data(Qt::ToolTipRole).toString(), "Scan " + name + "\n" + name);
        QCOMPARE(item->text(), "Scan " + name);
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
