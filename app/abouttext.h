#ifndef ABOUTTEXT_H
#define ABOUTTEXT_H

#include <QString>

// The maker's web sites; the About link follows the interface language.
extern const char *const RussianSiteAddress;
extern const char *const InternationalSiteAddress;

QString aboutHtml(bool translationLoaded);

#endif // ABOUTTEXT_H
