#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "kml_builder.h"
#include "kml_writer.h"
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
  CopyFailed,     // "Error saving KML file."; the old target is kept
};

// The result, the target, and unless Saved why in plain words for a message that names the
// target: the system's reason ("Permission denied", "No space left on device"), with the
// temporary folder named when the failure lies there.
using TSaveOutcome = io::TResult<TSaveResult>;

// Builds the document and writes it as "doc.kml" in a folder of its own inside tempDir, then
// packs it (Kmz) or copies it (Kml) into a new file beside the target, which is renamed over
// the target only once it is complete and on disk. The new file gets the permissions of any
// newly created file (under the user's umask; on Windows, the folder's inherited ACL). Safe to
// run on several threads at once. The system steps are in save_platform.h.
//
// On every outcome, exceptions included, the private folder is gone and no temporary file is
// left beside the target; unless the result is Saved, the old target is unchanged.
//
// Results: BuildFailed when the private folder or its doc.kml cannot be written, or the document
// does not fit in memory; PackFailed when ZipSingleFile refuses or fails to compress the
// document (4 GiB or more included);
// CopyFailed when any step of the KML copy fails (creating, writing, flushing, renaming).
// Exceptions, each with a message fit for the user, all io::EStreamError (a runtime_error):
// for Kmz, EFCreateError naming the target when the new file cannot be created beside it or
// cannot replace it (a missing or read-only folder, a target that is a folder), EWriteError
// ("Stream write error") when writing or flushing it fails. Whatever else BuildKml raises
// passes too.
TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options,
                         const std::filesystem::path& tempDir,
                         const std::filesystem::path& target, TKmlFileType type);

// Wraps the stream the new file is written through; a test seam for writes that fail.
using TTargetStreamWrap = std::function<std::unique_ptr<io::TStream>(io::TStream& file)>;

// SaveGpsFile writing the new file through wrapTarget(file) (the file itself when empty).
TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options,
                         const std::filesystem::path& tempDir,
                         const std::filesystem::path& target, TKmlFileType type,
                         const TTargetStreamWrap& wrapTarget);

// The reason of a file-layer error in the system's words (its own message when it has no code).
std::string FailureReason(const io::EStreamError& error);

// Where a document produced as its file is read goes: into the sink, piece by piece; Restart
// drops what was written so far and starts the document over.
class TDocumentOutput {
public:
  virtual ~TDocumentOutput() = default;
  virtual TKmlSink& Sink() = 0;
  virtual void Restart() = 0;
};

// Writes the document `produce` gives; returns false to leave the target as it was.
using TDocumentProducer = std::function<bool(TDocumentOutput& output)>;

// SaveGpsFile for a document produced in pieces, without a doc.kml on disk: the pieces go into
// the new file beside the target (Kml), or into its one entry "doc.kml" compressed on a second
// thread while the document is still produced (Kmz). The new file is created with the first
// piece and replaces the target once complete, as in SaveGpsFile. Results and exceptions as
// SaveGpsFile's; BuildFailed, with no reason, when `produce` returns false.
TSaveOutcome SaveKmlDocument(const TDocumentProducer& produce, const std::filesystem::path& target,
                             TKmlFileType type);

}  // namespace tarvola::kml
