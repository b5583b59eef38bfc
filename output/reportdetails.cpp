#include "reportdetails.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextStream>

#include "output/usersettings.h"

namespace {

const char *const OrganisationKey = "report/organisation";
const char *const ObjectKey = "report/object";
const char *const OperatorKey = "report/operator";
const char *const NotesKey = "report/notes";
const char *const FitKey = "report/fitOnSheet";

QString label(const char *text)
{
    return QCoreApplication::translate("ReportDetailsTab", text);
}

} // namespace

bool ReportDetails::isEmpty() const
{
    return organisation.trimmed().isEmpty() && object.trimmed().isEmpty() && operatorName.trimmed().isEmpty()
           && notes.trimmed().isEmpty();
}

ReportDetails loadReportDetails()
{
    const auto settings = openUserSettings();
    ReportDetails details;
    if (!settings)
        return details;
    details.organisation = settings->value(OrganisationKey).toString();
    details.object = settings->value(ObjectKey).toString();
    details.operatorName = settings->value(OperatorKey).toString();
    details.notes = settings->value(NotesKey).toString();
    details.fitOnSheet = settings->value(FitKey, true).toBool();
    return details;
}

void saveReportDetails(const ReportDetails &details)
{
    const auto settings = openUserSettings();
    if (!settings)
        return;
    settings->setValue(OrganisationKey, details.organisation);
    settings->setValue(ObjectKey, details.object);
    settings->setValue(OperatorKey, details.operatorName);
    settings->setValue(NotesKey, details.notes);
    settings->setValue(FitKey, details.fitOnSheet);
}

QString reportDetailsHtml(const ReportDetails &details)
{
    if (details.isEmpty())
        return QString();
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    out << "<TABLE WIDTH=100% BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"1\">\n";
    const std::pair<const char *, QString> fields[] = {
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Organisation:"), details.organisation},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Object:"), details.object},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Operator:"), details.operatorName},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Notes:"), details.notes},
    };
    for (const auto &field : fields) {
        const QString value = field.second.trimmed();
        if (value.isEmpty())
            continue;
        QString escaped = value.toHtmlEscaped();
        escaped.replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
        out << "<TR><TD WIDTH=20% VALIGN=TOP><B>" << label(field.first).toHtmlEscaped() << "</B></TD>"
            << "<TD>" << escaped << "</TD></TR>\n";
    }
    out << "</TABLE>\n";
    out.flush();
    return html;
}

ReportDetailsTab::ReportDetailsTab(const ReportDetails &details, QWidget *parent)
    : QWidget(parent)
    , organisation(new QLineEdit(details.organisation))
    , object(new QLineEdit(details.object))
    , operatorName(new QLineEdit(details.operatorName))
    , notes(new QPlainTextEdit(details.notes))
    , fitOnSheet(new QCheckBox(tr("Fit each record on one sheet")))
{
    setWindowTitle(tr("Report"));
    organisation->setObjectName(QStringLiteral("organisation"));
    object->setObjectName(QStringLiteral("object"));
    operatorName->setObjectName(QStringLiteral("operator"));
    notes->setObjectName(QStringLiteral("notes"));
    notes->setTabChangesFocus(true);
    fitOnSheet->setObjectName(QStringLiteral("fitOnSheet"));
    fitOnSheet->setChecked(details.fitOnSheet);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Organisation:"), organisation);
    layout->addRow(tr("Object:"), object);
    layout->addRow(tr("Operator:"), operatorName);
    layout->addRow(tr("Notes:"), notes);
    layout->addRow(fitOnSheet);
}

ReportDetails ReportDetailsTab::details() const
{
    return {organisation->text(), object->text(), operatorName->text(), notes->toPlainText(),
            fitOnSheet->isChecked()};
}
