#include <gtest/gtest.h>

#include "desktop/detached_spawn.h"
#include "desktop/url_opener.h"
#include "desktop/xdg_desktop.h"
#include "xdg_fixture.h"

namespace tarvola::desktop {
namespace {

using test::TXdgFixture;
using test::WaitForRecord;

class XdgOpenInBrowserTest : public testing::Test {
protected:
  void RegisterBrowser(const std::string& execArguments) {
    FXdg.AddRecorderEntry("browser.desktop", execArguments);
    FXdg.SetUserMimeApps("[Default Applications]\ntext/html=browser.desktop;\n");
  }

  TXdgFixture FXdg;
  std::filesystem::path FRecord = FXdg.RecordFile();
};

TEST_F(XdgOpenInBrowserTest, StartsTheHtmlProgramWithTheAddress) {
  RegisterBrowser("%u");
  ASSERT_TRUE(OpenInBrowser("https://example.org/news?id=7"));
  auto args = WaitForRecord(FRecord);
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, std::vector<std::string>{"https://example.org/news?id=7"});
}

TEST_F(XdgOpenInBrowserTest, QuotesAndBlanksArriveEncodedInOneArgument) {
  RegisterBrowser("--new-tab %u");
  ASSERT_TRUE(OpenInBrowser("http://example.org/a b\" --evil \"c"));
  auto args = WaitForRecord(FRecord);
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, (std::vector<std::string>{"--new-tab", "http://example.org/a%20b%22%20--evil%20%22c"}));
}

class XdgRefusedAddressTest : public XdgOpenInBrowserTest, public testing::WithParamInterface<const char*> {};

TEST_P(XdgRefusedAddressTest, StartsNothing) {
  RegisterBrowser("%u");
  EXPECT_FALSE(OpenInBrowser(GetParam()));
  // A good address on the same desktop does start, so the silence above means refusal.
  ASSERT_TRUE(OpenInBrowser("http://example.org/"));
  auto args = WaitForRecord(FRecord);
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, std::vector<std::string>{"http://example.org/"});
}

INSTANTIATE_TEST_SUITE_P(Addresses, XdgRefusedAddressTest,
                         testing::Values("file:///etc/passwd", "javascript:alert(1)", "", "--help"));

TEST_F(XdgOpenInBrowserTest, FalseWithoutAnHtmlAssociation) {
  FXdg.AddRecorderEntry("browser.desktop", "%u");
  EXPECT_FALSE(OpenInBrowser("http://example.org/"));
}

TEST_F(XdgOpenInBrowserTest, FalseWhenTheProgramCannotStart) {
  FXdg.AddEntry("browser.desktop", "[Desktop Entry]\nType=Application\nExec=/nonexistent/browser %u\n");
  FXdg.SetUserMimeApps("[Default Applications]\ntext/html=browser.desktop;\n");
  EXPECT_FALSE(OpenInBrowser("http://example.org/"));
}

}  // namespace
}  // namespace tarvola::desktop
