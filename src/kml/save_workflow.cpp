#include "kml/save_workflow.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "kml/held_text.h"
#include "kml/document_streamer.h"
#include "kml/save_seam.h"
#include "kml/save_target.h"
#include "io/file_stream.h"
#include "io/system_text.h"
#include "zip/compression.h"
#include "zip/dos_time.h"
#include "zip/zip_stream_writer.h"

namespace tarvola::kml {

namespace {

namespace fs = std::filesystem;

// The stream to write through: the file itself, or what the seam wraps around it.
class TTargetStream {
public:
  TTargetStream(io::TFileStream& file, const TTargetStreamWrap& wrap) : FFile(file) {
    if (wrap) FWrapper = wrap(file);
  }
  io::TStream& Get() { return FWrapper ? *FWrapper : static_cast<io::TStream&>(FFile); }

private:
  io::TFileStream& FFile;
  std::unique_ptr<io::TStream> FWrapper;
};

constexpr const char* PackFailedReason =
    "the document could not be compressed (a KMZ package holds less than 4 GiB)";

}  // namespace

TKmlFileType FileTypeForName(const fs::path& target, TKmlFileType chosen) {
  std::string extension = target.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".kml") return TKmlFileType::Kml;
  if (extension == ".kmz") return TKmlFileType::Kmz;
  return chosen;
}

std::string FailureReason(const io::EStreamError& error) {
  return error.Code() != 0 ? io::SystemErrorText(error.Code()) : std::string(error.what());
}

std::string SaveFailureText(TSaveResult result) {
  switch (result) {
    case TSaveResult::Saved: return {};
    case TSaveResult::PackFailed: return "Error compressing KMZ file.";
    case TSaveResult::BuildFailed:
    case TSaveResult::WriteFailed: return "Error saving KML file.";
  }
  return "Error saving KML file.";
}

namespace {

// The new file, opened with the first piece, so that a file that does not load touches nothing.
class TStreamedOutput : public TKmlSink {
public:
  TStreamedOutput(const fs::path& target, TKmlFileType type, const TTargetStreamWrap& wrap,
                  const TSaveSettings& settings)
      : FTarget(target), FType(type), FWrap(wrap), FSettings(settings) {}

  void Write(std::string& text) override {
    Open();
    if (FZip) {
      FZip->Write(std::move(text));
    } else {
      FFile.value().Get().WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    }
  }

  void Restart() override {
    if (!FSaveTarget) return;
    FZip.reset();
    io::TStream& out = FFile.value().Get();
    out.SetPosition(0);
    out.SetSize(0);
    if (FType == TKmlFileType::Kmz)
      FZip = std::make_unique<zip::TZipEntryWriter>(out, "doc.kml", FSettings.Helpers);
  }

  TSaveOutcome Commit() {
    Open();
    if (FZip && !FZip->Finish(zip::DateTimeToDosStamp(zip::LocalDateTimeOf(std::time(nullptr)))))
      return {TSaveResult::PackFailed, FTarget, PackFailedReason};
    FSaveTarget->Commit(FFile.value().Get());
    return {TSaveResult::Saved, FTarget, {}};
  }

private:
  void Open() {
    if (FSaveTarget) return;
    FSaveTarget.emplace(FTarget, FSettings.KeepExisting);
    FFile.emplace(FSaveTarget->File(), FWrap);
    if (FType == TKmlFileType::Kmz)
      FZip = std::make_unique<zip::TZipEntryWriter>(FFile.value().Get(), "doc.kml", FSettings.Helpers);
  }

  fs::path FTarget;
  TKmlFileType FType;
  const TTargetStreamWrap& FWrap;
  TSaveSettings FSettings;
  std::optional<TSaveTarget> FSaveTarget;
  std::optional<TTargetStream> FFile;
  std::unique_ptr<zip::TZipEntryWriter> FZip;  // last: it stops before the file goes
};

TSaveOutcome SaveDocument(const TDocumentProducer& produce, const fs::path& target, TKmlFileType type,
                          const TTargetStreamWrap& wrap, const TSaveSettings& settings) {
  // Every failure is a result, so that a KML file and a KMZ package report theirs alike.
  try {
    TStreamedOutput output(target, type, wrap, settings);
    if (!produce(output)) return {TSaveResult::BuildFailed, target, {}};
    return output.Commit();
  } catch (const EHeldTextError& error) {
    return {TSaveResult::BuildFailed, target, error.what()};
  } catch (const std::bad_alloc&) {
    return {TSaveResult::BuildFailed, target, "not enough memory for the document"};
  } catch (const io::EStreamError& error) {
    return {TSaveResult::WriteFailed, target, FailureReason(error)};
  } catch (const zip::EZlibError& error) {
    return {TSaveResult::PackFailed, target, error.what()};
  }
}

TDocumentProducer GpsDocument(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                              const io::TProgressWatch& progress) {
  return [&data, options, tempDir, progress, created = CreatedNowText()](TKmlSink& sink) {
    const auto streamer = MakeDocumentStreamer(options, created, sink, TKindOrder::InOrder, tempDir);
    return StreamGpsData(data, *streamer, progress);
  };
}

}  // namespace

TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                         const fs::path& target, TKmlFileType type, const TSaveSettings& settings) {
  return SaveDocument(GpsDocument(data, options, tempDir, settings.Progress), target, type, {}, settings);
}

TSaveOutcome SaveKmlDocument(const TDocumentProducer& produce, const fs::path& target, TKmlFileType type,
                             const TSaveSettings& settings) {
  return SaveDocument(produce, target, type, {}, settings);
}

TSaveOutcome SaveGpsFileThrough(const TTargetStreamWrap& wrap, const gps::TGpsData& data,
                                const TExportOptions& options, const fs::path& tempDir, const fs::path& target,
                                TKmlFileType type) {
  return SaveDocument(GpsDocument(data, options, tempDir, {}), target, type, wrap, {});
}

}  // namespace tarvola::kml
