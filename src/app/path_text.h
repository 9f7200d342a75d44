#pragma once

#include <filesystem>
#include <string>

#include <QString>

namespace tarvola::app {

// Blanks and control characters removed at both ends, as shells hand dropped names over.
QString TrimDroppedPath(const QString& path);
// The folder part of a path, with or without the trailing separator ("" for a bare name).
QString FolderOf(const QString& path, bool withTrailingSeparator);
// The file-name part without its last extension ("trip.v2.gpx" gives "trip.v2").
QString NameWithoutExtension(const QString& path);
// A save name as typed: kept when it ends in .kml or .kmz (any letter case), which then decide
// the type; otherwise the chosen type's extension is added, whatever dots the name holds.
QString WithKmlExtension(const QString& name, bool asKml);
std::filesystem::path ToFsPath(const QString& path);
// A message's content line: the file as the system writes paths, and why it failed.
QString FileAndReason(const QString& path, const std::string& reason);

}  // namespace tarvola::app
