// Data loading through the real main window: order, progress, selection, the bad-name warning,
// cancelling, loading from the instrument, and thumbnails that are read only when drawn.
#include <QtTest>

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <memory>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "acquisition/fileorder.h"
#include "acquisition/instrumentplatform.h"
#include "app/cdatamanager.h"
#include "app/dialogs.h"
#include "ascanbuilder.h"
#include "ui_cdatamanager.h"

namespace {

const QString DefaultText = QStringLiteral("The program is loading available data. Please, wait.");
const QString LoadedText = QStringLiteral("Data are being loaded. Loaded:");
const QString InstrumentText = QStringLiteral("An inserted ultrasonic defectoscope was detected. "
                                              "The program is looking for\navailable data. Please, wait.");

// No disks at all, or one instrument disk whose only drive is `root`.
class FakePlatform : public InstrumentPlatform
{
public:
    explicit FakePlatform(const QString &root = QString()) : root(root) {}
    bool openDiskList() override { return true; }
    void closeDiskList() override {}
    bool diskAt(int index) override { return !root.isEmpty() && index == 0; }
    bool readDiskDescriptor(int, QByteArray &descriptor) override
    {
        descriptor.replace(8, 7, "KINETIS");
        return true;
    }
    QStringList driveRoots() override { return root.isEmpty() ? QStringList() : QStringList(root); }
    int volumeDiskNumber(const QString &drive) override { return drive + QLatin1Char('/') == root ? 0 : -1; }
    bool rootPresent(const QString &) override { return true; }

private:
    QString root;
};

class FakeDialogs : public Dialogs
{
public:
    QString answer;
    QStringList warnings; // "title|text"
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return answer;
    }
    QMessageBox::StandardButton warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + QLatin1Char('|') + text;
        return QMessageBox::Ok;
    }
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &) override
    {
        return QMessageBox::No;
    }
};

// Every "Data Loading" window shown: its label when shown, then each progress value together
// with the label at that moment.
class LoadingWatcher : public QObject
{
public:
    LoadingWatcher() { qApp->installEventFilter(this); }
    ~LoadingWatcher() override { qApp->removeEventFilter(this); }

    QList<QPointer<QDialog>> dialogs;
    QStringList firstTexts;
    QList<int> progress;
    QStringList labels;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(object);
        if (event->type() != QEvent::Show || !dialog || object->objectName() != QLatin1String("dlg_infoLoad"))
            return false;
        for (const QPointer<QDialog> &seen : qAsConst(dialogs))
            if (seen == dialog)
                return false;
        dialogs << dialog;
        auto *label = dialog->findChild<QLabel *>(QStringLiteral("lbl_infoLoading"));
        auto *bar = dialog->findChild<QProgressBar *>(QStringLiteral("prgb_loading"));
        firstTexts << (label ? label->text() : QStringLiteral("<no label>"));
        if (bar && label)
            connect(bar, &QProgressBar::valueChanged, this, [this, label](int value) {
                progress << value;
                labels << label->text();
            });
        return false;
    }
};

// The names of the files opened in a directory, as the kernel reports them.
class OpenedFiles
{
public:
    explicit OpenedFiles(const QString &dir)
        : fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (fd >= 0 && inotify_add_watch(fd, QFile::encodeName(dir).constData(), IN_OPEN) < 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~OpenedFiles()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool isValid() const { return fd >= 0; }
    QSet<QString> names()
    {
        alignas(inotify_event) char buffer[16384];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                if (event->len > 0 && !(event->mask & IN_ISDIR))
                    seen.insert(QFile::decodeName(event->name));
                p += sizeof(inotify_event) + event->len;
            }
        }
        return seen;
    }

private:
    int fd;
    QSet<QString> seen;
};

// Entries are "name" for an A-scan titled "Scan name", or "name:nosig", "name:notitle",
// "name:dir", "name:text".
bool writeEntries(const QString &dir, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        const QString kind = entry.section(QLatin1Char(':'), 1);
        const QString path = dir + QLatin1Char('/') + name;
        AscanFields ascan;
        ascan.title = "Scan " + name.toUtf8();
        bool ok = true;
        if (kind == QLatin1String("dir")) {
            ok = QDir(dir).mkdir(name);
        } else if (kind == QLatin1String("text")) {
            ok = writeBytes(path, "not a picture");
        } else {
            if (kind == QLatin1String("nosig"))
                ascan.signature = "Z4171";
            else if (kind == QLatin1String("notitle"))
                ascan.title = QByteArray();
            ok = writeAscan(path, ascan);
        }
        if (!ok)
            return false;
    }
    return true;
}

QStringList numbered(int from, int to)
{
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << QStringLiteral("%1.jpg").arg(i);
    return names;
}

QStringList pathsIn(const QString &dir, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names)
        paths << dir + QDir::separator() + name;
    return paths;
}

QStringList texts(const QListWidget *strip)
{
    QStringList result;
    for (int row = 0; row < strip->count(); ++row)
        result << strip->item(row)->text();
    return result;
}

QList<int> selectedRows(const QListWidget *strip)
{
    QList<int> rows;
    for (QListWidgetItem *item : strip->selectedItems())
        rows << strip->row(item);
    return rows;
}

// Shown whole as the strip itself counts it: EnsureVisible may leave the item's last pixel
// column one past the viewport's.
bool shownWhole(const QListWidget *strip, int row)
{
    const QRect rect = strip->visualItemRect(strip->item(row));
    return rect.left() >= 0 && rect.right() <= strip->viewport()->width() && rect.top() >= 0;
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fileNumber_data();
    void fileNumber();
    void loadDirectory_data();
    void loadDirectory();
    void selectsChosenFile_data();
    void selectsChosenFile();
    void badNameChangesNothing_data();
    void badNameChangesNothing();
    void cancel_data();
    void cancel();
    void nestedLoadingStopsOuter();
    void nothingToLoad_data();
    void nothingToLoad();
    void instrumentButton_data();
    void instrumentButton();
    void thumbnailsReadOnlyWhenDrawn();

private:
    std::unique_ptr<CDataManager> shownWindow();
    void open(CDataManager *window, const QString &path);

    FakeDialogs *dialogs = nullptr;
};

void TestLoading::init()
{
    setInstrumentPlatformFactory([] { return std::make_unique<FakePlatform>(); });
    dialogs = new FakeDialogs;
    Dialogs::install(dialogs);
}

void TestLoading::cleanup()
{
    Dialogs::install(nullptr);
    dialogs = nullptr;
    setInstrumentPlatformFactory({});
}

std::unique_ptr<CDataManager> TestLoading::shownWindow()
{
    auto window = std::make_unique<CDataManager>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

void TestLoading::open(CDataManager *window, const QString &path)
{
    dialogs->answer = path;
    QMetaObject::invokeMethod(window, "slot_loadDataDir");
}

void TestLoading::fileNumber_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("running number") << "12.jpg" << 12;
    QTest::newRow("leading zero") << "05.jpg" << 5;
    QTest::newRow("only the part before the first dot") << "7.old.jpg" << 7;
    QTest::newRow("negative") << "-3.jpg" << -3;
    QTest::newRow("zero") << "00.jpg" << 0;
    QTest::newRow("not a number") << "scan.jpg" << 0;
    QTest::newRow("beyond int") << "99999999999.jpg" << 0;
    QTest::newRow("nothing before the dot") << ".jpg" << 0;
}

void TestLoading::fileNumber()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(::fileNumber(name), number);
}

void TestLoading::loadDirectory_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("workList"); // counted, in order
    QTest::addColumn<QStringList>("listed");   // in the strip, in order
    QTest::addColumn<QList<int>>("progress");

    const QStringList three = {"1.jpg", "2.jpg", "10.jpg"};
    QTest::newRow("numeric, not by name") << QStringList{"10.jpg", "2.jpg", "1.jpg"} << three << three
                                          << QList<int>{33, 67, 100};
    QTest::newRow("eight files") << numbered(1, 8) << numbered(1, 8) << numbered(1, 8)
                                 << QList<int>{13, 25, 38, 50, 63, 75, 88, 100};
    const QStringList fives = {"5.jpg", "05.jpg"};
    QTest::newRow("same number: later name first") << fives << fives << fives << QList<int>{50, 100};
    const QStringList sevens = {"7.old.jpg", "7.jpg"};
    QTest::newRow("7.old.jpg before 7.jpg") << sevens << sevens << sevens << QList<int>{50, 100};
    const QStringList negative = {"-3.jpg", "1.jpg", "2.jpg"};
    QTest::newRow("negative first") << QStringList{"2.jpg", "1.jpg", "-3.jpg"} << negative << negative
                                    << QList<int>{33, 67, 100};
    QTest::newRow("zero and names neither listed nor counted")
        << QStringList{"0.jpg", "00.jpg", "scan.jpg", "IMG.JPG", "99999999999.jpg", "3.jpg"}
        << QStringList{"3.jpg"} << QStringList{"3.jpg"} << QList<int>{100};
    const QStringList cased = {"8.JPG", "9.jpg"};
    QTest::newRow("any case of .jpg, files only") << QStringList{"9.jpg", "8.JPG", "4.png", "11.jpg:dir"}
                                                  << cased << cased << QList<int>{50, 100};
    QTest::newRow("not A-scans counted, not listed")
        << QStringList{"1.jpg", "2.jpg:nosig", "3.jpg:notitle", "4.jpg:text", "5.jpg"}
        << numbered(1, 5) << QStringList{"1.jpg", "5.jpg"} << QList<int>{20, 40, 60, 80, 100};
}

void TestLoading::loadDirectory()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, workList);
    QFETCH(QStringList, listed);
    QFETCH(QList<int>, progress);
    QTemporaryDir dir;
    QVERIFY(writeEntries(dir.path(), entries));

    QCOMPARE(ascanWorkList(dir.path()), workList);
    QStringList listing; // what the directory listing gives: "*.jpg" files in name order
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (!entry.endsWith(QLatin1String(":dir")) && name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
            listing << name;
    }
    std::sort(listing.begin(), listing.end());
    QCOMPARE(orderByFileNumber(listing), workList);

    auto window = shownWindow();
    QVERIFY(window);
    LoadingWatcher watcher;
    open(window.get(), dir.filePath(listed.first()));

    CListWidgetHeir *strip = window->form()->fileListWidget;
    QCOMPARE(strip->paths(), pathsIn(dir.path(), listed));
    QStringList titles;
    for (const QString &name : listed)
        titles << QStringLiteral("Scan ") + name;
    QCOMPARE(texts(strip), titles);
    QCOMPARE(watcher.firstTexts, QStringList{DefaultText});
    QCOMPARE(watcher.progress, progress);
    QCOMPARE(watcher.labels, QStringList(QVector<QString>(progress.size(), LoadedText).toList()));
    QVERIFY(!window->loading());
    QVERIFY(!window->loadingWindow());
}

void TestLoading::selectsChosenFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("selectedRow");
    QTest::newRow("chosen A-scan selected and scrolled to") << QString() << 13;
    QTest::newRow("chosen file no A-scan: first selected") << QStringLiteral(":nosig") << 0;
}

void TestLoading::selectsChosenFile()
{
    QFETCH(QString, kind);
    QFETCH(int, selectedRow);
    QTemporaryDir dir;
    QStringList entries = numbered(1, 30);
    entries[13] += kind;
    QVERIFY(writeEntries(dir.path(), entries));
    auto window = shownWindow();
    QVERIFY(window);
    open(window.get(), dir.filePath(QStringLiteral("14.jpg")));

    Ui::CDataManagerTempl *ui = window->form();
    CListWidgetHeir *strip = ui->fileListWidget;
    QCOMPARE(strip->count(), kind.isEmpty() ? 30 : 29);
    QCOMPARE(selectedRows(strip), QList<int>{selectedRow});
    QVERIFY(shownWhole(strip, selectedRow));
    if (selectedRow == 0)
        QCOMPARE(strip->horizontalScrollBar()->value(), 0);
    QCOMPARE(ui->grpb_ascan->title(), QStringLiteral("Scan %1.jpg").arg(kind.isEmpty() ? 14 : 1));
    QCOMPARE(ui->grpb_listWidget->title(), QDir::toNativeSeparators(dir.path()));
    QCOMPARE(window->dataDirectory(), dir.path());
    QVERIFY(ui->tbtn_save->isEnabled());
    QVERIFY(ui->btn_shiftRight->isEnabled() || ui->btn_shiftLeft->isEnabled());
}

void TestLoading::badNameChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("letters") << "abc.jpg";
    QTest::newRow("markup stays text") << "<img src=x>.jpg";
    QTest::newRow("zero") << "0.jpg";
    QTest::newRow("dialog cancelled") << QString();
}

void TestLoading::badNameChangesNothing()
{
    QFETCH(QString, name);
    QTemporaryDir shown, other;
    QVERIFY(writeEntries(shown.path(), numbered(1, 3)));
    QVERIFY(writeEntries(other.path(), numbered(1, 3)));
    auto window = shownWindow();
    QVERIFY(window);
    open(window.get(), shown.filePath(QStringLiteral("2.jpg")));
    Ui::CDataManagerTempl *ui = window->form();
    const QStringList paths = ui->fileListWidget->paths();
    const QString title = ui->grpb_ascan->title();
    const QImage picture = ui->frameGraph->currentImage();
    QVERIFY(!picture.isNull());

    LoadingWatcher watcher;
    open(window.get(), name.isNull() ? QString() : other.filePath(name));

    if (name.isNull())
        QVERIFY(dialogs->warnings.isEmpty());
    else
        QCOMPARE(dialogs->warnings, QStringList(QStringLiteral("Scanlet|Incorrect file name \"") + name
                                                + QStringLiteral("\"!\nYou should enter another one!")));
    QVERIFY(watcher.dialogs.isEmpty());
    QCOMPARE(window->dataDirectory(), shown.path());
    QCOMPARE(ui->fileListWidget->paths(), paths);
    QCOMPARE(selectedRows(ui->fileListWidget), QList<int>{1});
    QCOMPARE(ui->grpb_ascan->title(), title);
    QCOMPARE(ui->frameGraph->currentImage(), picture);
}

void TestLoading::cancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("window closed") << "close";
}

void TestLoading::cancel()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    QVERIFY(writeEntries(dir.path(), numbered(1, 30)));
    auto window = shownWindow();
    QVERIFY(window);
    CListWidgetHeir *strip = window->form()->fileListWidget;
    OpenedFiles opened(dir.path());
    QVERIFY(opened.isValid());
    LoadingWatcher watcher;
    int most = 0;
    // The user's action arrives while the loading lets events through after the third file.
    connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
        most = qMax(most, strip->count());
        if (strip->count() != 3)
            return;
        QMetaObject::invokeMethod(this, [&] {
            QDialog *dialog = window->loadingWindow();
            QVERIFY(dialog && dialog->isVisible());
            auto *button = dialog->findChild<QPushButton *>(QStringLiteral("btn_cancel"));
            if (how == QLatin1String("button"))
                QTest::mouseClick(button, Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
        }, Qt::QueuedConnection);
    });
    open(window.get(), dir.filePath(QStringLiteral("1.jpg")));

    QCOMPARE(most, 3);
    QCOMPARE(strip->count(), 0);
    QVERIFY(strip->paths().isEmpty());
    QVERIFY(!window->loading());
    QVERIFY(!window->loadingWindow());
    QCOMPARE(watcher.dialogs.size(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watcher.dialogs.first());
    QCOMPARE(watcher.progress.last(), 10);
    QCOMPARE(opened.names(), (QSet<QString>{"1.jpg", "2.jpg", "3.jpg"}));
    QCOMPARE(window->dataDirectory(), dir.path());
    QCOMPARE(window->form()->grpb_listWidget->title(), QString());
    QVERIFY(!window->form()->tbtn_save->isEnabled());
}

void TestLoading::nestedLoadingStopsOuter()
{
    QTemporaryDir outer, inner;
    QVERIFY(writeEntries(outer.path(), numbered(1, 30)));
    QVERIFY(writeEntries(inner.path(), numbered(1, 3)));
    auto window = shownWindow();
    QVERIFY(window);
    CListWidgetHeir *strip = window->form()->fileListWidget;
    OpenedFiles opened(outer.path());
    QVERIFY(opened.isValid());
    LoadingWatcher watcher;
    bool started = false;
    connect(strip->model(), &QAbstractItemModel::rowsInserted, this, [&] {
        if (started || strip->count() != 3)
            return;
        started = true;
        QMetaObject::invokeMethod(this, [&] { open(window.get(), inner.filePath(QStringLiteral("2.jpg"))); },
                                  Qt::QueuedConnection);
    });
    open(window.get(), outer.filePath(QStringLiteral("1.jpg")));

    QCOMPARE(strip->paths(), pathsIn(inner.path(), numbered(1, 3)));
    QCOMPARE(selectedRows(strip), QList<int>{1});
    QCOMPARE(window->dataDirectory(), inner.path());
    QCOMPARE(opened.names(), (QSet<QString>{"1.jpg", "2.jpg", "3.jpg"}));
    QVERIFY(!window->loading());
    QVERIFY(!window->loadingWindow());
    QCOMPARE(watcher.dialogs.size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watcher.dialogs.at(0) && !watcher.dialogs.at(1));
}

void TestLoading::nothingToLoad_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("directory"); // empty: the temporary one
    QTest::newRow("no .jpg file") << QStringList{"1.png", "notes.txt:text", "2.jpg:dir"} << QString();
    QTest::newRow("only unnumbered names") << QStringList{"0.jpg", "scan.jpg"} << QString();
    QTest::newRow("no A-scan among them") << QStringList{"1.jpg:nosig", "2.jpg:notitle"} << QString();
    QTest::newRow("missing directory") << QStringList() << "/nonexistent-scanlet-folder";
}

void TestLoading::nothingToLoad()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, directory);
    QTemporaryDir dir;
    QVERIFY(writeEntries(dir.path(), entries));
    if (directory.isEmpty())
        directory = dir.path();
    auto window = shownWindow();
    QVERIFY(window);
    LoadingWatcher watcher;
    open(window.get(), directory + QStringLiteral("/1.jpg"));

    QCOMPARE(watcher.dialogs.size(), 1);
    QVERIFY(!window->loadingWindow());
    QVERIFY(!window->loading());
    QCOMPARE(window->form()->fileListWidget->count(), 0);
    QCOMPARE(window->form()->grpb_listWidget->title(), QString());
    QVERIFY(!window->form()->tbtn_save->isEnabled());
    QCOMPARE(window->dataDirectory(), directory);
}

void TestLoading::instrumentButton_data()
{
    QTest::addColumn<bool>("folderShown");
    QTest::newRow("instrument's files shown: nothing happens") << false;
    QTest::newRow("a folder shown: the instrument's files again") << true;
}

void TestLoading::instrumentButton()
{
    QFETCH(bool, folderShown);
    QTemporaryDir device, folder;
    QVERIFY(writeEntries(device.path(), numbered(1, 4)));
    QVERIFY(writeEntries(folder.path(), numbered(1, 2)));
    const QString root = device.path() + QLatin1Char('/');
    setInstrumentPlatformFactory([root] { return std::make_unique<FakePlatform>(root); });
    LoadingWatcher watcher;
    auto window = shownWindow(); // finds the instrument and loads its files before it is shown
    QVERIFY(window);
    CListWidgetHeir *strip = window->form()->fileListWidget;
    QCOMPARE(window->deviceRoot(), root);
    QCOMPARE(window->dataDirectory(), root);
    // A device root ends with a separator, so the paths carry two.
    const QStringList devicePaths = pathsIn(root, numbered(1, 4));
    QCOMPARE(strip->paths(), devicePaths);
    QCOMPARE(watcher.firstTexts, QStringList{InstrumentText});
    if (folderShown) {
        open(window.get(), folder.filePath(QStringLiteral("2.jpg")));
        QCOMPARE(strip->paths(), pathsIn(folder.path(), numbered(1, 2)));
    }
    const int shownBefore = watcher.dialogs.size();
    strip->setCurrentRow(2);

    QMetaObject::invokeMethod(window.get(), "slot_loadDataFromDevice");

    QCOMPARE(strip->paths(), devicePaths);
    QCOMPARE(window->dataDirectory(), root);
    if (folderShown) {
        QCOMPARE(watcher.dialogs.size(), shownBefore + 1);
        QCOMPARE(watcher.firstTexts.last(), InstrumentText);
        QCOMPARE(selectedRows(strip), QList<int>{0}); // nothing chosen: the first item
    } else {
        QCOMPARE(watcher.dialogs.size(), shownBefore);
        QCOMPARE(selectedRows(strip), QList<int>{2}); // left alone
    }
}

void TestLoading::thumbnailsReadOnlyWhenDrawn()
{
    QTemporaryDir dir;
    QVERIFY(writeEntries(dir.path(), numbered(1, 30)));
    auto window = shownWindow();
    QVERIFY(window);
    open(window.get(), dir.filePath(QStringLiteral("1.jpg")));
    CListWidgetHeir *strip = window->form()->fileListWidget;
    QCOMPARE(strip->count(), 30);

    // An icon reports its picture's size once it has read the picture, and none before.
    const auto hasRead = [strip](int row) { return !strip->item(row)->icon().availableSizes().isEmpty(); };
    QTRY_VERIFY(hasRead(0));
    QCOMPARE(strip->item(0)->icon().availableSizes(), QList<QSize>{QSize(240, 320)});
    int unseen = 0;
    for (int row = 0; row < strip->count(); ++row) {
        if (!strip->viewport()->rect().intersects(strip->visualItemRect(strip->item(row)))) {
            QVERIFY2(!hasRead(row), qPrintable(QString::number(row)));
            ++unseen;
        }
    }
    QVERIFY(unseen >= 15);

    strip->scrollToItem(strip->item(29));
    QTRY_VERIFY(hasRead(29));
}

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
