#include "reporthtml.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

#include "records/ascanpicture.h"
#include "records/globals.h"

namespace {

QString cellText(QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->data(Qt::DisplayRole).toString() : QString();
}

} // namespace

QImage reportPicture(const QString &path, int maxHeight)
{
    const QSize limit = maxHeight > 0 ? ReportPictureBox.scaled(QSize(maxHeight, maxHeight), Qt::KeepAspectRatio)
                                      : QSize();
    // A large picture is decoded straight at the size it prints at.
    QImage picture = readAscanPicture(path, limit);
    if (picture.isNull()) {
        picture = QImage(AscanPicture::Blank, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    const QSize canvas = ReportPictureBox.scaled(picture.size(), Qt::KeepAspectRatioByExpanding);
    if (canvas == picture.size())
        return picture;
    QImage boxed(canvas, QImage::Format_RGB32);
    boxed.fill(Qt::white);
    QPainter(&boxed).drawImage((canvas.width() - picture.width()) / 2, (canvas.height() - picture.height()) / 2,
                               picture);
    return boxed;
}

void addReportPicture(QTextDocument &document, const QString &path, int maxHeight)
{
    document.addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(ReportPictureName)),
                         reportPicture(path, maxHeight));
}

QString reportPageHtml(const ReportPage &page)
{
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    if (!page.logoPath.isEmpty()) {
        out << "<TABLE WIDTH=100% ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n";
        out << "<TR>";
        out << "<TD WIDTH=60 ALIGN=LEFT>";
        out << "<IMG SRC=\"" << ReportLogoName << "\" HEIGHT=45>";
        out << "</TD>";
        out << "<TD ALIGN=CENTER>";
        out << "<H2>" << productName.toHtmlEscaped() << "</H2>";
        out << "</TD>";
        out << "</TR>";
        out << "</TABLE>\n";
    }
    out << page.details;
    out << "<H1 ALIGN=\"CENTER\">" << page.title.toHtmlEscaped() << "</H1>";
    out << "<P ALIGN=CENTER >\n";
    out << "<IMG SRC=\"" << ReportPictureName << "\" WIDTH=" << ReportPictureBox.width()
        << " HEIGHT=" << ReportPictureBox.height() << " VSPACE = \"20\">";
    out << "<BR>";
    out << "</P>\n";
    out << "<H3 ALIGN=\"CENTER\">" << QCoreApplication::translate("CDataManager", "Configuration: ")
        << page.configurationName.toHtmlEscaped() << "</H3>";
    if (!page.settingsMissing)
        out << page.settingsTable;
    out << page.signatures;
    out.flush();
    return html;
}

QString settingsHtml(QTableWidget *table)
{
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    // A share of the text's width keeps the table inside the margins on any paper.
    out << "<TABLE WIDTH=100% BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n";
    out << "<TR>\n";
    out << "<TD ALIGN=CENTER>\n";
    out << tableHtml(table, QCoreApplication::translate("CDataManager", "SETTINGS")) << "\n";
    out << "</TD>\n";
    out << "</TR>\n";
    out << "</TABLE>\n";
    out.flush();
    return html;
}

QString tableHtml(QTableWidget *table, const QString &caption)
{
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    out << "<H4 ALIGN=\"CENTER\">" << caption.toHtmlEscaped() << "</H4>\n";
    out << "<TABLE ALIGN=\"CENTER\" WIDTH=100% BORDER CELLSPACING=\"0\" CELLPADDING=\"1\">\n";
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString left = cellText(table, row, 0);
        if (!left.isEmpty())
            tableRowHtml(out, left, cellText(table, row, 1));
    }
    out << "</TABLE>\n";
    out.flush();
    return html;
}

QTextStream &tableRowHtml(QTextStream &out, const QString &left, const QString &right)
{
    out << "<TR>" << "<TD ALIGN=\"LEFT\">" << left.toHtmlEscaped() << "</TD>"
        << "<TD ALIGN=\"CENTER\">" << right.toHtmlEscaped() << "</TD>" << "</TR>\n";
    return out;
}
