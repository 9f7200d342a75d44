#pragma once

#include <memory>

#include <QString>

#include "gps/gps_data.h"

namespace tarvola::app {

// Which options the loaded data gives something to act on.
struct TApplicability {
  bool Waypoints = false;
  bool Routes = false;
  bool Tracks = false;
  bool JoinSegments = false;
  bool TimeStamps = false;
  bool Save = false;
  friend bool operator==(const TApplicability&, const TApplicability&) = default;
};

TApplicability ApplicabilityOf(const gps::TGpsData& data);

// The conversion workspace: the window's state that is not layout.
struct TWorkspace {
  // Shared with the tree, which keeps showing its snapshot after a failed load.
  std::shared_ptr<const gps::TGpsData> Data;
  QString SourcePath;      // the open dialog's file name
  QString OpenInitialDir;  // where the next open dialog starts
  QString LastSaved;
  QString TempDir;         // with a trailing separator
  int SaveFilterIndex = 1; // the type chosen in the last save
  bool Loading = false;    // a read is under way
};

// The system's temporary folder with a trailing separator.
QString SystemTempDir();

}  // namespace tarvola::app
