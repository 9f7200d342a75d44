#include "kml/save_workflow.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "zip/file_stream.h"
#include "zip/zip_writer.h"

namespace tarvola::kml {

namespace {

namespace fs = std::filesystem;

// Two running copies must not write each other's doc.kml: each save gets a folder of its own.
class TPrivateFolder {
public:
  explicit TPrivateFolder(const fs::path& tempDir) {
    std::string pattern = (tempDir / "tarvola-save-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) FPath = pattern;
  }
  ~TPrivateFolder() {
    std::error_code ignored;
    if (!FPath.empty()) fs::remove_all(FPath, ignored);
  }
  TPrivateFolder(const TPrivateFolder&) = delete;
  TPrivateFolder& operator=(const TPrivateFolder&) = delete;

  bool Created() const { return !FPath.empty(); }
  const fs::path& Path() const { return FPath; }

private:
  fs::path FPath;
};

std::string RandomHex() {
  std::random_device source;
  const unsigned long long value = (static_cast<unsigned long long>(source()) << 32) ^ source();
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", value);
  return text;
}

void SyncFolder(const fs::path& folder) {
  const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  (void)::fsync(handle);
  ::close(handle);
}

[[noreturn]] void RaiseCreateError(const fs::path& target, int code) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(target, ec);
  throw zip::EFCreateError("Cannot create file \"" + (ec ? target : absolute).string() + "\". " +
                               std::system_category().message(code),
                           code);
}

// The target's new content, written under a temporary name in the target's folder (so the
// rename cannot cross file systems) and removed again unless it was committed.
class TReplacement {
public:
  explicit TReplacement(const fs::path& target) : FTarget(target) {
    for (int attempt = 0; !FFile; ++attempt) {
      const fs::path candidate = target.parent_path() / (".tarvola-save-" + RandomHex() + ".tmp");
      try {
        // Created 0666 under the umask, as any new file, unlike the 0600 of mkstemp.
        FFile = std::make_unique<zip::TFileStream>(candidate, zip::TFileMode::CreateNew);
      } catch (const zip::EFCreateError& error) {
        if (error.Code() != EEXIST || attempt == 100) RaiseCreateError(target, error.Code());
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

  zip::TFileStream& File() { return *FFile; }

  // `written` is the stream the content went through; flushing it reaches the disk.
  void Commit(zip::TStream& written) {
    written.Flush();
    FFile->Close();
    if (::rename(FFile->Path().c_str(), FTarget.c_str()) != 0) RaiseCreateError(FTarget, errno);
    FFile.reset();
    SyncFolder(FTarget.parent_path());
  }

private:
  fs::path FTarget;
  std::unique_ptr<zip::TFileStream> FFile;
};

// The stream to write through: the file itself, or what the seam wraps around it.
class TTargetStream {
public:
  TTargetStream(zip::TFileStream& file, const TTargetStreamWrap& wrap) : FFile(file) {
    if (wrap) FWrapper = wrap(file);
  }
  zip::TStream& Get() { return FWrapper ? *FWrapper : static_cast<zip::TStream&>(FFile); }

private:
  zip::TFileStream& FFile;
  std::unique_ptr<zip::TStream> FWrapper;
};

bool WriteDocument(const fs::path& path, const std::string& document) {
  try {
    zip::TFileStream file(path, zip::TFileMode::Create);
    file.WriteBuffer(document.data(), static_cast<std::int64_t>(document.size()));
    file.Close();
    return true;
  } catch (const zip::EStreamError&) {
    return false;
  }
}

TSaveResult PackInto(const fs::path& document, const fs::path& target, const TTargetStreamWrap& wrap) {
  TReplacement replacement(target);
  TTargetStream out(replacement.File(), wrap);
  if (zip::ZipSingleFileInto(document, out.Get()) != zip::ZipOk) return TSaveResult::PackFailed;
  replacement.Commit(out.Get());
  return TSaveResult::Saved;
}

// A copy that fails is a result, as the system's file copy reports it, not an exception.
TSaveResult CopyInto(const fs::path& document, const fs::path& target, const TTargetStreamWrap& wrap) {
  try {
    zip::TFileStream source(document, zip::TFileMode::OpenRead);
    TReplacement replacement(target);
    TTargetStream out(replacement.File(), wrap);
    out.Get().CopyFrom(source, -1);
    replacement.Commit(out.Get());
    return TSaveResult::Saved;
  } catch (const zip::EStreamError&) {
    return TSaveResult::CopyFailed;
  }
}

}  // namespace

TSaveResult SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                        const fs::path& target, TKmlFileType type) {
  return SaveGpsFile(data, options, tempDir, target, type, TTargetStreamWrap());
}

TSaveResult SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options, const fs::path& tempDir,
                        const fs::path& target, TKmlFileType type, const TTargetStreamWrap& wrapTarget) {
  TPrivateFolder folder(tempDir);
  if (!folder.Created()) return TSaveResult::BuildFailed;
  const fs::path document = folder.Path() / "doc.kml";
  if (!WriteDocument(document, BuildKml(data, options, CreatedNowText()))) return TSaveResult::BuildFailed;
  if (type == TKmlFileType::Kmz) return PackInto(document, target, wrapTarget);
  return CopyInto(document, target, wrapTarget);
}

}  // namespace tarvola::kml
