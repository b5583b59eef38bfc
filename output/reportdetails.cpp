#include "reportdetails.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextStream>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "records/recordsummary.h"

#include "output/usersettings.h"

namespace {

const char *const OrganisationKey = "report/organisation";
const char *const ObjectKey = "report/object";
const char *const OperatorKey = "report/operator";
const char *const NotesKey = "report/notes";
const char *const FitKey = "report/fitOnSheet";
const char *const NumberKey = "report/number";
const char *const DateKey = "report/inspectionDate";
const char *const PlaceKey = "report/place";
const char *const SerialKey = "report/instrumentSerial";
const char *const ProcedureKey = "report/procedure";
const char *const CriterionKey = "report/acceptanceCriterion";
const char *const LevelKey = "report/certificationLevel";
const char *const ReviewerKey = "report/reviewer";

QString label(const char *text)
{
    return QCoreApplication::translate("ReportDetailsTab", text);
}

// One line: line breaks of any kind become spaces.
QString boundedLine(QString text, int limit)
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}\\v\\f]"));
    text.replace(breaks, QStringLiteral(" "));
    return text.left(limit);
}

QString boundedNotes(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\x{2028}\\x{2029}\\v\\f]"));
    text.replace(breaks, QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > ReportLimits::NotesLines) {
        const QStringList rest = lines.mid(ReportLimits::NotesLines - 1);
        lines = lines.mid(0, ReportLimits::NotesLines - 1) << rest.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n')).left(ReportLimits::NotesLimit);
}

// The labels of the fields the report had first.
const QStringList &basicFields()
{
    static const QStringList labels{QStringLiteral("Organisation:"), QStringLiteral("Object:"),
                                    QStringLiteral("Operator:"), QStringLiteral("Notes:")};
    return labels;
}

QString escapedLines(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
    return escaped;
}

} // namespace

bool ReportDetails::isEmpty() const
{
    for (const QString *field : {&organisation, &object, &operatorName, &notes, &reportNumber, &place,
                                 &instrumentSerial, &procedure, &acceptanceCriterion, &certificationLevel,
                                 &reviewer}) {
        if (!field->trimmed().isEmpty())
            return false;
    }
    return !inspectionDate.isValid();
}

ReportDetails boundedReportDetails(ReportDetails d)
{
    using namespace ReportLimits;
    for (QString *field : {&d.organisation, &d.object, &d.operatorName, &d.place, &d.procedure,
                           &d.acceptanceCriterion, &d.reviewer})
        *field = boundedLine(*field, LineLimit);
    for (QString *field : {&d.reportNumber, &d.instrumentSerial, &d.certificationLevel})
        *field = boundedLine(*field, CodeLimit);
    d.notes = boundedNotes(d.notes);
    return d;
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
    details.reportNumber = settings->value(NumberKey).toString();
    details.inspectionDate = QDate::fromString(settings->value(DateKey).toString(), Qt::ISODate);
    details.place = settings->value(PlaceKey).toString();
    details.instrumentSerial = settings->value(SerialKey).toString();
    details.procedure = settings->value(ProcedureKey).toString();
    details.acceptanceCriterion = settings->value(CriterionKey).toString();
    details.certificationLevel = settings->value(LevelKey).toString();
    details.reviewer = settings->value(ReviewerKey).toString();
    return boundedReportDetails(details);
}

void saveReportDetails(const ReportDetails &unbounded)
{
    const ReportDetails details = boundedReportDetails(unbounded);
    const auto settings = openUserSettings();
    if (!settings)
        return;
    settings->setValue(OrganisationKey, details.organisation);
    settings->setValue(ObjectKey, details.object);
    settings->setValue(OperatorKey, details.operatorName);
    settings->setValue(NotesKey, details.notes);
    settings->setValue(FitKey, details.fitOnSheet);
    settings->setValue(NumberKey, details.reportNumber);
    settings->setValue(DateKey, details.inspectionDate.toString(Qt::ISODate));
    settings->setValue(PlaceKey, details.place);
    settings->setValue(SerialKey, details.instrumentSerial);
    settings->setValue(ProcedureKey, details.procedure);
    settings->setValue(CriterionKey, details.acceptanceCriterion);
    settings->setValue(LevelKey, details.certificationLevel);
    settings->setValue(ReviewerKey, details.reviewer);
}

QString reportDetailsHtml(const ReportDetails &details)
{
    if (details.isEmpty())
        return QString();
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    const QString date = details.inspectionDate.isValid() ? fullYearDate(details.inspectionDate, QLocale()) : QString();
    const std::pair<const char *, QString> fields[] = {
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Report No.:"), details.reportNumber},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Inspection date:"), date},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Place:"), details.place},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Organisation:"), details.organisation},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Object:"), details.object},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Instrument serial No.:"), details.instrumentSerial},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Procedure or standard:"), details.procedure},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Acceptance criterion:"), details.acceptanceCriterion},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Operator:"), details.operatorName},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Certification level:"), details.certificationLevel},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Reviewer:"), details.reviewer},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Notes:"), details.notes},
    };
    // With only the first four fields, one field a row as the report always had; with more, two a
    // row, so that the block leaves room for the record on its sheet. Notes take a row of their own.
    const bool paired = std::any_of(std::begin(fields), std::end(fields), [&](const auto &field) {
        return !field.second.trimmed().isEmpty() && !basicFields().contains(QLatin1String(field.first));
    });
    out << "<TABLE WIDTH=100% BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"1\""
        << (paired ? " STYLE=\"font-size:8pt\">\n" : ">\n");
    int column = 0;
    for (const auto &field : fields) {
        const QString value = field.second.trimmed();
        if (value.isEmpty())
            continue;
        const QString name = label(field.first).toHtmlEscaped();
        if (!paired) {
            out << "<TR><TD WIDTH=20% VALIGN=TOP><B>" << name << "</B></TD>"
                << "<TD>" << escapedLines(value) << "</TD></TR>\n";
            continue;
        }
        const bool wide = &field == &fields[std::size(fields) - 1];   // the notes
        if (column == 1 && wide) {
            out << "<TD></TD><TD></TD></TR>\n";
            column = 0;
        }
        out << (column == 0 ? "<TR>" : "") << "<TD WIDTH=22% VALIGN=TOP><B>" << name << "</B></TD>"
            << "<TD WIDTH=28% VALIGN=TOP" << (wide ? " COLSPAN=3" : "") << ">" << escapedLines(value) << "</TD>";
        column = wide ? 0 : 1 - column;
        if (column == 0)
            out << "</TR>\n";
    }
    if (column == 1)
        out << "<TD></TD><TD></TD></TR>\n";
    out << "</TABLE>\n";
    out.flush();
    return html;
}

QString signatureHtml(const ReportDetails &details)
{
    const std::pair<const char *, QString> people[] = {
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Operator:"), details.operatorName.trimmed()},
        {QT_TRANSLATE_NOOP("ReportDetailsTab", "Reviewer:"), details.reviewer.trimmed()},
    };
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    for (const auto &person : people) {
        if (person.second.isEmpty())
            continue;
        if (html.isEmpty())
            out << "<TABLE WIDTH=100% BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"4\">\n";
        out << "<TR><TD WIDTH=40%><B>" << label(person.first).toHtmlEscaped() << "</B> "
            << person.second.toHtmlEscaped() << "</TD><TD WIDTH=35%>"
            << label(QT_TRANSLATE_NOOP("ReportDetailsTab", "Signature:")).toHtmlEscaped()
            << "&nbsp;____________</TD><TD>" << label(QT_TRANSLATE_NOOP("ReportDetailsTab", "Date:")).toHtmlEscaped()
            << "&nbsp;________</TD></TR>\n";
    }
    if (!html.isEmpty())
        out << "</TABLE>\n";
    out.flush();
    return html;
}

ReportDetailsTab::ReportDetailsTab(const ReportDetails &details, QWidget *parent)
    : QWidget(parent)
    , reportNumber(line(QStringLiteral("reportNumber"), details.reportNumber, ReportLimits::CodeLimit))
    , dated(new QCheckBox(tr("Inspection date:")))
    , inspectionDate(new QDateEdit(details.inspectionDate.isValid() ? details.inspectionDate : QDate::currentDate()))
    , place(line(QStringLiteral("place"), details.place, ReportLimits::LineLimit))
    , organisation(line(QStringLiteral("organisation"), details.organisation, ReportLimits::LineLimit))
    , object(line(QStringLiteral("object"), details.object, ReportLimits::LineLimit))
    , instrumentSerial(line(QStringLiteral("instrumentSerial"), details.instrumentSerial, ReportLimits::CodeLimit))
    , procedure(line(QStringLiteral("procedure"), details.procedure, ReportLimits::LineLimit))
    , acceptanceCriterion(line(QStringLiteral("acceptanceCriterion"), details.acceptanceCriterion,
                               ReportLimits::LineLimit))
    , operatorName(line(QStringLiteral("operator"), details.operatorName, ReportLimits::LineLimit))
    , certificationLevel(line(QStringLiteral("certificationLevel"), details.certificationLevel,
                              ReportLimits::CodeLimit))
    , reviewer(line(QStringLiteral("reviewer"), details.reviewer, ReportLimits::LineLimit))
    , notes(new QPlainTextEdit(details.notes))
    , fitOnSheet(new QCheckBox(tr("Fit each record on one sheet")))
{
    setWindowTitle(tr("Report"));
    dated->setObjectName(QStringLiteral("dated"));
    dated->setChecked(details.inspectionDate.isValid());
    inspectionDate->setObjectName(QStringLiteral("inspectionDate"));
    inspectionDate->setCalendarPopup(true);
    inspectionDate->setEnabled(dated->isChecked());
    connect(dated, &QCheckBox::toggled, inspectionDate, &QWidget::setEnabled);
    notes->setObjectName(QStringLiteral("notes"));
    notes->setTabChangesFocus(true);
    // A plain text edit takes any length: the text is cut back as it is typed or pasted.
    connect(notes, &QPlainTextEdit::textChanged, this, [this] {
        const QString bounded = boundedNotes(notes->toPlainText());
        if (bounded != notes->toPlainText()) {
            notes->setPlainText(bounded);
            notes->moveCursor(QTextCursor::End);
        }
    });
    fitOnSheet->setObjectName(QStringLiteral("fitOnSheet"));
    fitOnSheet->setChecked(details.fitOnSheet);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Report No.:"), reportNumber);
    layout->addRow(dated, inspectionDate);
    layout->addRow(tr("Place:"), place);
    layout->addRow(tr("Organisation:"), organisation);
    layout->addRow(tr("Object:"), object);
    layout->addRow(tr("Instrument serial No.:"), instrumentSerial);
    layout->addRow(tr("Procedure or standard:"), procedure);
    layout->addRow(tr("Acceptance criterion:"), acceptanceCriterion);
    layout->addRow(tr("Operator:"), operatorName);
    layout->addRow(tr("Certification level:"), certificationLevel);
    layout->addRow(tr("Reviewer:"), reviewer);
    layout->addRow(tr("Notes:"), notes);
    layout->addRow(fitOnSheet);
}

QLineEdit *ReportDetailsTab::line(const QString &name, const QString &text, int limit)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setMaxLength(limit);
    return edit;
}

ReportDetails ReportDetailsTab::details() const
{
    ReportDetails d;
    d.organisation = organisation->text();
    d.object = object->text();
    d.operatorName = operatorName->text();
    d.notes = notes->toPlainText();
    d.fitOnSheet = fitOnSheet->isChecked();
    d.reportNumber = reportNumber->text();
    d.inspectionDate = dated->isChecked() ? inspectionDate->date() : QDate();
    d.place = place->text();
    d.instrumentSerial = instrumentSerial->text();
    d.procedure = procedure->text();
    d.acceptanceCriterion = acceptanceCriterion->text();
    d.certificationLevel = certificationLevel->text();
    d.reviewer = reviewer->text();
    return boundedReportDetails(d);
}

ReportDetailsDialog::ReportDetailsDialog(QWidget *parent)
    : QDialog(parent)
    , tab(new ReportDetailsTab(loadReportDetails()))
{
    setObjectName(QStringLiteral("dlg_reportDetails"));
    setWindowTitle(tr("Report Details"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] { saveReportDetails(tab->details()); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tab);
    layout->addWidget(buttons);
}
