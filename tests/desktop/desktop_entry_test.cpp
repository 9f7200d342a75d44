#include "desktop/desktop_entry.h"

#include <gtest/gtest.h>

#include "xdg_fixture.h"
#include "test_support.h"

namespace tarvola::desktop::xdg {
namespace {

using TArgs = std::vector<std::string>;

struct TExecRow {
  const char* Name;
  const char* ExecValue;  // as written in the file, string escapes included
  const char* Document;
  TArgs Expected;         // program first
};

class DesktopEntryExecTest : public testing::TestWithParam<TExecRow> {};

TEST_P(DesktopEntryExecTest, TurnsExecIntoArguments) {
  test::TTempFolder temp;
  test::WriteFile(temp.File("e.desktop"), std::string("# comment\n[Desktop Entry]\nType=Application\n"
                                                      "Name=Earth Pro\nName[de]=Erde\nIcon=earth\nExec=") +
                                              GetParam().ExecValue + "\n\n[Desktop Action New]\nExec=other\n");
  auto entry = ReadDesktopEntry(temp.File("e.desktop"));
  ASSERT_TRUE(entry);
  auto args = SplitExec(entry->Exec);
  ASSERT_TRUE(args);
  TArgs rest(args->begin() + 1, args->end());
  TArgs all{args->front()};
  for (std::string& a : ExpandFieldCodes(rest, *entry, GetParam().Document)) all.push_back(a);
  TArgs expected = GetParam().Expected;
  for (std::string& e : expected)
    if (e == "<path>") e = temp.File("e.desktop").string();
  EXPECT_EQ(all, expected);
}

const TExecRow ExecRows[] = {
    {"FileCode", "earth %f", "/t/a b.kmz", {"earth", "/t/a b.kmz"}},
    {"UrlListCode", "earth --open %U", "http://x.org/", {"earth", "--open", "http://x.org/"}},
    {"NoDocumentDropsTheCode", "earth %F --x", "", {"earth", "--x"}},
    {"NoFileCodeAppendsTheDocument", "earth --view", "/t/a.kmz", {"earth", "--view", "/t/a.kmz"}},
    {"NoFileCodeNoDocument", "earth", "", {"earth"}},
    {"IconNameAndLocation", "earth %i %c %k %u", "d", {"earth", "--icon", "earth", "Earth Pro", "<path>", "d"}},
    {"PercentEscape", "earth --rate=100%% %u", "d", {"earth", "--rate=100%", "d"}},
    {"DeprecatedCodesRemoved", "earth %d %D %n %N %v %m %u", "d", {"earth", "d"}},
    {"InlineCode", "earth --file=%f", "/t/a.kmz", {"earth", "--file=/t/a.kmz"}},
    {"QuotedProgramWithBlank", "\"/opt/Google Earth/earth\" %f", "d", {"/opt/Google Earth/earth", "d"}},
    {"QuotingEscapes", "earth \"a \\\\\"b\\\\\" \\\\$HOME \\\\`x\\\\` \\\\\\\\\" %f", "d",
     {"earth", "a \"b\" $HOME `x` \\", "d"}},
    {"StringEscapes", "earth\\sPro\\t%f", "d", {"earth", "Pro", "d"}},
    {"EmptyQuotedArgumentKept", "earth \"\" %f", "d", {"earth", "", "d"}},
    {"DocumentWithQuotesStaysOneArgument", "earth %f", "/t/say \"hi\".kmz", {"earth", "/t/say \"hi\".kmz"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, DesktopEntryExecTest, testing::ValuesIn(ExecRows),
                         test::TRowName());

TEST(DesktopEntryTest, UnterminatedQuoteIsNoCommand) {
  EXPECT_FALSE(SplitExec("earth \"%f"));
  EXPECT_FALSE(SplitExec("   "));
}

TEST(DesktopEntryTest, ReadsOnlyTheDesktopEntryGroup) {
  test::TTempFolder temp;
  test::WriteFile(temp.File("a.desktop"),
                  "[Desktop Action Open]\nExec=wrong\n[Desktop Entry]\nType = Application\nExec = right %f\r\n");
  auto entry = ReadDesktopEntry(temp.File("a.desktop"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Exec, "right %f");
  EXPECT_TRUE(IsLaunchable(*entry));
}

TEST(DesktopEntryTest, WhatCannotBeLaunched) {
  test::TTempFolder temp;
  test::WriteFile(temp.File("link.desktop"), "[Desktop Entry]\nType=Link\nURL=http://x.org/\n");
  test::WriteFile(temp.File("hidden.desktop"), "[Desktop Entry]\nType=Application\nExec=a\nHidden=true\n");
  test::WriteFile(temp.File("noexec.desktop"), "[Desktop Entry]\nType=Application\nName=x\n");
  test::WriteFile(temp.File("nogroup.desktop"), "Exec=a\n");
  for (const char* name : {"link.desktop", "hidden.desktop", "noexec.desktop"}) {
    auto entry = ReadDesktopEntry(temp.File(name));
    ASSERT_TRUE(entry) << name;
    EXPECT_FALSE(IsLaunchable(*entry)) << name;
  }
  EXPECT_FALSE(ReadDesktopEntry(temp.File("nogroup.desktop")));
  EXPECT_FALSE(ReadDesktopEntry(temp.File("missing.desktop")));
}

}  // namespace
}  // namespace tarvola::desktop::xdg
