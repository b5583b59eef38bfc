#ifndef REPORTDETAILS_H
#define REPORTDETAILS_H

#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// What the inspector adds to every report page, and how records are fitted to sheets.
struct ReportDetails
{
    QString organisation;
    QString object;
    QString operatorName;
    QString notes;
    bool fitOnSheet = true;

    bool isEmpty() const;
};

// Remembered between runs in the user's settings.
ReportDetails loadReportDetails();
void saveReportDetails(const ReportDetails &details);

// The block printed under the letterhead: the filled fields, escaped; empty when none is filled.
QString reportDetailsHtml(const ReportDetails &details);

// The "Report" tab of the print dialog.
class ReportDetailsTab : public QWidget
{
    Q_OBJECT

public:
    explicit ReportDetailsTab(const ReportDetails &details, QWidget *parent = nullptr);
    ReportDetails details() const;

private:
    QLineEdit *organisation;
    QLineEdit *object;
    QLineEdit *operatorName;
    QPlainTextEdit *notes;
    QCheckBox *fitOnSheet;
};

#endif // REPORTDETAILS_H
