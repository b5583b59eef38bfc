#include "dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>

#include <memory>

namespace {

std::unique_ptr<Dialogs> &installed()
{
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}

QMessageBox::StandardButton plainMessage(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                         const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (box.exec() == -1)
        return QMessageBox::Cancel;
    return box.standardButton(box.clickedButton());
}

} // namespace

QString Dialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, nullptr, QFileDialog::Options());
}

QString Dialogs::getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::DontResolveSymlinks);
}

QMessageBox::StandardButton Dialogs::warning(QWidget *parent, const QString &title, const QString &text)
{
    return plainMessage(QMessageBox::Warning, parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton Dialogs::question(QWidget *parent, const QString &title, const QString &text)
{
    return plainMessage(QMessageBox::Question, parent, title, text, QMessageBox::Yes | QMessageBox::No);
}

bool Dialogs::execPrintDialog(QPrinter *printer, QWidget *parent)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

Dialogs &Dialogs::current()
{
    if (!installed())
        installed().reset(new Dialogs);
    return *installed();
}

void Dialogs::install(Dialogs *dialogs)
{
    installed().reset(dialogs);
}
