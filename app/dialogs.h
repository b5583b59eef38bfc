#ifndef DIALOGS_H
#define DIALOGS_H

#include <QMessageBox>
#include <QString>

class QDialog;
class QPrinter;
class QWidget;

// The modal dialogs the window asks. The default shows the real ones; tests install their own
// answers. Message boxes show their text as plain text, so a file name is never read as markup.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter);
    virtual QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);
    virtual QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text);
    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text);
    // `filter` may offer several kinds (";;"); `selectedFilter` then gives the one chosen.
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter, QString *selectedFilter = nullptr);
    // The extra tabs show beside the dialog's own options where the platform's dialog takes them.
    virtual bool execPrintDialog(QPrinter *printer, QWidget *parent, const QList<QWidget *> &optionTabs);
    // Any other dialog of the window, run modally.
    virtual int exec(QDialog &dialog);

    static Dialogs &current();
    // Takes ownership; nullptr restores the real dialogs.
    static void install(Dialogs *dialogs);
};

#endif // DIALOGS_H
