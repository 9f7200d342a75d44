// The window on Windows finds Google Earth through the registry as an installer and the user's
// choice leave it, written with reg.exe: the program's class under HKCR, and the user's choice of
// it for .kml and .kmz under HKCU. (Wine 8 does not show HKCU\Software\Classes under HKCR, so
// the class goes where the resolver reads it.) The stand-in program records how it was started.
#include <windows.h>

#include <chrono>
#include <thread>

#include "main_form_fixture.h"
#include "process_runner.h"

namespace tarvola::test {
namespace {

namespace fs = std::filesystem;

const std::string Classes = "HKCR\\";
const std::string FileExts = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr const char* ProgId = "Tarvola.TestEarth";

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

int Reg(const std::vector<std::string>& args) {
  wchar_t system[MAX_PATH + 1] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return RunProcess(Utf8(fs::path(system) / L"reg.exe"), args).ExitCode;
}

// What the recorder wrote (arguments each ended by NUL), waiting for it to start.
std::optional<std::string> Recorded(const fs::path& record) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(record) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (!fs::exists(record)) return std::nullopt;
  return ReadFile(record);
}

class GeAssociation : public MainFormTest {
protected:
  void SetUp() override {
    FProgram = Folder.File("Google Earth \xE2\x9C\x93.exe");
    fs::copy_file(fs::absolute(TARVOLA_ARG_RECORDER), FProgram);
    for (const char* type : {".kml", ".kmz"})
      ASSERT_EQ(Reg({"add", FileExts + type, "/v", "ProgID", "/d", ProgId, "/f"}), 0);
    ASSERT_EQ(Reg({"add", Classes + ProgId + "\\shell\\open\\command", "/ve", "/d",
                   "\"" + Utf8(FProgram) + "\" \"%1\"", "/f"}), 0);
    ASSERT_TRUE(SetEnvironmentVariableW(L"TARVOLA_RECORD_FILE", Record().c_str()));
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"TARVOLA_RECORD_FILE", nullptr);
    for (const char* type : {".kml", ".kmz"}) Reg({"delete", FileExts + type, "/f"});
    Reg({"delete", Classes + ProgId, "/f"});
  }
  fs::path Record() const { return Folder.File("record"); }

  fs::path FProgram;
};

TEST_F(GeAssociation, LastSavedKmzOpensInTheRegisteredProgram) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  Save(Folder.File("Zürich trip"), 1);
  const fs::path saved = Folder.File("Zürich trip.kmz");
  ASSERT_TRUE(fs::exists(saved));
  Ui().OpenLastSavedBt->trigger();
  const auto record = Recorded(Record());
  ASSERT_TRUE(record) << "the registered program did not start";
  EXPECT_EQ(*record, Utf8(saved) + std::string(1, '\0'));
  EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(GeAssociation, OpenGoogleEarthStartsTheProgramAlone) {
  Ui().OpenGeBt->trigger();
  const auto record = Recorded(Record());
  ASSERT_TRUE(record) << "the registered program did not start";
  EXPECT_EQ(*record, "");
  EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(GeAssociation, RemovedProgramIsReportedOnce) {
  fs::remove(FProgram);
  Ui().OpenGeBt->trigger();
  ASSERT_EQ(Prompts.Messages.size(), 1u);
  EXPECT_EQ(Prompts.Messages[0].MainText, QStringLiteral("Error, Google Earth wasn't found."));
}

}  // namespace
}  // namespace tarvola::test
