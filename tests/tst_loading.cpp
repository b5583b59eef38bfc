// Data loading through the real main window: order, progress, selection, thumbnails read only
// when drawn, the bad-name warning, cancelling, and loading from the instrument.
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include <sys/inotify.h>
#include <unistd.h>

#include "app/cdatamanager.h"
#include "ascanbuilder.h"
#include "fakes.h"
#include "ui_cdatamanager.h"

namespace {

const QString DefaultText = QStringLiteral("The program is loading available data. Please, wait.");
const QString InstrumentText = QStringLiteral("An inserted ultrasonic defectoscope was detected. "
                                              "The program is looking for\navailable data. Please, wait.");

// The names of the files opened in a directory, as the kernel reports them.
QSet<QString> openedNames(int watch)
{
    QSet<QString> names;
    alignas(inotify_event) char buffer[16384];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
        for (const char *p = buffer; p < buffer + n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(p);
            if (event->len > 0)
                names.insert(QFile::decodeName(event->name));
            p += sizeof(inotify_event) + event->len;
        }
    return names;
}

// "name" is an A-scan titled "Scan name"; "name:nosig", "name:notitle", "name:dir", "name:text" are not.
bool writeEntries(const QString &dir, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0), kind = entry.section(QLatin1Char(':'), 1);
        AscanFields ascan;
        ascan.title = kind == QLatin1String("notitle") ? QByteArray() : "Scan " + name.toUtf8();
        if (kind == QLatin1String("nosig"))
            ascan.signature = "Z4171";
        const bool ok = kind == QLatin1String("dir") ? QDir(dir).mkdir(name)
            : kind == QLatin1String("text")          ? writeBytes(dir + QLatin1Char('/') + name, "not a picture")
                                                     : writeAscan(dir + QLatin1Char('/') + name, ascan);
        if (!ok)
            return false;
    }
    return true;
}

// "from.jpg" to "to.jpg", each after `dir` and a native separator when a directory is given.
QStringList numbered(int from, int to, const QString &dir = QString())
{
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << (dir.isEmpty() ? QString() : dir + QDir::separator()) + QStringLiteral("%1.jpg").arg(i);
    return names;
}

QList<int> selectedRows(const QListWidget *strip)
{
    QList<int> rows;
    for (QListWidgetItem *item : strip->selectedItems())
        rows << strip->row(item);
    return rows;
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeEnvironment> env;
    std::unique_ptr<CDataManager> window;

    bool showWindow()
    {
        window = std::make_unique<CDataManager>();
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    void open(const QString &path)
    {
        env->dialogs->openAnswer = path;
        QMetaObject::invokeMethod(window.get(), "slot_loadDataDir");
    }

private slots:
    void init() { env = std::make_unique<FakeEnvironment>(); }
    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void loadDirectory_data()
    {
        QTest::addColumn<QStringList>("entries"); // none: the directory does not exist
        QTest::addColumn<QStringList>("listed");  // in the strip, in order
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("numeric order, negative first")
            << QStringList{"10.jpg", "9.jpg", "2.jpg", "1.jpg", "-3.jpg", "5.jpg", "4.jpg", "3.jpg"}
            << QStringList{"-3.jpg", "1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "9.jpg", "10.jpg"}
            << QList<int>{13, 25, 38, 50, 63, 75, 88, 100};
        QTest::newRow("same number: later name first") << QStringList{"05.jpg", "5.jpg", "7.jpg", "7.old.jpg"}
                                                       << QStringList{"5.jpg", "05.jpg", "7.old.jpg", "7.jpg"}
                                                       << QList<int>{25, 50, 75, 100};
        QTest::newRow("number 0, no number, not .jpg, directory: neither listed nor counted")
            << QStringList{"0.jpg", "00.jpg", "scan.jpg", "IMG.JPG", "99999999999.jpg", "3.jpg", "8.JPG", "4.png",
                           "11.jpg:dir"}
            << QStringList{"3.jpg", "8.JPG"} << QList<int>{50, 100};
        QTest::newRow("not A-scans counted, not listed")
            << QStringList{"1.jpg", "2.jpg:nosig", "3.jpg:notitle", "4.jpg:text", "5.jpg"}
            << QStringList{"1.jpg", "5.jpg"} << QList<int>{20, 40, 60, 80, 100};
        QTest::newRow("no A-scan") << QStringList{"1.jpg:nosig", "2.jpg:notitle"} << QStringList()
                                   << QList<int>{50, 100};
        QTest::newRow("missing directory") << QStringList() << QStringList() << QList<int>();
    }
    void loadDirectory()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, listed);
        QFETCH(QList<int>, progress);
        QTemporaryDir temporary;
        const QString dir = entries.isEmpty() ? QStringLiteral("/nonexistent-scanlet-folder") : temporary.path();
        QVERIFY(writeEntries(dir, entries));
        QVERIFY(showWindow());
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        open(dir + QLatin1Char('/') + listed.value(0, QStringLiteral("1.jpg")));

        Ui::CDataManagerTempl *ui = window->form();
        QCOMPARE(ui->fileListWidget->paths().size(), listed.size());
        for (int row = 0; row < listed.size(); ++row) {
            QCOMPARE(ui->fileListWidget->paths().at(row), dir + QDir::separator() + listed.at(row));
            QCOMPARE(ui->fileListWidget->item(row)->text(), QStringLiteral("Scan ") + listed.at(row));
        }
        QCOMPARE(watcher.firstTexts, QStringList{DefaultText});
        QCOMPARE(watcher.progress, progress);
        QCOMPARE(watcher.labels, QVector<QString>(progress.size(), "Data are being loaded. Loaded:").toList());
        QVERIFY(!window->loading() && !window->loadingWindow());
        QCOMPARE(window->dataDirectory(), dir);
        QCOMPARE(ui->grpb_listWidget->title(), listed.isEmpty() ? QString() : QDir::toNativeSeparators(dir));
        QCOMPARE(ui->tbtn_save->isEnabled(), !listed.isEmpty());
    }

    void selectionAndThumbnails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("selectedRow");
        QTest::newRow("chosen A-scan selected and scrolled to") << QString() << 13;
        QTest::newRow("chosen file no A-scan: the first selected") << QStringLiteral(":nosig") << 0;
    }
    void selectionAndThumbnails()
    {
        QFETCH(QString, kind);
        QFETCH(int, selectedRow);
        QTemporaryDir dir;
        QStringList entries = numbered(1, 30);
        entries[13] += kind;
        QVERIFY(writeEntries(dir.path(), entries));
        QVERIFY(showWindow());
        open(dir.filePath(QStringLiteral("14.jpg")));

        CListWidgetHeir *strip = window->form()->fileListWidget;
        QCOMPARE(strip->count(), kind.isEmpty() ? 30 : 29);
        QCOMPARE(selectedRows(strip), QList<int>{selectedRow});
        QCOMPARE(window->form()->grpb_ascan->title(), QString("Scan %1.jpg").arg(kind.isEmpty() ? 14 : 1));
        // Shown whole as the strip counts it: its last pixel column may be one past the viewport's.
        const QRect rect = strip->visualItemRect(strip->item(selectedRow));
        QVERIFY(rect.left() >= 0 && rect.right() <= strip->viewport()->width() && rect.top() >= 0);

        // An icon reports its picture's size once it has read the picture, and none before.
        const auto hasRead = [strip](int row) { return !strip->item(row)->icon().availableSizes().isEmpty(); };
        QTRY_COMPARE(strip->item(selectedRow)->icon().availableSizes(), QList<QSize>{QSize(240, 320)});
        int unseen = 0;
        for (int row = 0; row < strip->count(); ++row) {
            if (strip->viewport()->rect().intersects(strip->visualItemRect(strip->item(row))))
                continue;
            ++unseen;
            QVERIFY2(!hasRead(row), qPrintable(QString::number(row)));
        }
        QVERIFY(unseen >= 15);
        const int far = selectedRow == 0 ? strip->count() - 1 : 0;
        strip->scrollToItem(strip->item(far));
        QTRY_VERIFY(hasRead(far));
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "button";
        QTest::newRow("Escape key") << "escape";
        QTest::newRow("window closed") << "close";
        QTest::newRow("another folder opened: replaces the loading") << "nested";
    }
    // After the third file of 30, while the loading lets events through.
    void cancel()
    {
        QFETCH(QString, how);
        const bool nested = how == QLatin1String("nested");
        QTemporaryDir dir, inner;
        QVERIFY(writeEntries(dir.path(), numbered(1, 30)) && writeEntries(inner.path(), numbered(1, 3)));
        QVERIFY(showWindow());
        CListWidgetHeir *strip = window->form()->fileListWidget;
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        const auto closeWatch = qScopeGuard([watch] { ::close(watch); });
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_OPEN) >= 0);
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        int most = 0; // items in the strip at most
        bool acted = false;
        connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            most = qMax(most, strip->count());
            if (acted || strip->count() != 3)
                return;
            acted = true;
            QMetaObject::invokeMethod(this, [&] {
                QDialog *dialog = window->loadingWindow();
                QVERIFY(dialog && dialog->isVisible());
                if (nested)
                    open(inner.filePath(QStringLiteral("2.jpg")));
                else if (how == QLatin1String("button"))
                    QTest::mouseClick(dialog->findChild<QPushButton *>("btn_cancel"), Qt::LeftButton);
                else if (how == QLatin1String("escape"))
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->close();
            }, Qt::QueuedConnection);
        });
        open(dir.filePath(QStringLiteral("1.jpg")));

        QVERIFY(acted);
        QCOMPARE(most, 3);
        QCOMPARE(openedNames(watch), (QSet<QString>{"1.jpg", "2.jpg", "3.jpg"}));
        QCOMPARE(strip->paths(), nested ? numbered(1, 3, inner.path()) : QStringList());
        QCOMPARE(selectedRows(strip), nested ? QList<int>{1} : QList<int>());
        QCOMPARE(window->dataDirectory(), nested ? inner.path() : dir.path());
        QCOMPARE(window->form()->grpb_listWidget->title(),
                 nested ? QDir::toNativeSeparators(inner.path()) : QString());
        QCOMPARE(window->form()->tbtn_save->isEnabled(), nested);
        QCOMPARE(watcher.progress.last(), nested ? 100 : 10);
        QVERIFY(!window->loading() && !window->loadingWindow());
        QCOMPARE(watcher.dialogs.size(), nested ? 2 : 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!watcher.dialogs.first() && !watcher.dialogs.last());
    }

    void whileInstrumentShown_data()
    {
        QTest::addColumn<QString>("action"); // a name to open, "" a cancelled dialog, or "button"
        QTest::addColumn<bool>("folderFirst");
        QTest::newRow("bad name: markup stays text") << "<img src=x>.jpg" << false;
        QTest::newRow("bad name: number 0") << "0.jpg" << false;
        QTest::newRow("open dialog cancelled") << "" << false;
        QTest::newRow("instrument button, its files shown: nothing happens") << "button" << false;
        QTest::newRow("instrument button, a folder shown: its files again") << "button" << true;
    }
    void whileInstrumentShown()
    {
        QFETCH(QString, action);
        QFETCH(bool, folderFirst);
        QTemporaryDir device, folder;
        QVERIFY(writeEntries(device.path(), numbered(1, 4)) && writeEntries(folder.path(), numbered(1, 3)));
        const QString root = device.path() + QLatin1Char('/'); // a root ends with a separator
        env->machine.plugInstruments({root});
        ProgressWatcher watcher(QStringLiteral("dlg_infoLoad"));
        QVERIFY(showWindow()); // finds the instrument and loads its files before it is shown
        Ui::CDataManagerTempl *ui = window->form();
        QCOMPARE(ui->fileListWidget->paths(), numbered(1, 4, root));
        if (folderFirst) {
            open(folder.filePath(QStringLiteral("2.jpg")));
            QCOMPARE(ui->fileListWidget->paths(), numbered(1, 3, folder.path()));
        }
        ui->fileListWidget->setCurrentRow(2);
        const QString title = ui->grpb_ascan->title();
        const QImage picture = ui->frameGraph->currentImage();
        QVERIFY(!picture.isNull());
        if (action == QLatin1String("button"))
            QMetaObject::invokeMethod(window.get(), "slot_loadDataFromDevice");
        else
            open(action.isEmpty() ? QString() : folder.filePath(action));

        const bool badName = !action.isEmpty() && action != QLatin1String("button");
        const QString text = QStringLiteral("Incorrect file name \"%1\"!\nYou should enter another one!").arg(action);
        QCOMPARE(env->dialogs->warnings, badName ? QStringList{text} : QStringList());
        QCOMPARE(env->dialogs->warningTitles, badName ? QStringList{"Scanlet"} : QStringList());
        QCOMPARE(ui->fileListWidget->paths(), numbered(1, 4, root));
        QCOMPARE(window->dataDirectory(), root);
        QCOMPARE(watcher.firstTexts, (folderFirst ? QStringList{InstrumentText, DefaultText, InstrumentText}
                                                  : QStringList{InstrumentText}));
        QCOMPARE(selectedRows(ui->fileListWidget), QList<int>{folderFirst ? 0 : 2}); // nothing chosen: the first
        QCOMPARE(ui->grpb_ascan->title(), folderFirst ? QStringLiteral("Scan 1.jpg") : title);
        QVERIFY(folderFirst || ui->frameGraph->currentImage() == picture);
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
