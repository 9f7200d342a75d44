#include "kml/save_workflow.h"
#include "kml/save_seam.h"


#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "test_support.h"
#include "io/file_stream.h"
#include "kml/held_text.h"
#include "io/system_text.h"
#ifndef _WIN32
#include "process_runner.h"
#endif

namespace tarvola::kml {
namespace {

namespace fs = std::filesystem;
using tarvola::test::ReadFile;
using tarvola::test::TTempFolder;
using tarvola::test::WriteFile;

const std::string OldContent = "the user's previous file\n";

gps::TGpsData SampleData(const std::string& name, int points = 3) {
  gps::TGpsData data;
  data.Waypoints.emplace();
  for (int i = 0; i < points; ++i) {
    gps::TWpt point;
    point.Lat = "47.3" + std::to_string(i);
    point.Lon = "8.5" + std::to_string(i);
    point.Name = name + " " + std::to_string(i);
    data.Waypoints->push_back(point);
  }
  return data;
}

// One track whose coordinates are held past the memory limit, so the temporary folder is used.
gps::TGpsData LongTrack() {
  gps::TGpsData data = SampleData("Start", 1);
  std::vector<gps::TTrkPt> points(HeldMemoryLimit / 20);
  for (gps::TTrkPt& point : points) point = {"47.312345", "8.512345", "412.5", {}};
  data.Tracks.emplace(1);
  data.Tracks->front().Segments.emplace(1);
  data.Tracks->front().Segments->front().Points = std::move(points);
  return data;
}

// The document as built with the creation text the saved one carries, so only that may differ.
std::string ExpectedDocument(const gps::TGpsData& data, const std::string& saved) {
  const std::size_t from = saved.find("Created ");
  const std::size_t to = saved.find('<', from);
  if (from == std::string::npos || to == std::string::npos) return "(no creation text in the saved document)";
  return BuildKml(data, TExportOptions{}, saved.substr(from + 8, to - from - 8));
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

#ifndef _WIN32
// The entry list and doc.kml of an archive, as unzip sees them (a POSIX host's tool).
std::string Unzip(const std::vector<std::string>& args) {
  const test::TProcessResult unzip = test::RunProcess(test::UnzipProgram(), args);
  return unzip.ExitCode == 0 ? unzip.Out : "unzip failed: " + unzip.Err;
}
#endif

struct TSaveFixture : testing::Test {
  TTempFolder Temp;
  TTempFolder Out;
  gps::TGpsData Data = SampleData("Summit");

  void ExpectOnlyInOut(const std::vector<std::string>& names) const {
    std::vector<std::string> actual = Entries(Out.Path());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, names);
  }
  void ExpectTempEmpty() const { EXPECT_TRUE(Entries(Temp.Path()).empty()); }
};

using SaveGpsFileTest = TSaveFixture;

#ifndef _WIN32
TEST_F(SaveGpsFileTest, KmzHoldsOneEntryDocKmlWithTheDocument) {
  TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ is read back with it");
  const fs::path target = Out.File("trip.kmz");
  ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), target, TKmlFileType::Kmz), TSaveResult::Saved);
  EXPECT_EQ(Unzip({"-Z1", target.string()}), "doc.kml\n");
  const std::string document = Unzip({"-p", target.string(), "doc.kml"});
  EXPECT_EQ(document, ExpectedDocument(Data, document));
  EXPECT_EQ(test::RunProcess(test::UnzipProgram(), {"-tq", target.string()}).ExitCode, 0);
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip.kmz"});
}
#endif

TEST_F(SaveGpsFileTest, KmlIsTheDocumentItself) {
  const fs::path target = Out.File("trip.kml");
  ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), target, TKmlFileType::Kml), TSaveResult::Saved);
  const std::string document = ReadFile(target);
  EXPECT_EQ(document.rfind("<?xml", 0), 0u);
  EXPECT_EQ(document, ExpectedDocument(Data, document));
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip.kml"});
}

TEST_F(SaveGpsFileTest, TypeFollowsTheArgumentNotTheExtension) {
  ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), Out.File("route.kml"), TKmlFileType::Kmz), TSaveResult::Saved);
  EXPECT_EQ(ReadFile(Out.File("route.kml")).substr(0, 4), "PK\x03\x04");
  ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), Out.File("route.kmz"), TKmlFileType::Kml), TSaveResult::Saved);
  EXPECT_EQ(ReadFile(Out.File("route.kmz")).substr(0, 5), "<?xml");
}

TEST_F(SaveGpsFileTest, ReplacesAnExistingTarget) {
  for (TKmlFileType type : {TKmlFileType::Kmz, TKmlFileType::Kml}) {
    WriteFile(Out.File("trip"), OldContent);
    ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), Out.File("trip"), type), TSaveResult::Saved);
    EXPECT_NE(ReadFile(Out.File("trip")), OldContent);
    ExpectOnlyInOut({"trip"});
  }
  ExpectTempEmpty();
}

TEST_F(SaveGpsFileTest, RelativeTargetIsWrittenInTheCurrentFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(Out.Path());
  const TSaveResult result = SaveGpsFile(Data, {}, Temp.Path(), "here.kml", TKmlFileType::Kml).Code;
  fs::current_path(before);
  EXPECT_EQ(result, TSaveResult::Saved);
  ExpectOnlyInOut({"here.kml"});
}

TEST_F(SaveGpsFileTest, ConcurrentSavesDoNotShareTheDocument) {
  std::vector<gps::TGpsData> inputs;
  for (int i = 0; i < 6; ++i) inputs.push_back(SampleData("Track" + std::to_string(i), 2000));
  std::vector<TSaveResult> results(inputs.size());
  {
    std::vector<std::jthread> savers;
    for (std::size_t i = 0; i < inputs.size(); ++i)
      savers.emplace_back([&, i] {
        results[i] =
            SaveGpsFile(inputs[i], {}, Temp.Path(), Out.File("t" + std::to_string(i) + ".kml"), TKmlFileType::Kml).Code;
      });
  }
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    ASSERT_EQ(results[i], TSaveResult::Saved);
    const std::string document = ReadFile(Out.File("t" + std::to_string(i) + ".kml"));
    EXPECT_EQ(document, ExpectedDocument(inputs[i], document)) << "save " << i;
  }
  ExpectTempEmpty();
}

#ifndef _WIN32
// The umask is the process's; the tests run one at a time.
class TUmask {
public:
  explicit TUmask(mode_t mask) : FOld(::umask(mask)) {}
  ~TUmask() { ::umask(FOld); }

private:
  mode_t FOld;
};

struct TPermissionRow {
  const char* Name;
  mode_t Umask;
  TKmlFileType Type;
  mode_t Existing;  // the old file's mode; 0: no old file
};

class SaveGpsFilePermissions : public TSaveFixture, public testing::WithParamInterface<TPermissionRow> {};

// A new file gets what any new file gets; a replaced one keeps what its user gave it.
TEST_P(SaveGpsFilePermissions, AreTheReplacedFilesOrThoseOfANewFile) {
  if (GetParam().Existing != 0) {
    WriteFile(Out.File("trip"), OldContent);
    ASSERT_EQ(::chmod(Out.File("trip").c_str(), GetParam().Existing), 0);
  }
  TUmask mask(GetParam().Umask);
  ASSERT_EQ(SaveGpsFile(Data, {}, Temp.Path(), Out.File("trip"), GetParam().Type), TSaveResult::Saved);
  struct stat info {};
  ASSERT_EQ(::stat(Out.File("trip").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, GetParam().Existing != 0 ? GetParam().Existing : 0666 & ~GetParam().Umask);
  EXPECT_NE(ReadFile(Out.File("trip")), OldContent);
}

INSTANTIATE_TEST_SUITE_P(Masks, SaveGpsFilePermissions,
                         testing::Values(TPermissionRow{"NewKmz022", 022, TKmlFileType::Kmz, 0},
                                         TPermissionRow{"NewKml077", 077, TKmlFileType::Kml, 0},
                                         TPermissionRow{"NewKmz000", 000, TKmlFileType::Kmz, 0},
                                         TPermissionRow{"PrivateKmlUnder022", 022, TKmlFileType::Kml, 0600},
                                         TPermissionRow{"PrivateKmzUnder000", 000, TKmlFileType::Kmz, 0600},
                                         TPermissionRow{"GroupReadableKml", 077, TKmlFileType::Kml, 0640}),
                         test::TRowName());
#endif

// ---- Failures: the old target stays byte for byte and nothing of ours is left. ----

// The temporary folder holds only what exceeds the held text's memory: a short document saves
// without it, a long one fails naming it and keeps the old target.
struct TTempFolderRow {
  const char* Name;
  bool IsFile;
  TKmlFileType Type;
};

class UnusableTempFolder : public TSaveFixture, public testing::WithParamInterface<TTempFolderRow> {};

TEST_P(UnusableTempFolder, MattersOnlyPastTheMemoryLimit) {
  const fs::path temp = Temp.File("x");
  if (GetParam().IsFile) WriteFile(temp, "x");
  const std::string name = GetParam().Type == TKmlFileType::Kmz ? "trip.kmz" : "trip.kml";
  EXPECT_EQ(SaveGpsFile(Data, {}, temp, Out.File(name), GetParam().Type), TSaveResult::Saved);
  WriteFile(Out.File(name), OldContent);
  const TSaveOutcome result = SaveGpsFile(LongTrack(), {}, temp, Out.File(name), GetParam().Type);
  EXPECT_EQ(result.Code, TSaveResult::BuildFailed);
  const std::string lead = "cannot write to the temporary folder " + io::PathText(temp) + ": ";
  EXPECT_EQ(result.Reason.substr(0, lead.size()), lead);
  EXPECT_EQ(ReadFile(Out.File(name)), OldContent);
  ExpectOnlyInOut({name});
}

INSTANTIATE_TEST_SUITE_P(Folders, UnusableTempFolder,
                         testing::Values(TTempFolderRow{"Missing", false, TKmlFileType::Kmz},
                                         TTempFolderRow{"AFile", true, TKmlFileType::Kml}),
                         test::TRowName());

#ifndef _WIN32
// A write that fails on a real file: the system refuses to let files grow past the limit.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes) {
    FOldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit limit = FOld;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &FOld);
    ::signal(SIGXFSZ, FOldHandler);
  }

private:
  rlimit FOld{};
  sighandler_t FOldHandler;
};

TEST_F(SaveGpsFileTest, DocumentThatCannotBeWrittenIsABuildFailure) {
  WriteFile(Out.File("trip.kmz"), OldContent);
  TSaveOutcome result;
  {
    TFileSizeLimit limit(1000);
    result = SaveGpsFile(LongTrack(), {}, Temp.Path(), Out.File("trip.kmz"), TKmlFileType::Kmz);
  }
  EXPECT_EQ(result.Code, TSaveResult::BuildFailed);
  EXPECT_EQ(result.File, Out.File("trip.kmz"));
  EXPECT_EQ(result.Reason, "cannot write to the temporary folder " + Temp.Path().string() + ": File too large");
  EXPECT_EQ(ReadFile(Out.File("trip.kmz")), OldContent);
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip.kmz"});
}
#endif

TEST_F(SaveGpsFileTest, MissingTargetFolder) {
#ifdef _WIN32
  const std::string notFound = io::SystemErrorText(ERROR_PATH_NOT_FOUND);
#else
  const std::string notFound = io::SystemErrorText(ENOENT);
#endif
  const fs::path target = Out.File("none") / "trip.kmz";
  for (const TKmlFileType type : {TKmlFileType::Kml, TKmlFileType::Kmz}) {
    const TSaveOutcome saved = SaveGpsFile(Data, {}, Temp.Path(), target, type);
    EXPECT_EQ(saved.Code, TSaveResult::WriteFailed);
    EXPECT_EQ(saved.File, target);
    EXPECT_EQ(saved.Reason, notFound);
  }
  ExpectTempEmpty();
  ExpectOnlyInOut({});
}

TEST_F(SaveGpsFileTest, TargetThatIsAFolderStaysAndNothingIsLeft) {
  fs::create_directory(Out.File("trip.kmz"));
  WriteFile(Out.File("trip.kmz") / "inside", OldContent);
  for (const TKmlFileType type : {TKmlFileType::Kml, TKmlFileType::Kmz})
    EXPECT_EQ(SaveGpsFile(Data, {}, Temp.Path(), Out.File("trip.kmz"), type), TSaveResult::WriteFailed);
  EXPECT_EQ(ReadFile(Out.File("trip.kmz") / "inside"), OldContent);
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip.kmz"});
}

#ifndef _WIN32
// Runs `body` in a child process under an unprivileged user when we are the superuser, whom
// folder permissions do not bind; gives the child's exit status, or -1 when it could not run.
int RunUnprivileged(const std::vector<fs::path>& folders, const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  constexpr uid_t Nobody = 65534;
  for (const fs::path& folder : folders)
    if (::chown(folder.c_str(), Nobody, Nobody) != 0) return -1;
  const int status = test::RunInChild([&] {
    if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) return 100;
    return body();
  });
  return status == 100 ? -1 : status;
}

TEST_F(SaveGpsFileTest, ReadOnlyTargetFolderKeepsTheOldTarget) {
  WriteFile(Out.File("trip.kmz"), OldContent);
  const int status = RunUnprivileged({Temp.Path(), Out.Path()}, [&] {
    fs::permissions(Out.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    int failures = 0;
    for (const TKmlFileType type : {TKmlFileType::Kml, TKmlFileType::Kmz}) {
      const TSaveOutcome saved = SaveGpsFile(Data, {}, Temp.Path(), Out.File("trip.kmz"), type);
      if (saved.Code != TSaveResult::WriteFailed) failures |= 1;
      if (saved.Reason != io::SystemErrorText(EACCES)) failures |= 2;
    }
    fs::permissions(Out.Path(), fs::perms::owner_all);
    return failures;
  });
  if (status < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(status, 0) << "1: failure not reported, 2: wrong reason";
  EXPECT_EQ(ReadFile(Out.File("trip.kmz")), OldContent);
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip.kmz"});
}
#endif

// Passes writes to the file until `limit` bytes, then takes no more; can fail on Flush.
class TFailingTarget : public io::TStream {
public:
  TFailingTarget(io::TStream& file, std::int64_t limit, bool failFlush)
      : FFile(file), FLimit(limit), FFailFlush(failFlush) {}
  std::int64_t Read(void* buffer, std::int64_t count) override { return FFile.Read(buffer, count); }
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    const std::int64_t n = std::min(count, std::max<std::int64_t>(FLimit - FFile.Position(), 0));
    return FFile.Write(buffer, n);
  }
  std::int64_t Seek(std::int64_t offset, io::TSeekOrigin origin) override { return FFile.Seek(offset, origin); }
  std::int64_t Position() const override { return FFile.Position(); }
  std::int64_t Size() const override { return FFile.Size(); }
  void SetSize(std::int64_t size) override { FFile.SetSize(size); }
  void Flush() override {
    if (FFailFlush) throw io::EWriteError();
    FFile.Flush();
  }

private:
  io::TStream& FFile;
  std::int64_t FLimit;
  bool FFailFlush;
};

struct TWriteFailureRow {
  const char* Name;
  TKmlFileType Type;
  std::int64_t Limit;
  bool FailFlush;
};

class SaveGpsFileWriteFailure : public TSaveFixture, public testing::WithParamInterface<TWriteFailureRow> {};

TEST_P(SaveGpsFileWriteFailure, KeepsTheOldTargetAndLeavesNothing) {
  const TWriteFailureRow& row = GetParam();
  WriteFile(Out.File("trip"), OldContent);
  const TTargetStreamWrap wrap = [&](io::TStream& file) {
    return std::make_unique<TFailingTarget>(file, row.Limit, row.FailFlush);
  };
  const gps::TGpsData data = SampleData("Many", 500);
  EXPECT_EQ(SaveGpsFileThrough(wrap, data, {}, Temp.Path(), Out.File("trip"), row.Type), TSaveResult::WriteFailed);
  EXPECT_EQ(ReadFile(Out.File("trip")), OldContent);
  ExpectTempEmpty();
  ExpectOnlyInOut({"trip"});
}

INSTANTIATE_TEST_SUITE_P(
    Points, SaveGpsFileWriteFailure,
    testing::Values(TWriteFailureRow{"KmlAtOnce", TKmlFileType::Kml, 0, false},
                    TWriteFailureRow{"KmlMidway", TKmlFileType::Kml, 70000, false},
                    TWriteFailureRow{"KmlOnFlush", TKmlFileType::Kml, INT64_MAX, true},
                    TWriteFailureRow{"KmzInHeader", TKmlFileType::Kmz, 10, false},
                    TWriteFailureRow{"KmzInData", TKmlFileType::Kmz, 1000, false},
                    TWriteFailureRow{"KmzOnFlush", TKmlFileType::Kmz, INT64_MAX, true}),
    test::TRowName());

// The window's Cancel: the watch says stop, the save ends there and the old target stays.
TEST_F(SaveGpsFileTest, WatchThatSaysStopKeepsTheOldTargetAndLeavesNothing) {
  const gps::TGpsData data = SampleData("Many", 20000);
  for (TKmlFileType type : {TKmlFileType::Kmz, TKmlFileType::Kml}) {
    WriteFile(Out.File("trip"), OldContent);
    std::vector<std::uint64_t> heard;
    TSaveSettings settings;
    settings.Progress = [&](std::uint64_t done) {
      heard.push_back(done);
      return done < 8192;
    };
    EXPECT_EQ(SaveGpsFile(data, {}, Temp.Path(), Out.File("trip"), type, settings), TSaveResult::BuildFailed);
    EXPECT_EQ(heard, (std::vector<std::uint64_t>{4096, 8192}));
    EXPECT_EQ(ReadFile(Out.File("trip")), OldContent);
    ExpectOnlyInOut({"trip"});
  }
  ExpectTempEmpty();
}

TEST_F(SaveGpsFileTest, SeamThatChangesNothingSavesNormally) {
  const TTargetStreamWrap wrap = [](io::TStream& file) {
    return std::make_unique<TFailingTarget>(file, INT64_MAX, false);
  };
  ASSERT_EQ(SaveGpsFileThrough(wrap, Data, {}, Temp.Path(), Out.File("a.kmz"), TKmlFileType::Kmz), TSaveResult::Saved);
  EXPECT_EQ(ReadFile(Out.File("a.kmz")).substr(0, 4), "PK\x03\x04");
#ifndef _WIN32
  TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ is read back with it");
  EXPECT_EQ(Unzip({"-Z1", Out.File("a.kmz").string()}), "doc.kml\n");
#endif
}

}  // namespace
}  // namespace tarvola::kml
