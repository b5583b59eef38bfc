#ifndef SAVINGDIALOG_H
#define SAVINGDIALOG_H

class QDialog;
class QLabel;
class QProgressBar;

struct SavingDialogWidgets
{
    QDialog *dialog = nullptr;
    QLabel *label = nullptr;
    QProgressBar *progress = nullptr;
};

// The "Data Saving" window: no parent, no title-bar buttons, application modal, 400 x 120.
SavingDialogWidgets buildSavingDialog();

#endif // SAVINGDIALOG_H
