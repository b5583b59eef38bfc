#include "fakes.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QPageSize>
#include <QProgressBar>

#include <QPrinter>

QString FakeDialogs::getExistingDirectory(QWidget *, const QString &, const QString &)
{
    return directoryAnswers.isEmpty() ? QString() : directoryAnswers.takeFirst();
}

QMessageBox::StandardButton FakeDialogs::warning(QWidget *, const QString &, const QString &text)
{
    warnings << text;
    return QMessageBox::Ok;
}

QMessageBox::StandardButton FakeDialogs::question(QWidget *, const QString &, const QString &text)
{
    questions << text;
    return questionAnswer;
}

QString FakeDialogs::getSaveFileName(QWidget *, const QString &, const QString &, const QString &filter,
                                     QString *selectedFilter)
{
    if (selectedFilter)
        *selectedFilter = filter.split(QStringLiteral(";;")).value(saveFilterIndex);
    return saveAnswer;
}

bool FakeDialogs::execPrintDialog(QPrinter *printer, QWidget *, const QList<QWidget *> &)
{
    ++printDialogs;
    offeredPdf = printer->outputFileName();
    if (pdfPath.isEmpty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return true;
}

int FakeDialogs::exec(QDialog &dialog)
{
    dialog.show();
    if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
        previewPages = preview->pageCount();
    return QDialog::Rejected;
}

FakeEnvironment::FakeEnvironment()
    : dialogs(new FakeDialogs)
{
    Dialogs::install(dialogs);
    FakeMachine *m = &machine;
    setInstrumentPlatformFactory([m] { return std::make_unique<FakePlatform>(m); });
}

FakeEnvironment::~FakeEnvironment()
{
    Dialogs::install(nullptr);
    setInstrumentPlatformFactory({});
}

void FakeMachine::plugInstruments(const QStringList &roots)
{
    disks.fill(Disk{storageDescriptor("KINETIS")}, roots.size());
    drives.clear();
    for (const QString &root : roots)
        drives.insert(root, drives.size());
}

QByteArray storageDescriptor(const QByteArray &vendor)
{
    return QByteArray("\x01\0\0\0\x28\0\0\0", 8) + vendor + QByteArray("\0Disk\0" "1.0\0" "0001\0", 15);
}

bool FakePlatform::readDiskDescriptor(int index, QByteArray &descriptor)
{
    const QByteArray bytes = m->disks.at(index).descriptor.left(descriptor.size());
    descriptor.replace(0, bytes.size(), bytes);  // filled even when unreadable: must be ignored
    return m->disks.at(index).readable;
}

int FakePlatform::diskNumber(int index)
{
    const int number = m->disks.at(index).number;
    return number >= 0 ? number : index;
}

VolumeDevice FakePlatform::volumeDevice(const QString &drive)
{
    VolumeDevice volume;
    volume.number = m->drives.value(drive + '/', -1);
    volume.isDisk = !m->opticalDrives.contains(drive + '/');
    return volume;
}

ProgressWatcher::ProgressWatcher(const QString &dialogName, bool fromShown)
    : name(dialogName)
    , fromShown(fromShown)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ProgressWatcher::~ProgressWatcher()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ProgressWatcher::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() != QEvent::Show || object->objectName() != name || dialogs.contains(object))
        return false;
    dialogs << object;
    auto *bar = object->findChild<QProgressBar *>();
    if (bar && fromShown)
        progress << bar->value();
    if (bar)
        connect(bar, &QProgressBar::valueChanged, this, [this](int value) { progress << value; });
    return false;
}
