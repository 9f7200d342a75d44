#include "kml/save_target.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "io/system_text.h"
#include "kml/save_platform.h"

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

// The file a name stands for: symbolic links followed, the last one even when it dangles.
fs::path Followed(const fs::path& target) {
  fs::path path = target;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

}  // namespace

TSaveTarget::TSaveTarget(const fs::path& target, bool keepExisting) : FTarget(target), FKeepExisting(keepExisting) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  FExisted = fs::exists(status);
  FSpecial = FExisted && !fs::is_regular_file(status) && !fs::is_directory(status);
  if (FSpecial) {
    // Opened by the name given, which the system follows (/dev/stdout names no path of its own).
    std::error_code folderError;
    FFile.emplace(io::SystemTemporaryFolder(folderError), io::TFileMode::Temporary);
    return;
  }
  FTarget = Followed(target);
  if (FExisted && fs::is_regular_file(status) && fs::hard_link_count(FTarget, ec) > 1 && !ec) {
    throw io::EFCreateError("Cannot replace \"" + io::PathText(fs::absolute(FTarget, ec)) +
                            "\": the file has other names (hard links), which a new file would part from it");
  }
  CreateBeside();
}

// A new name in the target's folder, so that the rename cannot cross file systems.
void TSaveTarget::CreateBeside() {
  for (int attempt = 0; !FFile; ++attempt) {
    const fs::path candidate = FTarget.parent_path() / (".tarvola-save-" + RandomHex() + ".tmp");
    try {
      // Created as any new file is (0666 under the umask), unlike the 0600 of mkstemp.
      FFile.emplace(candidate, io::TFileMode::CreateNew);
    } catch (const io::EFCreateError& error) {
      if (!io::IsNameTaken(error.Code()) || attempt == 100) RaiseCreateError(FTarget, error.Code());
    }
  }
  FCleanup.emplace(FFile->Path(), io::TCleanupEntry::File);
  // Before any content: a file the user kept private stays so.
  if (FExisted) TakeOwnership(FFile->Path(), FTarget);
}

TSaveTarget::~TSaveTarget() {
  if (!FFile || FSpecial) return;
  const fs::path path = FFile->Path();
  FFile.reset();
  std::error_code ignored;
  fs::remove(path, ignored);
}

void TSaveTarget::Commit(io::TStream& written) {
  if (FSpecial) {
    CopyIntoSpecial();
    return;
  }
  written.Flush();
  FFile->Close();
  const int code = FKeepExisting ? MoveIntoPlaceNew(FFile->Path(), FTarget) : MoveIntoPlace(FFile->Path(), FTarget);
  if (code != 0 && FKeepExisting && io::IsNameTaken(code)) {
    throw io::EFCreateError(io::PathText(FTarget) + " appeared while the file was converted, and is kept");
  }
  if (code != 0) RaiseCreateError(FTarget, code);
  FFile.reset();
  SyncFolder(FTarget.parent_path());
}

// A device or a pipe takes the content as it is written, once it is complete.
void TSaveTarget::CopyIntoSpecial() {
  io::TFileStream special(FTarget, io::TFileMode::OpenWrite);
  FFile->SetPosition(0);
  special.CopyFrom(*FFile, -1);
  special.Close();
  FFile.reset();
}

}  // namespace tarvola::kml
