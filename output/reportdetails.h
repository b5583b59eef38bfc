#ifndef REPORTDETAILS_H
#define REPORTDETAILS_H

#include <QDate>
#include <QDialog>
#include <QString>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// What the inspector adds to every report page, and how records are fitted to sheets.
struct ReportDetails
{
    QString organisation;
    QString object;
    QString operatorName;        // the inspector who made the A-scans
    QString notes;
    bool fitOnSheet = true;
    QString reportNumber;
    QDate inspectionDate;        // invalid: not printed
    QString place;
    QString instrumentSerial;
    QString procedure;           // the procedure or standard followed
    QString acceptanceCriterion;
    QString certificationLevel;  // the operator's
    QString reviewer;

    bool isEmpty() const;
};

// Every field is kept short enough to print on a sheet: a line field is one line of at most
// LineLimit characters (CodeLimit for numbers and levels), the notes at most NotesLimit
// characters on NotesLines lines. Values read back from the settings are cut the same way.
namespace ReportLimits {
constexpr int CodeLimit = 40;
constexpr int LineLimit = 100;
constexpr int NotesLimit = 500;
constexpr int NotesLines = 10;
}
ReportDetails boundedReportDetails(ReportDetails details);

// Remembered between runs in the user's settings.
ReportDetails loadReportDetails();
void saveReportDetails(const ReportDetails &details);

// The block printed under the letterhead: the filled fields, escaped; empty when none is filled.
QString reportDetailsHtml(const ReportDetails &details);
// Signature and date lines for the operator and the reviewer who are named; empty when neither is.
QString signatureHtml(const ReportDetails &details);

// The details and the fit choice: the print dialog's "Report" tab where the platform's dialog
// takes one, and the body of the Report Details dialog everywhere.
class ReportDetailsTab : public QWidget
{
    Q_OBJECT

public:
    explicit ReportDetailsTab(const ReportDetails &details, QWidget *parent = nullptr);
    ReportDetails details() const;

private:
    QLineEdit *line(const QString &name, const QString &text, int limit);

    QLineEdit *reportNumber;
    QCheckBox *dated;
    QDateEdit *inspectionDate;
    QLineEdit *place;
    QLineEdit *organisation;
    QLineEdit *object;
    QLineEdit *instrumentSerial;
    QLineEdit *procedure;
    QLineEdit *acceptanceCriterion;
    QLineEdit *operatorName;
    QLineEdit *certificationLevel;
    QLineEdit *reviewer;
    QPlainTextEdit *notes;
    QCheckBox *fitOnSheet;
};

// The same fields in a dialog of their own, saved when accepted.
class ReportDetailsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReportDetailsDialog(QWidget *parent = nullptr);
    ReportDetails details() const { return tab->details(); }

private:
    ReportDetailsTab *tab;
};

#endif // REPORTDETAILS_H
