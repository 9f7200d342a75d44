#include "app/profile_menu.h"

#include <array>

#include <QActionGroup>
#include <QMenu>
#include <QSettings>

#include "service/service_config.h"

namespace tarvola::app {

namespace {

QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, service::config::SettingsOrganization.toString(),
                   service::config::SettingsApplication.toString());
}

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

constexpr std::array<kml::TProfile, 3> Profiles{kml::TProfile::Classic, kml::TProfile::Earth, kml::TProfile::Web};
constexpr std::array<kml::TAltitude, 3> Altitudes{kml::TAltitude::Clamp, kml::TAltitude::Relative,
                                                  kml::TAltitude::Absolute};

QActionGroup* RadioItems(QMenu* menu, const std::array<const char*, 3>& texts) {
  auto* group = new QActionGroup(menu);
  for (const char* text : texts) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setCheckable(true);
    group->addAction(action);
  }
  return group;
}

}  // namespace

kml::TOutputProfile ReadOutputProfile() {
  const QSettings settings = UserSettings();
  kml::TOutputProfile profile;
  const QByteArray name = settings.value(QStringLiteral("Export/Profile")).toString().toUtf8();
  profile.Profile = kml::ProfileNamed(name.toStdString()).value_or(profile.Profile);
  const QByteArray altitude = settings.value(QStringLiteral("Export/Altitude")).toString().toUtf8();
  profile.Altitude = kml::AltitudeNamed(altitude.toStdString()).value_or(profile.Altitude);
  profile.Extrude = settings.value(QStringLiteral("Export/Extrude"), false).toBool();
  const QByteArray units = settings.value(QStringLiteral("Export/Units")).toString().toUtf8();
  profile.Units = kml::UnitsNamed(units.toStdString()).value_or(profile.Units);
  const QByteArray width = settings.value(QStringLiteral("Export/LineWidth")).toString().toUtf8();
  if (kml::IsLineWidth(width.toStdString())) profile.LineWidth = width.toStdString();
  return profile;
}

void WriteOutputProfile(const kml::TOutputProfile& profile) {
  QSettings settings = UserSettings();
  settings.setValue(QStringLiteral("Export/Profile"), Utf8(kml::ProfileName(profile.Profile)));
  settings.setValue(QStringLiteral("Export/Altitude"), Utf8(kml::AltitudeName(profile.Altitude)));
  settings.setValue(QStringLiteral("Export/Extrude"), profile.Extrude);
  settings.setValue(QStringLiteral("Export/Units"),
                    profile.Units == kml::TUnits::Imperial ? QStringLiteral("imperial") : QStringLiteral("metric"));
  settings.setValue(QStringLiteral("Export/LineWidth"), Utf8(profile.LineWidth));
}

TProfileMenu::TProfileMenu(QMenu* menu) : QObject(menu), FProfile(ReadOutputProfile()) {
  menu->addSeparator();
  QMenu* kinds = menu->addMenu(QStringLiteral("KML document"));
  kinds->setStyle(menu->style());
  FProfiles = RadioItems(kinds, {"Classic (KML 2.1)", "Google Earth with time and sensors (KML 2.2)",
                                 "Web and GIS programs (KML 2.2)"});
  // The rest shapes the KML 2.2 documents only; it stays a choice to make beforehand.
  kinds->addSeparator();
  FAltitudes = RadioItems(kinds, {"Lines on the ground", "Lines at their height above the ground",
                                  "Lines at their height above sea level"});
  FExtrude = kinds->addAction(QStringLiteral("Walls under raised lines"));
  FExtrude->setCheckable(true);
  kinds->addSeparator();
  FImperial = kinds->addAction(QStringLiteral("Statistics in miles and feet"));
  FImperial->setCheckable(true);
  ShowProfile();
  for (QActionGroup* group : {FProfiles, FAltitudes}) connect(group, &QActionGroup::triggered, this, &TProfileMenu::Changed);
  for (QAction* action : {FExtrude, FImperial}) connect(action, &QAction::triggered, this, &TProfileMenu::Changed);
}

QAction* TProfileMenu::ProfileAction(kml::TProfile profile) const {
  return FProfiles->actions().at(qsizetype(profile));
}

QAction* TProfileMenu::AltitudeAction(kml::TAltitude altitude) const {
  return FAltitudes->actions().at(qsizetype(altitude));
}

void TProfileMenu::ShowProfile() {
  ProfileAction(FProfile.Profile)->setChecked(true);
  AltitudeAction(FProfile.Altitude)->setChecked(true);
  FExtrude->setChecked(FProfile.Extrude);
  FImperial->setChecked(FProfile.Units == kml::TUnits::Imperial);
}

void TProfileMenu::Changed() {
  for (const kml::TProfile profile : Profiles)
    if (ProfileAction(profile)->isChecked()) FProfile.Profile = profile;
  for (const kml::TAltitude altitude : Altitudes)
    if (AltitudeAction(altitude)->isChecked()) FProfile.Altitude = altitude;
  FProfile.Extrude = FExtrude->isChecked();
  FProfile.Units = FImperial->isChecked() ? kml::TUnits::Imperial : kml::TUnits::Metric;
  ShowProfile();
  WriteOutputProfile(FProfile);
}

}  // namespace tarvola::app
