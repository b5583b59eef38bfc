#include "savingdialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>

SavingDialogWidgets buildSavingDialog()
{
    SavingDialogWidgets w;
    w.dialog = new QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint);
    if (w.dialog->objectName().isEmpty())
        w.dialog->setObjectName(QStringLiteral("dlg_infoSave"));
    w.dialog->setWindowModality(Qt::ApplicationModal);
    w.dialog->setModal(true);
    w.dialog->resize(400, 120);
    w.dialog->setMinimumSize(400, 120);
    w.dialog->setMaximumSize(400, 120);

    w.label = new QLabel(w.dialog);
    w.label->setObjectName(QStringLiteral("lbl_infoSaving"));
    w.label->setGeometry(10, 10, 380, 40);
    w.label->setAlignment(Qt::AlignJustify | Qt::AlignVCenter);

    w.progress = new QProgressBar(w.dialog);
    w.progress->setObjectName(QStringLiteral("prgb_saving"));
    w.progress->setGeometry(10, 60, 380, 40);
    w.progress->setValue(0);

    w.dialog->setWindowTitle(QCoreApplication::translate("dlg_infoSave", "Data Saving"));
    w.label->setText(QCoreApplication::translate("dlg_infoSave", "Data are being saved. Saved:"));
    QMetaObject::connectSlotsByName(w.dialog);
    return w;
}
