#ifndef FAKES_H
#define FAKES_H

#include <QStringList>

#include <functional>

#include "acquisition/instrumentplatform.h"
#include "app/dialogs.h"

// A machine without any disk: the real machine's disks never matter to a test.
class NoInstrument : public InstrumentPlatform
{
public:
    bool openDiskList() override { return true; }
    void closeDiskList() override {}
    bool diskAt(int) override { return false; }
    bool readDiskDescriptor(int, QByteArray &) override { return false; }
    QStringList driveRoots() override { return {}; }
    int volumeDiskNumber(const QString &) override { return -1; }
    bool rootPresent(const QString &) override { return false; }
    QString rootIdentity(const QString &) override { return QString(); }
};

// Answers the window's modal dialogs and records what they were asked.
class FakeDialogs : public Dialogs
{
public:
    QString openAnswer;               // the file "Open File" returns; empty: cancelled
    QStringList directoryAnswers;     // taken in turn; an empty answer is a cancelled dialog
    QMessageBox::StandardButton questionAnswer = QMessageBox::No;
    QString pdfPath;                  // the print dialog prints here; empty: cancelled
    std::function<void(QPrinter *, const QList<QWidget *> &)> printChoices;   // made in the dialog
    QString saveAnswer;               // the file "Export Settings" writes; empty: cancelled
    QStringList openStarts, directoryStarts, saveStarts, questions, warnings, warningTitles;

    QString getOpenFileName(QWidget *, const QString &, const QString &dir, const QString &) override;
    QString getExistingDirectory(QWidget *, const QString &, const QString &dir) override;
    QMessageBox::StandardButton warning(QWidget *, const QString &title, const QString &text) override;
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &text) override;
    QString getSaveFileName(QWidget *, const QString &, const QString &dir, const QString &) override;
    bool execPrintDialog(QPrinter *printer, QWidget *, const QList<QWidget *> &optionTabs) override;
};

// Installs FakeDialogs (owned by Dialogs) and the disk-less platform for windows made from now
// on; the destructor puts the real ones back.
class FakeEnvironment
{
public:
    FakeEnvironment();
    ~FakeEnvironment();
    FakeDialogs *dialogs;
};

#endif // FAKES_H
