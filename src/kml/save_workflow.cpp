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
#include "kml/kml_streamer.h"
#include "kml/save_platform.h"
#include "io/file_stream.h"
#include "io/system_text.h"
#include "zip/dos_time.h"
#include "zip/zip_stream_writer.h"

namespace tarvola::kml {

namespace {

namespace fs = std::filesystem;

std::string RandomHex() {
  std::random_device source;
  const unsigned long long value = (static_cast<unsigned long long>(source()) << 32) ^ source();
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", value);
  return text;
}

[[noreturn]] void RaiseCreateError(const fs::path& target, int code) {
  throw io::EFCreateError(io::FileErrorText("Cannot create file", target, code), code);
}

// The target's new content, written under a temporary name in the target's folder (so the
// rename cannot cross file systems) and removed again unless it was committed.
class TReplacement {
public:
  explicit TReplacement(const fs::path& target) : FTarget(target) {
    for (int attempt = 0; !FFile; ++attempt) {
      const fs::path candidate = target.parent_path() / (".tarvola-save-" + RandomHex() + ".tmp");
      try {
        // Created as any new file is (0666 under the umask), unlike the 0600 of mkstemp.
        FFile = std::make_unique<io::TFileStream>(candidate, io::TFileMode::CreateNew);
      } catch (const io::EFCreateError& error) {
        if (!io::IsNameTaken(error.Code()) || attempt == 100) RaiseCreateError(target, error.Code());
      }
    }
  }
  ~TReplacement() {
    if (!FFile) return;
    const fs::path path = FFile->Path();
    FFile.reset();
    std::error_code ignored;
    fs::remove(path, ignored);
  }
  TReplacement(const TReplacement&) = delete;
  TReplacement& operator=(const TReplacement&) = delete;

  io::TFileStream& File() { return *FFile; }

  // `written` is the stream the content went through; flushing it reaches the disk.
  void Commit(io::TStream& written) {
    written.Flush();
    FFile->Close();
    if (const int code = MoveIntoPlace(FFile->Path(), FTarget); code != 0) RaiseCreateError(FTarget, code);
    FFile.reset();
    SyncFolder(FTarget.parent_path());
  }

private:
  fs::path FTarget;
  std::unique_ptr<io::TFileStream> FFile;
};

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

TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                         const fs::path& target, TKmlFileType type) {
  return SaveGpsFile(data, options, tempDir, target, type, TTargetStreamWrap());
}

TSaveOutcome SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                         const fs::path& target, TKmlFileType type, const TTargetStreamWrap& wrapTarget) {
  const std::string created = CreatedNowText();
  const auto produce = [&](TKmlSink& sink) {
    TKmlStreamer streamer(options, created, sink, TKindOrder::InOrder, tempDir);
    StreamGpsData(data, streamer);
    return true;
  };
  return SaveKmlDocument(produce, target, type, wrapTarget);
}

namespace {

// The new file, opened with the first piece, so that a file that does not load touches nothing.
class TStreamedOutput : public TKmlSink {
public:
  TStreamedOutput(const fs::path& target, TKmlFileType type, const TTargetStreamWrap& wrap,
                  io::THelperThreads helpers)
      : FTarget(target), FType(type), FWrap(wrap), FHelpers(helpers) {}

  void Write(std::string& text) override {
    Open();
    if (FZip) {
      FZip->Write(std::move(text));
    } else {
      FFile.value().Get().WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    }
  }

  void Restart() override {
    if (!FReplacement) return;
    FZip.reset();
    io::TStream& out = FFile.value().Get();
    out.SetPosition(0);
    out.SetSize(0);
    if (FType == TKmlFileType::Kmz)
      FZip = std::make_unique<zip::TZipEntryWriter>(out, "doc.kml", FHelpers);
  }

  TSaveOutcome Commit() {
    Open();
    if (FZip && !FZip->Finish(zip::DateTimeToDosStamp(zip::LocalDateTimeOf(std::time(nullptr)))))
      return {TSaveResult::PackFailed, FTarget, PackFailedReason};
    FReplacement->Commit(FFile.value().Get());
    return {TSaveResult::Saved, FTarget, {}};
  }

private:
  void Open() {
    if (FReplacement) return;
    FReplacement.emplace(FTarget);
    FFile.emplace(FReplacement->File(), FWrap);
    if (FType == TKmlFileType::Kmz)
      FZip = std::make_unique<zip::TZipEntryWriter>(FFile.value().Get(), "doc.kml", FHelpers);
  }

  fs::path FTarget;
  TKmlFileType FType;
  const TTargetStreamWrap& FWrap;
  io::THelperThreads FHelpers;
  std::optional<TReplacement> FReplacement;
  std::optional<TTargetStream> FFile;
  std::unique_ptr<zip::TZipEntryWriter> FZip;  // last: it stops before the file goes
};

TSaveOutcome SaveStreamed(const TDocumentProducer& produce, const fs::path& target, TKmlFileType type,
                          const TTargetStreamWrap& wrap, io::THelperThreads helpers) {
  try {
    TStreamedOutput output(target, type, wrap, helpers);
    if (!produce(output)) return {TSaveResult::BuildFailed, target, {}};
    return output.Commit();
  } catch (const EHeldTextError& error) {
    return {TSaveResult::BuildFailed, target, error.what()};
  } catch (const std::bad_alloc&) {
    return {TSaveResult::BuildFailed, target, "not enough memory for the document"};
  }
}

}  // namespace

TSaveOutcome SaveKmlDocument(const TDocumentProducer& produce, const fs::path& target, TKmlFileType type,
                             const TTargetStreamWrap& wrapTarget, io::THelperThreads helpers) {
  if (type == TKmlFileType::Kmz) return SaveStreamed(produce, target, type, wrapTarget, helpers);
  // A KML file that cannot be written is a result, not an exception.
  try {
    return SaveStreamed(produce, target, type, wrapTarget, helpers);
  } catch (const io::EStreamError& error) {
    return {TSaveResult::CopyFailed, target, FailureReason(error)};
  }
}

}  // namespace tarvola::kml
