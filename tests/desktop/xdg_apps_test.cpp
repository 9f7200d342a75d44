#include "desktop/xdg_apps.h"

#include <gtest/gtest.h>

#include "xdg_fixture.h"

namespace tarvola::desktop::xdg {
namespace {

using test::TXdgFixture;

const char* const Kmz = "application/vnd.google-earth.kmz";

std::string App(const std::string& name) {
  return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name + " %f\n";
}

class XdgAppsTest : public testing::Test {
protected:
  XdgAppsTest() {
    for (const char* id : {"a.desktop", "b.desktop", "c.desktop", "d.desktop"}) FXdg.AddEntry(id, App(id));
  }
  std::string Chosen() {
    TAppChoice c = DefaultApplication(XdgDirsFromEnvironment(), Kmz);
    return c.Found ? c.Entry.filename().string() : "<none>";
  }
  TXdgFixture FXdg;
};

TEST_F(XdgAppsTest, NothingAssociated) {
  TAppChoice c = DefaultApplication(XdgDirsFromEnvironment(), Kmz);
  EXPECT_FALSE(c.Found);
  EXPECT_TRUE(c.Entry.empty());
}

TEST_F(XdgAppsTest, UserDefaultWinsOverSystemDefault) {
  FXdg.Write(FXdg.ConfigDir() / "mimeapps.list", std::string("[Default Applications]\n") + Kmz + "=b.desktop\n");
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + Kmz + "=a.desktop;\n");
  EXPECT_EQ(Chosen(), "a.desktop");
}

TEST_F(XdgAppsTest, UninstalledDefaultGivesWayToTheNextInstalledOne) {
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + Kmz + "=gone.desktop;c.desktop;\n");
  EXPECT_EQ(Chosen(), "c.desktop");
}

TEST_F(XdgAppsTest, DefaultsOfAllFilesBeforeAnyAddedAssociation) {
  FXdg.SetUserMimeApps(std::string("[Added Associations]\n") + Kmz + "=a.desktop;\n");
  FXdg.Write(FXdg.DataDir() / "applications" / "mimeapps.list",
             std::string("[Default Applications]\n") + Kmz + "=d.desktop\n");
  EXPECT_EQ(Chosen(), "d.desktop");
}

TEST_F(XdgAppsTest, AddedAssociationsThenMimeInfoCache) {
  FXdg.Write(FXdg.DataDir() / "applications" / "mimeinfo.cache", std::string("[MIME Cache]\n") + Kmz + "=c.desktop;\n");
  EXPECT_EQ(Chosen(), "c.desktop");
  FXdg.Write(FXdg.ConfigDir() / "mimeapps.list", std::string("[Added Associations]\n") + Kmz + "=b.desktop;\n");
  EXPECT_EQ(Chosen(), "b.desktop");
}

TEST_F(XdgAppsTest, RemovedAssociationsHideLaterListings) {
  FXdg.SetUserMimeApps(std::string("[Removed Associations]\n") + Kmz + "=b.desktop;c.desktop;\n");
  FXdg.Write(FXdg.ConfigDir() / "mimeapps.list", std::string("[Default Applications]\n") + Kmz + "=b.desktop\n");
  FXdg.Write(FXdg.DataDir() / "applications" / "mimeinfo.cache",
             std::string("[MIME Cache]\n") + Kmz + "=c.desktop;d.desktop;\n");
  EXPECT_EQ(Chosen(), "d.desktop");
}

TEST_F(XdgAppsTest, EverythingRemovedIsNotFound) {
  FXdg.SetUserMimeApps(std::string("[Removed Associations]\n") + Kmz + "=c.desktop;\n");
  FXdg.Write(FXdg.DataDir() / "applications" / "mimeinfo.cache", std::string("[MIME Cache]\n") + Kmz + "=c.desktop;\n");
  EXPECT_EQ(Chosen(), "<none>");
}

TEST_F(XdgAppsTest, AssociatedButNotInstalledIsFoundWithoutEntry) {
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + Kmz + "=gone.desktop\n");
  TAppChoice c = DefaultApplication(XdgDirsFromEnvironment(), Kmz);
  EXPECT_TRUE(c.Found);
  EXPECT_TRUE(c.Entry.empty());
}

TEST_F(XdgAppsTest, HiddenEntryCountsAsUninstalled) {
  FXdg.AddEntry("a.desktop", "[Desktop Entry]\nType=Application\nExec=a %f\nHidden=true\n");
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + Kmz + "=a.desktop;b.desktop\n");
  EXPECT_EQ(Chosen(), "b.desktop");
}

TEST_F(XdgAppsTest, DesktopSpecificListComesFirstButAddsNothing) {
  TXdgFixture::SetEnv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + Kmz + "=a.desktop\n");
  FXdg.Write(FXdg.ConfigHome() / "gnome-mimeapps.list",
             std::string("[Default Applications]\n") + Kmz + "=b.desktop\n[Added Associations]\n" +
                 "text/html=c.desktop\n");
  EXPECT_EQ(Chosen(), "b.desktop");
  EXPECT_FALSE(DefaultApplication(XdgDirsFromEnvironment(), "text/html").Found);
}

TEST_F(XdgAppsTest, DesktopFileIdsMapToSubfolders) {
  FXdg.AddEntry("vendor/earth.desktop", App("earth"));
  auto found = FindDesktopFile(XdgDirsFromEnvironment(), "vendor-earth.desktop");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, FXdg.DataHome() / "applications" / "vendor" / "earth.desktop");
  EXPECT_FALSE(FindDesktopFile(XdgDirsFromEnvironment(), "vendor-moon.desktop"));
}

TEST_F(XdgAppsTest, UserEntryShadowsTheSystemOne) {
  FXdg.Write(FXdg.DataDir() / "applications" / "a.desktop", App("system-a"));
  auto found = FindDesktopFile(XdgDirsFromEnvironment(), "a.desktop");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, FXdg.DataHome() / "applications" / "a.desktop");
}

}  // namespace
}  // namespace tarvola::desktop::xdg
