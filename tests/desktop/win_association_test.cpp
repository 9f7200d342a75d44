#include "desktop/win_association.h"

#include <gtest/gtest.h>

#include "fake_windows.h"
#include "test_support.h"

namespace tarvola::desktop::win {
namespace {

using test::TFakeSystem;

// --- ExpandEnvText and FindInSystemFolders ---

TEST(ExpandEnvTextTest, ExpandsAndTrims) {
  TFakeSystem system;
  EXPECT_EQ(ExpandEnvText(system, "  %ProgramFiles%\\GE\\ge.exe \t"), "C:\\Program Files\\GE\\ge.exe");
  EXPECT_EQ(ExpandEnvText(system, "%NoSuchVariable%\\x"), "%NoSuchVariable%\\x");
}

TEST(ExpandEnvTextTest, FailedExpansionKeepsTheTextUntrimmed) {
  TFakeSystem system;
  system.ExpansionFails = true;
  EXPECT_EQ(ExpandEnvText(system, " %SystemRoot%\\a.exe "), " %SystemRoot%\\a.exe ");
}

TEST(ExpandEnvTextTest, LongExpansionIsNotCut) {
  TFakeSystem system;
  system.Environment["LONG"] = std::string(3000, 'x');
  EXPECT_EQ(ExpandEnvText(system, "C:\\%LONG%\\a.exe"), "C:\\" + std::string(3000, 'x') + "\\a.exe");
}

TEST(FindInSystemFoldersTest, SystemFolderFirstThenWindowsFolder) {
  TFakeSystem system;
  system.AddFile("C:\\Windows\\system32\\both.exe");
  system.AddFile("C:\\Windows\\both.exe");
  system.AddFile("C:\\Windows\\explorer.exe");
  EXPECT_EQ(FindInSystemFolders(system, "both.exe"), "C:\\Windows\\system32\\both.exe");
  EXPECT_EQ(FindInSystemFolders(system, "explorer.exe"), "C:\\Windows\\explorer.exe");
  EXPECT_EQ(FindInSystemFolders(system, "nowhere.exe"), "");
}

TEST(FindInSystemFoldersTest, FolderWithTrailingBackslash) {
  TFakeSystem system;
  system.System = "D:\\Sys\\";
  system.AddFile("D:\\Sys\\tool.exe");
  EXPECT_EQ(FindInSystemFolders(system, "tool.exe"), "D:\\Sys\\tool.exe");
}

// --- ExeFromCommand ---

struct TExeRow {
  const char* Name;
  const char* Command;
  const char* Expected;
};

class ExeFromCommandTest : public testing::TestWithParam<TExeRow> {};

TEST_P(ExeFromCommandTest, FindsTheProgram) {
  TFakeSystem system;
  system.AddFile("C:\\Windows\\system32\\notepad.exe");
  system.AddFile("C:\\Windows\\regedit.exe");
  EXPECT_EQ(ExeFromCommand(system, GetParam().Command), GetParam().Expected);
}

const TExeRow ExeRows[] = {
    {"QuotedPathQuotedPlaceholder", "\"C:\\Program Files\\Google\\GoogleEarth.exe\" \"%1\"",
     "c:\\program files\\google\\googleearth.exe"},
    {"UnquotedWithArguments", "  C:\\GE\\GE.EXE -open %1", "c:\\ge\\ge.exe"},
    {"QuotedAlone", "\"C:\\GE\\ge.exe\"", "c:\\ge\\ge.exe"},
    {"PathAlone", "C:\\GE\\ge.exe", "c:\\ge\\ge.exe"},
    {"NoDot", "rundll32 url,OpenURL %1", ""},
    {"Empty", "", ""},
    {"BareNameInSystemFolder", "notepad.exe %1", "C:\\Windows\\system32\\notepad.exe"},
    {"BareNameInWindowsFolder", "REGEDIT.EXE", "C:\\Windows\\regedit.exe"},
    {"BareNameNowhere", "ge.exe \"%1\"", "ge.exe"},
    {"EnvironmentExpanded", "%SystemRoot%\\system32\\rundll32.exe shell32.dll", "C:\\Windows\\system32\\rundll32.exe"},
    {"DotThenSpace", "\".\" x", "."},
};

INSTANTIATE_TEST_SUITE_P(Rows, ExeFromCommandTest, testing::ValuesIn(ExeRows),
                         test::TRowName());

// --- ProgIdCommand and the two lookups ---

class HiveTest : public testing::Test {
protected:
  TRegFileHive FHive = test::FixtureHive("associations.reg");
};

TEST_F(HiveTest, ProgIdCommandOfAMissingClass) {
  TProgIdCommand r = ProgIdCommand(FHive, "NoSuchClass");
  EXPECT_FALSE(r.Found);
  EXPECT_EQ(r.Command, "");
}

TEST_F(HiveTest, ProgIdCommandWithoutShellIsFoundButEmpty) {
  TProgIdCommand r = ProgIdCommand(FHive, "NoShellClass");
  EXPECT_TRUE(r.Found);
  EXPECT_EQ(r.Command, "");
}

TEST_F(HiveTest, ProgIdCommandVerbs) {
  EXPECT_EQ(ProgIdCommand(FHive, "VerbClass").Command, "C:\\Verb\\edit.exe %1");
  EXPECT_EQ(ProgIdCommand(FHive, "BothClass").Command, "C:\\Both\\open.exe %1");
  EXPECT_EQ(ProgIdCommand(FHive, "NewClass").Command, "\"C:\\New\\new.exe\" -n \"%1\"");
  TProgIdCommand noCommand = ProgIdCommand(FHive, "NoCommandClass");
  EXPECT_TRUE(noCommand.Found);
  EXPECT_EQ(noCommand.Command, "");
}

TEST_F(HiveTest, ProgIdCommandBelowApplications) {
  EXPECT_EQ(ProgIdCommand(FHive, "Applications\\viewer.exe").Command, "\"C:\\Apps\\Viewer.exe\" \"%1\"");
}

TEST_F(HiveTest, UserFileExtsLookupReadsBothChoices) {
  TUserFileExts r = UserFileExtsLookup(FHive, ".usrapp");
  EXPECT_TRUE(r.Found);
  EXPECT_EQ(r.UserProgId, "UserProg");
  EXPECT_EQ(r.ApplicationCommand, "\"C:\\Apps\\Viewer.exe\" \"%1\"");
  EXPECT_EQ(r.UserProgIdCommand, "C:\\UserProg\\prog.exe %1");
}

TEST_F(HiveTest, UserFileExtsLookupOfAnUnknownExtension) {
  TUserFileExts r = UserFileExtsLookup(FHive, ".classonly");
  EXPECT_FALSE(r.Found);
  EXPECT_EQ(r.UserProgId + r.ApplicationCommand + r.UserProgIdCommand, "");
}

TEST_F(HiveTest, ClassesExtLookupReadsClassAndPerceivedType) {
  TClassesExt r = ClassesExtLookup(FHive, ".classonly");
  EXPECT_TRUE(r.Found);
  EXPECT_EQ(r.ClassProgId, "ClassProg");
  EXPECT_EQ(r.PerceivedType, "text");
  EXPECT_EQ(r.ClassCommand, "\"C:\\Class\\class.exe\" \"%1\"");
  EXPECT_EQ(r.PerceivedTypeCommand, "C:\\Windows\\notepad.exe %1");
}

TEST_F(HiveTest, ClassesExtLookupOfAnUnknownExtension) {
  TClassesExt r = ClassesExtLookup(FHive, ".useronly");
  EXPECT_FALSE(r.Found);
  EXPECT_EQ(r.ClassProgId + r.PerceivedType + r.ClassCommand + r.PerceivedTypeCommand, "");
}

TEST_F(HiveTest, ValueOfAnotherTypePassesToTheCaller) {
  EXPECT_THROW(ClassesExtLookup(FHive, ".dword"), ERegistryException);
  EXPECT_THROW(ResolveAssociation(FHive, ".dword"), ERegistryException);
  EXPECT_THROW(ResolveAssociation(FHive, ".binaryverb"), ERegistryException);
}

// --- ResolveAssociation ---

struct TResolveRow {
  const char* Name;
  const char* Extension;
  bool Found;
  const char* Command;
};

class ResolveAssociationTest : public HiveTest, public testing::WithParamInterface<TResolveRow> {};

TEST_P(ResolveAssociationTest, ChoosesByPrecedence) {
  TAssociation r = ResolveAssociation(FHive, GetParam().Extension);
  EXPECT_EQ(r.Found, GetParam().Found);
  EXPECT_EQ(r.Command, GetParam().Command);
}

const TResolveRow ResolveRows[] = {
    {"UserApplicationFirst", ".usrapp", true, "\"C:\\Apps\\Viewer.exe\" \"%1\""},
    {"UserProgIdOverClass", ".usrprog", true, "C:\\UserProg\\prog.exe %1"},
    {"ClassOverPerceivedType", ".classonly", true, "\"C:\\Class\\class.exe\" \"%1\""},
    {"PerceivedTypeLast", ".perceived", true, "C:\\Windows\\notepad.exe %1"},
    {"DanglingUserChoiceFallsToClass", ".userdangling", true, "\"C:\\Class\\class.exe\" \"%1\""},
    {"FoundWithoutShell", ".noshell", true, ""},
    {"FoundOnlyInUserList", ".useronly", true, ""},
    {"OpenNewVerb", ".opennew", true, "\"C:\\New\\new.exe\" -n \"%1\""},
    {"ExpandableTakenAsStored", ".expand", true, "%ProgramFiles%\\Exp\\exp.exe \"%1\""},
    {"Unknown", ".nowhere", false, ""},
    {"CaseOfExtension", ".CLASSONLY", true, "\"C:\\Class\\class.exe\" \"%1\""},
};

INSTANTIATE_TEST_SUITE_P(Rows, ResolveAssociationTest, testing::ValuesIn(ResolveRows),
                         test::TRowName());

// --- BuildLaunchCommand ---

constexpr const char* Trip = "C:\\My Trips\\trip one.kmz";

struct TBuildRow {
  const char* Name;
  const char* Template;
  const char* Document;
  bool Ok;
  const char* Program;
  const char* Parameters;
};

class BuildLaunchCommandTest : public testing::TestWithParam<TBuildRow> {};

TEST_P(BuildLaunchCommandTest, FillsTheDocumentIn) {
  TFakeSystem system;
  system.AddFile("C:\\Windows\\system32\\rundll32.exe");
  system.AddFile("C:\\Windows\\hh.exe");
  TLaunchCommand r = BuildLaunchCommand(system, GetParam().Template, GetParam().Document);
  EXPECT_EQ(r.Ok, GetParam().Ok);
  EXPECT_EQ(r.Program, GetParam().Program);
  EXPECT_EQ(r.Parameters, GetParam().Parameters);
}

const TBuildRow BuildRows[] = {
    {"QuotedPlaceholder", "\"C:\\Program Files\\GE\\googleearth.exe\" \"%1\"", Trip, true,
     "C:\\Program Files\\GE\\googleearth.exe", "\"C:\\My Trips\\trip one.kmz\""},
    {"UnquotedPlaceholder", "C:\\GE\\ge.exe %1", Trip, true, "C:\\GE\\ge.exe", "C:\\My Trips\\trip one.kmz"},
    {"NoPlaceholder", "\"C:\\GE\\ge.exe\" -open", Trip, true, "C:\\GE\\ge.exe", "-open \"C:\\My Trips\\trip one.kmz\""},
    {"NoPlaceholderDoublesQuotes", "C:\\GE\\ge.exe -open", "a\"b", true, "C:\\GE\\ge.exe", "-open \"a\"\"b\""},
    {"SecondPlaceholderRemoved", "\"C:\\GE\\ge.exe\" \"%1\" %*", Trip, true, "C:\\GE\\ge.exe",
     "\"C:\\My Trips\\trip one.kmz\""},
    {"SecondQuotedPlaceholderRemovedWithQuotes", "\"C:\\B\\b.exe\" -url \"%1\" \"%2\" -x", "http://x.org/", true,
     "C:\\B\\b.exe", "-url \"http://x.org/\"  -x"},
    {"PlaceholderInsideOption", "C:\\B\\b.exe -url=%1 -new", "http://x.org/", true, "C:\\B\\b.exe",
     "-url=http://x.org/ -new"},
    {"ProgramAlone", "C:\\GE\\ge.exe", Trip, true, "C:\\GE\\ge.exe", Trip},
    {"QuotedProgramAlone", "\"C:\\GE\\ge.exe\"", Trip, true, "C:\\GE\\ge.exe", Trip},
    {"UpperCaseExe", "\"C:\\GE\\GE.EXE\" \"%1\"", Trip, true, "C:\\GE\\GE.EXE", "\"C:\\My Trips\\trip one.kmz\""},
    {"EnvironmentExpanded", "  %ProgramFiles%\\GE\\ge.exe \"%1\"  ", Trip, true, "C:\\Program Files\\GE\\ge.exe",
     "\"C:\\My Trips\\trip one.kmz\""},
    {"BareProgramInSystemFolder", "rundll32.exe url.dll,FileProtocolHandler %1", "http://x.org/", true,
     "C:\\Windows\\system32\\rundll32.exe", "url.dll,FileProtocolHandler http://x.org/"},
    {"BareProgramInWindowsFolder", "hh.exe %1", "a.chm", true, "C:\\Windows\\hh.exe", "a.chm"},
    {"BareProgramNowhere", "ge.exe \"%1\"", Trip, true, "", "\"C:\\My Trips\\trip one.kmz\""},
    {"NoExeAtAll", "\"C:\\GE\\ge.bat\" \"%1\"", Trip, false, "", ""},
    {"NoExeButExeDocument", "%1", "C:\\Tools\\Setup.EXE", true, "C:\\Tools\\Setup.EXE", ""},
    {"ExeFollowedByALetter", "C:\\GE\\ge.exex \"%1\"", Trip, true, "", ""},
    {"EmptyTemplate", "", Trip, false, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Rows, BuildLaunchCommandTest, testing::ValuesIn(BuildRows),
                         test::TRowName());

}  // namespace
}  // namespace tarvola::desktop::win
