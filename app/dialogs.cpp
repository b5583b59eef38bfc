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

QString Dialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter, QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
}

bool Dialogs::execPrintDialog(QPrinter *printer, QWidget *parent, const QList<QWidget *> &optionTabs)
{
    QPrintDialog dialog(printer, parent);
    dialog.setOptionTabs(optionTabs);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The tabs belong to the caller: taken back before the dialog deletes its children.
    for (QWidget *tab : optionTabs)
        tab->setParent(nullptr);
    return accepted;
}

int Dialogs::exec(QDialog &dialog)
{
    return dialog.exec();
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
