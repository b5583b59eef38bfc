#include "abouttext.h"

#include <QCoreApplication>
#include <QTextStream>

#include "records/globals.h"

const char *const RussianSiteAddress = "http://www.tarnwell.ru.example";
const char *const InternationalSiteAddress = "http://www.tarnwell.example";

namespace {
const char *const Spacer = "<p style=\" font-size:4pt;\">&nbsp;</p>";
const char *const Paragraph12 = "<p align=\"center\" style=\" font-size:12pt;\">";
} // namespace

QString aboutHtml(bool translationLoaded)
{
    const QString link = QString::fromLatin1(translationLoaded ? RussianSiteAddress : InternationalSiteAddress);
    QString html;
    QTextStream out(&html, QIODevice::ReadWrite);
    out << "<body style=\" font-family:'Arial';\">" << '\n';
    out << "<p align=\"center\">";
    out << "<img src=\":/scanlet/images/logo.bmp\"></p>" << '\n';
    out << Spacer;
    out << "<p align=\"center\" style=\" font-size:16pt; font-weight:600;\">";
    out << productName << QCoreApplication::translate("CDataManager", " Version %1.%2").arg(SCANLET_VERSION_MAJOR).arg(SCANLET_VERSION_MINOR);
    out << "</p>" << '\n';
    out << Spacer;
    out << Paragraph12 << QCoreApplication::translate("CDataManager", "Tarnwell Instruments") << "</p>" << '\n';
    out << Paragraph12 << QCoreApplication::translate("CDataManager", "Devices for non-destructive testing of metals, plastics and concrete.") << "</p>" << '\n';
    out << Paragraph12 << QCoreApplication::translate("CDataManager", "Development and production.") << "</p>" << '\n';
    out << Spacer << Paragraph12 << QCoreApplication::translate("CDataManager", "Thank you for using our products.") << "</p>" << '\n';
    if (!translationLoaded)
        out << Spacer;
    out << "<p align=\"center\" style=\" font-size:12pt; ";
    out << "text-decoration: underline; color:#0000ff;\"> <a href=\"";
    out << link << "\">" << link;
    out << "</a></p>" << '\n';
    out << "</body>";
    out.flush();
    return html;
}
