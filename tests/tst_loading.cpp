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

// "name" is an A-scan titled "Scan name"; "name:nosig", "name:notitle", "name:dir" and "name:fifo" are not;
// "name:link" is a link to the A-scan "name.lnk" beside it (that name is not listed).
bool writeEntries(const QString &dir, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(':', 0, 0), kind = entry.section(':', 1), path = dir + '/' + name;
        AscanFields ascan;
        ascan.title = kind == "notitle" ? QByteArray() : "Scan " + name.toUtf8();
        ascan.signature = kind == "nosig" ? "Z4171" : "Z4170";
        const QString file = path + (kind == "link" ? ".lnk" : "");
        if (!(kind == "dir" ? QDir(dir).mkdir(name) : kind == "fifo" ? ::mkfifo(QFile::encodeName(path), 0600) == 0
                                      : writeAscan(file, ascan) && (file == path || QFile::link(file, path))))
            return false;
    }
    return true;
}

// Bytes this process has read ("rchar: N" is the first line), its readings of this file included.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    return io.open(QIODevice::ReadOnly) ? io.readLine().mid(7).trimmed().toLongLong() : -1;
}

QStringList numbered(int count) // "1.jpg" to "count.jpg"
{
    QStringList names;
    while (names.size() < count)
        names << QStringLiteral("%1.jpg").arg(names.size() + 1);
    return names;
}

// `interrupt` after the third item: "button", "escape" or "close" cancels.
struct Load { QStringList entries; QString chosen; QStringList listed; QString selected; QList<int> progress;
              QString interrupt = {}; };
} // namespace
Q_DECLARE_METATYPE(Load)

class TestLoading : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<Load>("load");
        QTest::newRow("by number, negative first; one number: later name first; the chosen name selected") << Load{
            {"10.jpg", "9.jpg", "-3.jpg", "1.jpg", "5.jpg", "7.jpg", "7.old.jpg", "010.jpg", "11.jpg", "2.jpg", "3.jpg",
             "4.jpg"}, "11.jpg", {"-3.jpg", "1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "7.old.jpg", "7.jpg", "9.jpg",
             "10.jpg", "010.jpg", "11.jpg"}, "Scan 11.jpg", {8, 17, 25, 33, 42, 50, 58, 67, 75, 83, 92, 100}};
        QTest::newRow("chosen name numbered 0: refused") << Load{{"0.jpg", "1.jpg"}, "0.jpg", {}, "", {}};
        QTest::newRow("0, no number, not .jpg, folder, FIFO: not read; not A-scans: not listed; a link is") << Load{
            {"0.jpg", "scan.jpg", "99999999999.jpg", "4.png", "11.jpg:dir", "3.jpg", "8.JPG", "2.jpg:nosig",
             "5.jpg:notitle", "6.jpg:link", "7.jpg:fifo"}, "2.jpg", {"3.jpg", "6.jpg", "8.JPG"}, "Scan 3.jpg",
            {20, 40, 60, 80, 100}};
        for (const QString how : {"button", "escape", "close"})
            QTest::newRow(qPrintable("cancelled: " + how)) << Load{numbered(30), "1.jpg", {}, "", {3, 7, 10}, how};
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
        connect(strip->model(), &QAbstractItemModel::rowsInserted, &window, [&, acted = false]() mutable {
            last = bytesRead();
            first = first ? first : last;
            if (!load.interrupt.isEmpty() && strip->count() == 3 && !std::exchange(acted, true))
                QMetaObject::invokeMethod(&window, [&, dialog = window.loadingWindow()] {
                    if (load.interrupt == "button")
                        return QTest::mouseClick(dialog->findChild<QPushButton *>("btn_cancel"), Qt::LeftButton);
                    load.interrupt == "escape" ? QTest::keyClick(dialog, Qt::Key_Escape) : void(dialog->close());
                }, Qt::QueuedConnection);
        });
        env.dialogs->openAnswer = dir + '/' + load.chosen;
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");

        QCOMPARE(QStringList(strip->paths()).replaceInStrings(dir + QDir::separator(), QString()), load.listed);
        QCOMPARE(strip->selectedItems(), strip->findItems(load.selected, Qt::MatchExactly));
        QCOMPARE(watcher.progress, load.progress);
        // In between, each file counted is read up to its title only: 45 bytes (and some 100 of /proc and the loop).
        QVERIFY2(last - first <= load.progress.size() * 200, qPrintable(QString::number(last - first)));
        QCOMPARE(watcher.firstTexts, QVector<QString>(!load.progress.isEmpty(),
                                                      "The program is loading available data. Please, wait.").toList());
        QCOMPARE(env.dialogs->warnings.size(), int(load.progress.isEmpty())); // the bad name's
        QVERIFY(!window.loading() && !window.loadingWindow());
        QCOMPARE(window.form()->grpb_listWidget->title(), load.listed.isEmpty() ? "" : window.dataDirectory());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(watcher.dialogs.count(nullptr), watcher.dialogs.size());

        // Thumbnails are read once shown, and only then: an icon reports its picture's size once it has read it.
        const auto hasRead = [strip](int row) { return !strip->item(row)->icon().availableSizes().isEmpty(); };
        QTRY_VERIFY(load.selected.isEmpty() || hasRead(strip->row(strip->selectedItems().first())));
        const QRect view = strip->viewport()->rect();
        for (int row = 0; row < strip->count(); ++row) {
            const QRect rect = strip->visualItemRect(strip->item(row));
            // The chosen item is scrolled to, shown whole as the strip counts it (its last column may be one past).
            QVERIFY(!strip->item(row)->isSelected() || (rect.left() >= 0 && rect.right() <= view.width()));
            QTRY_COMPARE(hasRead(row), view.intersects(rect));
        }
    }

    // The instrument button does nothing while the instrument's files are shown, and brings them back
    // over a folder's.
    void instrumentButton()
    {
        FakeEnvironment env;
        QTemporaryDir device, folder;
        QVERIFY(writeEntries(device.path(), numbered(4)) && writeEntries(folder.path(), numbered(3)));
        env.machine.plugInstruments({device.path() + '/'}); // a root ends with a separator
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        CDataManager window; // finds the instrument and loads its files before it is shown
        CListWidgetHeir *strip = window.form()->fileListWidget;
        strip->setCurrentRow(2);
        QMetaObject::invokeMethod(&window, "slot_loadDataFromDevice");
        QVERIFY(watcher.firstTexts.size() == 1 && strip->currentRow() == 2);
        env.dialogs->openAnswer = folder.filePath(QStringLiteral("2.jpg"));
        QMetaObject::invokeMethod(&window, "slot_loadDataDir");
        QMetaObject::invokeMethod(&window, "slot_loadDataFromDevice");
        QCOMPARE(watcher.firstTexts.size(), 3); // the folder's in between
        QVERIFY(watcher.firstTexts.first().startsWith("An inserted ultrasonic defectoscope was detected.")
                && watcher.firstTexts.last() == watcher.firstTexts.first());
        QCOMPARE(strip->paths().last(), device.path() + '/' + QDir::separator() + "4.jpg");
        QCOMPARE(strip->selectedItems(), strip->findItems("Scan 1.jpg", Qt::MatchExactly));
    }

    // A thumbnail's tooltip shows its whole title and its file's name.
    void tooltip()
    {
        FakeEnvironment env;
        const QTemporaryDir folder;
        const QString name = QStringLiteral("12.Шов #%&.jpg");
        QVERIFY(writeEntries(folder.path(), {"3.jpg", name}));
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
