#pragma once

#include <QObject>

#include "kml/kml_profile.h"

class QAction;
class QActionGroup;
class QMenu;

namespace tarvola::app {

// The "+" menu's choice of KML document, and for the KML 2.2 ones the altitude and units:
// kept in the user's settings, so the next run writes the same kind of file.
class TProfileMenu : public QObject {
  Q_OBJECT

public:
  // Adds its items to `menu`, checked as the settings say.
  explicit TProfileMenu(QMenu* menu);

  kml::TOutputProfile Profile() const { return FProfile; }
  QAction* ProfileAction(kml::TProfile profile) const;
  QAction* AltitudeAction(kml::TAltitude altitude) const;
  QAction* ExtrudeAction() const { return FExtrude; }
  QAction* ImperialAction() const { return FImperial; }

private:
  void Changed();
  void ShowProfile();

  kml::TOutputProfile FProfile;
  QActionGroup* FProfiles;
  QActionGroup* FAltitudes;
  QAction* FExtrude;
  QAction* FImperial;
};

// The settings' profile, defaults where a value is missing or unknown; and storing one.
kml::TOutputProfile ReadOutputProfile();
void WriteOutputProfile(const kml::TOutputProfile& profile);

}  // namespace tarvola::app
