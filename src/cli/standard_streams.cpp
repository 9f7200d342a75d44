#include "standard_streams.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "console.h"
#include "convert_runner.h"
#include "failure_line.h"
#include "info_report.h"
#include "io/system_text.h"
#include "kml/save_platform.h"

namespace tarvola::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;

void Write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

std::string WriteFailureLine(const TPlannedConversion& plan, const std::error_code& error) {
  return FailureLine(plan.InputText, kml::SaveFailureText(kml::TSaveResult::WriteFailed), io::SystemErrorText(error));
}

}  // namespace

TScratchFolder::TScratchFolder() {
  std::error_code ec;
  const fs::path parent = fs::temp_directory_path(ec);
  errno = 0;
  if (!ec) FPath = kml::MakePrivateFolder(parent);
  const int code = kml::LastSystemError();
  if (FPath.empty()) FError = ec ? ec : code != 0 ? std::error_code(code, std::system_category())
                                                  : std::make_error_code(std::errc::io_error);
  if (!FPath.empty()) FFolderEntry.emplace(FPath, io::TCleanupEntry::Folder);
}

fs::path TScratchFolder::File(std::string_view name) {
  fs::path file = FPath / name;
  FFileEntry.emplace(file, io::TCleanupEntry::File);
  return file;
}

TScratchFolder::~TScratchFolder() {
  std::error_code ec;
  if (!FPath.empty()) fs::remove_all(FPath, ec);
}

std::FILE* BinaryStandardInput() {
  SetBinary(stdin);
  return stdin;
}

std::error_code CopyToStandardOutput(const fs::path& file) {
  SetBinary(stdout);
  std::ifstream in(file, std::ios::binary);
  if (!in) return io::LastCrtError();
  std::string buffer(ChunkSize, '\0');
  errno = 0;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > 0 && std::fwrite(buffer.data(), 1, got, stdout) != got) return io::LastCrtError();
  }
  if (in.bad()) return io::LastCrtError();
  if (std::fflush(stdout) != 0) return io::LastCrtError();
  return {};
}

int ConvertThroughStandardStreams(TPlannedConversion plan, const TCliOptions& options, std::FILE* err) {
  std::optional<TScratchFolder> scratch;
  TCliOptions runOptions = options;
  if (plan.ToStandardOutput) {
    scratch.emplace();
    if (scratch->Path().empty()) {
      Write(err, WriteFailureLine(plan, scratch->Error()));
      return 1;
    }
    plan.Output = scratch->File(plan.Type == kml::TKmlFileType::Kml ? "output.kml" : "output.kmz");
    runOptions.Quiet = true;  // standard output is the report
  }
  const TConversionOutcome outcome = ConvertOne(plan, runOptions);
  Write(err, outcome.Messages);
  if (!outcome.Converted) return 1;
  if (plan.ToStandardOutput) {
    if (const std::error_code error = CopyToStandardOutput(plan.Output)) {
      // A reader that stopped early (head, a closed pager) is no fault of the document.
      const std::string line = error == std::errc::broken_pipe ? FailureLine(plan.InputText, ClosedOutputText)
                                                                : WriteFailureLine(plan, error);
      Write(err, line);
      return 1;
    }
  }
  return 0;
}

}  // namespace tarvola::cli
