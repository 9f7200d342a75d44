#include "app/workspace.h"

#include <QDir>

namespace tarvola::app {

namespace {

template <typename T>
bool HasRecords(const std::optional<std::vector<T>>& list) {
  return list && !list->empty();
}

}  // namespace

TApplicability ApplicabilityOf(const gps::TGpsData& data) {
  TApplicability a;
  a.Waypoints = HasRecords(data.Waypoints);
  a.Routes = HasRecords(data.Routes);
  a.Tracks = HasRecords(data.Tracks);
  a.JoinSegments = a.Tracks;
  a.TimeStamps = a.Waypoints || a.Routes || a.Tracks;
  a.Save = a.TimeStamps;
  return a;
}

QString SystemTempDir() {
  QString dir = QDir::toNativeSeparators(QDir::tempPath());
  if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
  return dir;
}

}  // namespace tarvola::app
