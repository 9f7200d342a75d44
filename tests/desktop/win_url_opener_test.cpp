#include <gtest/gtest.h>

#include "desktop/url_opener.h"
#include "desktop/windows_desktop.h"
#include "fake_windows.h"

namespace tarvola::desktop {
namespace {

class WinOpenInBrowserTest : public testing::Test {
protected:
  bool Open(const std::string& hiveText, const std::string& address) {
    FHive = TRegFileHive::FromText(hiveText);
    TWindowsDesktop desktop(FHive, FSystem, FShell);
    return OpenInBrowser(desktop, address);
  }
  bool OpenWithFixture(const std::string& fixture, const std::string& address) {
    FHive = test::FixtureHive(fixture);
    TWindowsDesktop desktop(FHive, FSystem, FShell);
    return OpenInBrowser(desktop, address);
  }
  static std::string HtmCommand(const std::string& command) {
    std::string escaped;
    for (char c : command) {
      if (c == '\\' || c == '"') escaped += '\\';
      escaped += c;
    }
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\.htm]\n@=\"htmlfile\"\n\n"
           "[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\n@=\"" + escaped + "\"\n";
  }

  TRegFileHive FHive = TRegFileHive::FromText("Windows Registry Editor Version 5.00\n");
  test::TFakeSystem FSystem;
  test::TRecordingShell FShell;
};

TEST_F(WinOpenInBrowserTest, QuotedPlaceholderGetsTheAddressInsideTheQuotes) {
  ASSERT_TRUE(OpenWithFixture("browser_class.reg", "http://example.org/a b"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  const TShellRequest& r = FShell.Requests[0];
  EXPECT_EQ(r.Program, "C:\\Program Files\\Browser\\browser.exe");
  EXPECT_EQ(r.Parameters, "-- \"http://example.org/a%20b\"");
  EXPECT_EQ(r.ShowMode, 5);
  EXPECT_EQ(r.OwnerWindow, 0u);
}

TEST_F(WinOpenInBrowserTest, UnquotedPlaceholderGetsTheAddressBare) {
  ASSERT_TRUE(Open(HtmCommand("C:\\B\\browser.exe %1"), "https://example.org/"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Parameters, "https://example.org/");
}

TEST_F(WinOpenInBrowserTest, NoPlaceholderAppendsTheAddressQuoted) {
  ASSERT_TRUE(Open(HtmCommand("\"C:\\B\\browser.exe\" -new-window"), "https://example.org/"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Parameters, "-new-window \"https://example.org/\"");
}

TEST_F(WinOpenInBrowserTest, UserChoiceWinsOverTheMachineClass) {
  ASSERT_TRUE(OpenWithFixture("browser_user_choice.reg", "http://example.org/"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Program, "C:\\Users\\me\\Browser\\userbrowser.exe");
  EXPECT_EQ(FShell.Requests[0].Parameters, "-osint -url http://example.org/");
}

TEST_F(WinOpenInBrowserTest, QuoteInTheAddressCannotAddArguments) {
  ASSERT_TRUE(OpenWithFixture("browser_class.reg", "http://example.org/\" --load-extension=\"C:\\evil"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  const std::string& p = FShell.Requests[0].Parameters;
  EXPECT_EQ(p, "-- \"http://example.org/%22%20--load-extension=%22C:%5Cevil\"");
}

TEST_F(WinOpenInBrowserTest, PipeInTheAddressIsNotTakenForAPlaceholder) {
  ASSERT_TRUE(Open(HtmCommand("C:\\B\\browser.exe %1"), "http://example.org/a|b"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Parameters, "http://example.org/a%7Cb");
}

class WinRefusedAddressTest : public WinOpenInBrowserTest, public testing::WithParamInterface<const char*> {};

TEST_P(WinRefusedAddressTest, StartsNothing) {
  EXPECT_FALSE(OpenWithFixture("browser_class.reg", GetParam()));
  EXPECT_TRUE(FShell.Requests.empty());
}

INSTANTIATE_TEST_SUITE_P(Addresses, WinRefusedAddressTest,
                         testing::Values("file:///C:/Windows/win.ini", "javascript:alert(1)",
                                         "C:\\pages\\index.htm", "mailto:a@b.org", ""));

TEST_F(WinOpenInBrowserTest, UnknownHtmStartsNothing) {
  EXPECT_FALSE(OpenWithFixture("associations.reg", "http://example.org/"));
  EXPECT_TRUE(FShell.Requests.empty());
}

TEST_F(WinOpenInBrowserTest, HtmWithoutCommandStartsNothing) {
  EXPECT_FALSE(Open("Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\.htm]\n@=\"htmlfile\"\n",
                    "http://example.org/"));
  EXPECT_TRUE(FShell.Requests.empty());
}

TEST_F(WinOpenInBrowserTest, ShellFailureIsFalse) {
  FShell.Result = false;
  EXPECT_FALSE(OpenWithFixture("browser_class.reg", "http://example.org/"));
  EXPECT_EQ(FShell.Requests.size(), 1u);
}

TEST_F(WinOpenInBrowserTest, CommandWithoutProgramAsksForAnEmptyProgram) {
  EXPECT_TRUE(Open(HtmCommand("rundll32 url.dll,FileProtocolHandler %1"), "http://example.org/"));
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Program, "");
}

TEST_F(WinOpenInBrowserTest, RegistryErrorPassesToTheCaller) {
  EXPECT_THROW(Open("Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\.htm]\n@=dword:00000001\n",
                    "http://example.org/"),
               ERegistryException);
}

}  // namespace
}  // namespace tarvola::desktop
