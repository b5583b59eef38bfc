#include "loadingdialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

LoadingDialogWidgets buildLoadingDialog()
{
    LoadingDialogWidgets w;
    w.dialog = new QDialog(nullptr);
    w.dialog->setObjectName(QStringLiteral("dlg_infoLoad"));
    w.dialog->setWindowModality(Qt::ApplicationModal);
    w.dialog->resize(380, 170);
    w.dialog->setMinimumSize(380, 170);
    w.dialog->setMaximumSize(380, 170);
    w.dialog->setModal(true);

    w.label = new QLabel(w.dialog);
    w.label->setObjectName(QStringLiteral("lbl_infoLoading"));
    // The label wraps: the instrument's message takes up to four lines at a 12-point font.
    w.label->setGeometry(10, 5, 360, 85);
    w.label->setAlignment(Qt::AlignJustify | Qt::AlignVCenter);
    w.label->setWordWrap(true);

    w.progress = new QProgressBar(w.dialog);
    w.progress->setObjectName(QStringLiteral("prgb_loading"));
    w.progress->setGeometry(10, 95, 360, 24);
    w.progress->setValue(0);

    w.cancel = new QPushButton(w.dialog);
    w.cancel->setObjectName(QStringLiteral("btn_cancel"));
    w.cancel->setGeometry(125, 130, 150, 30);

    w.dialog->setWindowTitle(QCoreApplication::translate("dlg_infoLoad", "Data Loading"));
    w.label->setText(QString());
    w.cancel->setText(QCoreApplication::translate("dlg_infoLoad", "Cancel"));
    QObject::connect(w.cancel, SIGNAL(clicked()), w.dialog, SLOT(reject()));
    return w;
}
