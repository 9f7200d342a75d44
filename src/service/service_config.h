#pragma once

// The program's fixed texts of the About window and the service channel, in one place.

#include <QStringView>

#include "product_identity.h"
#include "service/service_urls.h"

namespace tarvola::service::config {

inline constexpr QStringView DisplayName = product::NameUtf16;
inline constexpr QStringView VersionText = product::VersionUtf16;
inline constexpr QStringView BuildText = product::BuildUtf16;
inline constexpr QStringView VersionLine = product::VersionLine;
inline constexpr QStringView InfoLine1 = u"GPX to KML and KMZ for Google Earth";
inline constexpr QStringView InfoLine2 = u"Free for walkers, riders and pilots";
inline constexpr QStringView CompanionName = u"Tarvola Track Studio";

// The contact form's query: two parameters.
inline constexpr QStringView ContactQuery = product::ContactQuery;

// What the service request says about itself.
inline constexpr QStringView ServiceQuery = product::ServiceQuery;
inline constexpr QStringView UserAgent = product::UserAgent;
inline constexpr QStringView Identification = u"tarvola-gpx2kml";

// The service document's names (compared without regard to case).
inline constexpr QStringView IdSection = u"Service";
inline constexpr QStringView IdKey = u"Id";
inline constexpr QStringView VersionSection = u"Version";
inline constexpr QStringView BuildKey = u"Build";
inline constexpr QStringView VersionKey = u"Version";
inline constexpr QStringView LinksSection = u"Links";
inline constexpr QStringView UrlKey = u"Url";  // the update address and the home page
inline constexpr QStringView ContactKey = u"Contact";
inline constexpr QStringView NewsMsgKey = u"NewsMsg";
inline constexpr QStringView NewsUrlKey = u"NewsUrl";
inline constexpr QStringView ProductsKey = u"Products";
inline constexpr QStringView VideoKey = u"Video";

// Arguments: display name, version text, build text.
inline constexpr QStringView UpdateTemplate =
    u"%1 %2 (build %3) is available.\nDo you want to open its download page now?";

// A service document is a few hundred bytes; anything this big is something else.
inline constexpr qint64 MaxDocumentSize = 64 * 1024;

// Where the day of the last notices is kept, per user.
inline constexpr QStringView SettingsOrganization = product::NameUtf16;
inline constexpr QStringView SettingsApplication = product::NameUtf16;
inline constexpr QStringView NoticeDateKey = u"Service/Seen";

}  // namespace tarvola::service::config
