#ifndef LOADINGDIALOG_H
#define LOADINGDIALOG_H

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;

struct LoadingDialogWidgets
{
    QDialog *dialog = nullptr;
    QLabel *label = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *cancel = nullptr;
};

// The "Data Loading" window: no parent, application modal, fixed 380 x 170, texts translated
// in its own context. Cancel rejects it; the caller connects rejected().
LoadingDialogWidgets buildLoadingDialog();

#endif // LOADINGDIALOG_H
