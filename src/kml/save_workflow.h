#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "kml_builder.h"
#include "kml_writer.h"
#include "io/helper_threads.h"
#include "io/progress.h"
#include "io/result.h"
#include "io/stream.h"

namespace tarvola::kml {

// What SaveGpsFile writes: a ZIP package holding doc.kml, or the document itself.
enum class TKmlFileType { Kmz, Kml };

// The type a target's name asks for: the extension .kml or .kmz in any letter case decides, so
// that no reader meets a ZIP archive named .kml; any other name gets `chosen`.
TKmlFileType FileTypeForName(const std::filesystem::path& target, TKmlFileType chosen);

enum class TSaveResult {
  Saved,          // the target holds the new file
  BuildFailed,    // "Error saving KML file."; the last saved file is not updated
  PackFailed,     // "Error compressing KMZ file."; the old target is kept
  WriteFailed,    // "Error saving KML file."; the old target is kept
};

// The result, the target, and unless Saved why in plain words for a message that names the
// target: the system's reason ("Permission denied", "No space left on device"), with the
// temporary folder named when the failure lies there.
using TSaveOutcome = io::TResult<TSaveResult>;

// How a save goes about its work.
struct TSaveSettings {
  io::THelperThreads Helpers = io::THelperThreads::Allowed;  // compress on a thread of its own
  bool KeepExisting = false;  // a file that appears at the target meanwhile is kept; the save fails
  // Hears the points written so far (SaveGpsFile); false stops the save as BuildFailed with no
  // reason, the target untouched.
  io::TProgressWatch Progress;
};

// Writes the document of `data` into a new file beside the target: the KML document itself, or
// a ZIP package holding it as "doc.kml", compressed on a second thread while it is written. The
// new file replaces the target only once it is complete and on disk. It gets the permissions
// of the file it replaces, or of any newly created file (under the user's umask; on Windows,
// the folder's inherited ACL). A symbolic link's file is replaced, not the link; a device or a
// pipe is written into; a file with other hard links is refused (TSaveTarget).
// Safe to run on several threads at once. Held text beyond memory (THeldText) goes to tempDir.
// The system steps are in save_platform.h.
//
// On every outcome, exceptions included, no temporary file is left beside the target; unless
// the result is Saved, the old target is unchanged.
//
// Results, for a KML document and a KMZ package alike: BuildFailed when the held text cannot be
// written to tempDir, or the document does not fit in memory; PackFailed when the document does
// not fit a ZIP package (4 GiB or more) or zlib fails; WriteFailed when any step of writing the
// new file fails (creating, writing, flushing, replacing the target), with the system's reason.
TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options,
                         const std::filesystem::path& tempDir, const std::filesystem::path& target,
                         TKmlFileType type, const TSaveSettings& settings = {});

// The reason of a file-layer error in the system's words (its own message when it has no code).
std::string FailureReason(const io::EStreamError& error);

// The words for a failed save, the same in the window and the converter ("" for Saved).
std::string SaveFailureText(TSaveResult result);

// Writes a document into the sink, piece by piece; returns false to leave the target as it was.
using TDocumentProducer = std::function<bool(TKmlSink& sink)>;

// SaveGpsFile for any document `produce` writes. The new file is created with the first piece.
// Results as SaveGpsFile's; BuildFailed, with no reason, when `produce` returns
// false. Where the bytes go, by what stands at the target, is TSaveTarget's to say.
TSaveOutcome SaveKmlDocument(const TDocumentProducer& produce, const std::filesystem::path& target,
                             TKmlFileType type, const TSaveSettings& settings = {});

}  // namespace tarvola::kml
