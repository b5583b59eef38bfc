#ifndef FAKES_H
#define FAKES_H

#include <QDir>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include "acquisition/instrumentplatform.h"
#include "app/dialogs.h"

// The disks and drives the window's platform sees; tests change them at will. Empty: a machine
// without any disk, so the real machine's disks never matter to a test.
struct FakeMachine
{
    struct Disk
    {
        QByteArray descriptor;
        bool readable = true;
        int number = -1;   // the number the system gave it; -1: its place in the list
    };
    QVector<Disk> disks;
    QMap<QString, int> drives;   // root ("E:/") -> number of the disk holding it; -1: cannot be opened
    QStringList opticalDrives;   // roots among `drives` whose volume is a CD-ROM's, numbered apart
    QString volume;              // what tells the volume at a present root from another
    int opened = 0, closed = 0;  // disk lists taken and released

    // One instrument disk per root, in this order, each root its own disk's only drive.
    void plugInstruments(const QStringList &roots);
};

// A storage device descriptor: a binary header with zero bytes, then NUL-terminated strings.
QByteArray storageDescriptor(const QByteArray &vendor);

class FakePlatform : public InstrumentPlatform
{
public:
    explicit FakePlatform(FakeMachine *machine) : m(machine) {}
    bool openDiskList() override { ++m->opened; return true; }
    void closeDiskList() override { ++m->closed; }
    bool diskAt(int index) override { return index >= 0 && index < m->disks.size(); }
    bool readDiskDescriptor(int index, QByteArray &descriptor) override;
    QStringList driveRoots() override { return m->drives.keys(); }
    int diskNumber(int index) override;
    VolumeDevice volumeDevice(const QString &drive) override;
    // Roots come back with the native separator.
    bool rootPresent(const QString &root) override
    {
        return m->drives.contains(QDir::fromNativeSeparators(root));
    }
    QString rootIdentity(const QString &root) override { return rootPresent(root) ? m->volume : QString(); }

private:
    FakeMachine *m;
};

// Every value a progress dialog (by object name) shows, from the first shown when `fromShown`.
class ProgressWatcher : public QObject
{
public:
    explicit ProgressWatcher(const QString &dialogName, bool fromShown = false);
    ~ProgressWatcher() override;
    bool eventFilter(QObject *object, QEvent *event) override;

    QString name;
    bool fromShown;
    QList<QPointer<QObject>> dialogs;
    QList<int> progress;
};

// Answers the window's modal dialogs and records what they were asked.
class FakeDialogs : public Dialogs
{
public:
    QString openAnswer;               // the file "Open File" returns; empty: cancelled
    QStringList directoryAnswers;     // taken in turn; an empty answer is a cancelled dialog
    QMessageBox::StandardButton questionAnswer = QMessageBox::No;
    QString pdfPath;                  // the print dialog prints here; empty: cancelled
    QString offeredPdf;               // the printer's file name when the print dialog opened
    QString saveAnswer;               // the file "Export Settings" writes; empty: cancelled
    int saveFilterIndex = 0;          // the kind chosen among the save dialog's filters
    QStringList questions, warnings;
    int printDialogs = 0;             // times the print dialog was asked

    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override { return openAnswer; }
    QString getExistingDirectory(QWidget *, const QString &, const QString &) override;
    QMessageBox::StandardButton warning(QWidget *, const QString &title, const QString &text) override;
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &text) override;
    QString getSaveFileName(QWidget *, const QString &, const QString &, const QString &filter,
                            QString *selectedFilter) override;
    bool execPrintDialog(QPrinter *printer, QWidget *, const QList<QWidget *> &) override;
    // Other dialogs are shown and refused at once; a print preview tells how many sheets it showed.
    int previewPages = -1;
    int exec(QDialog &dialog) override;
};

// Installs FakeDialogs (owned by Dialogs) and a platform over `machine` (no disk at first) for
// windows made from now on; the destructor puts the real ones back.
class FakeEnvironment
{
public:
    FakeEnvironment();
    ~FakeEnvironment();
    FakeDialogs *dialogs;
    FakeMachine machine;
};

#endif // FAKES_H
