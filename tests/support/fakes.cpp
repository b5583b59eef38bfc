#include "fakes.h"

#include <QPageSize>
#include <QPrinter>

QString FakeDialogs::getOpenFileName(QWidget *, const QString &, const QString &dir, const QString &)
{
    openStarts << dir;
    return openAnswer;
}

QString FakeDialogs::getExistingDirectory(QWidget *, const QString &, const QString &dir)
{
    directoryStarts << dir;
    return directoryAnswers.isEmpty() ? QString() : directoryAnswers.takeFirst();
}

QMessageBox::StandardButton FakeDialogs::warning(QWidget *, const QString &title, const QString &text)
{
    warningTitles << title;
    warnings << text;
    return QMessageBox::Ok;
}

QMessageBox::StandardButton FakeDialogs::question(QWidget *, const QString &, const QString &text)
{
    questions << text;
    return questionAnswer;
}

QString FakeDialogs::getSaveFileName(QWidget *, const QString &, const QString &dir, const QString &)
{
    saveStarts << dir;
    return saveAnswer;
}

bool FakeDialogs::execPrintDialog(QPrinter *printer, QWidget *, const QList<QWidget *> &optionTabs)
{
    if (pdfPath.isEmpty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath);
    printer->setPageSize(QPageSize(QPageSize::A4));
    if (printChoices)
        printChoices(printer, optionTabs);
    return true;
}

FakeEnvironment::FakeEnvironment()
    : dialogs(new FakeDialogs)
{
    Dialogs::install(dialogs);
    setInstrumentPlatformFactory([] { return std::make_unique<NoInstrument>(); });
}

FakeEnvironment::~FakeEnvironment()
{
    Dialogs::install(nullptr);
    setInstrumentPlatformFactory({});
}
