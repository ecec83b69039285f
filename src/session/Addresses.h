#pragma once

#include <QString>

// The clearing service's portal (the site id is appended) and the maker's web site.
// A deployment changes these two lines.
inline const QString PortalAddress = QStringLiteral("https://portal.qrn.example/ecp/");
inline const QString WebSiteAddress = QStringLiteral("http://www.qrn.example/");
