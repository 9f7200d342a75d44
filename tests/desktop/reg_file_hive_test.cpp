#include "reg_file_hive.h"

#include <gtest/gtest.h>

#include "fake_windows.h"

namespace tarvola::desktop {
namespace {

std::string ReadValue(const TRegFileHive& hive, TRegRoot root, const std::string& key, const std::string& name) {
  auto reg = hive.Open(root);
  EXPECT_TRUE(reg->OpenKeyReadOnly(key)) << key;
  std::string value = reg->ReadString(name);
  reg->CloseKey();
  return value;
}

TEST(RegFileHiveTest, KeysAndValueNamesIgnoreLetterCase) {
  TRegFileHive hive = test::FixtureHive("associations.reg");
  auto reg = hive.Open(TRegRoot::ClassesRoot);
  EXPECT_TRUE(reg->KeyExists("\\BOTHCLASS\\Shell\\open"));
  ASSERT_TRUE(reg->OpenKeyReadOnly(".USRAPP"));
  EXPECT_EQ(reg->ReadString("perceivedtype"), "text");
}

TEST(RegFileHiveTest, RootsAreSeparate) {
  TRegFileHive hive = test::FixtureHive("associations.reg");
  EXPECT_TRUE(hive.Open(TRegRoot::ClassesRoot)->KeyExists(".usrapp"));
  EXPECT_FALSE(hive.Open(TRegRoot::CurrentUser)->KeyExists(".usrapp"));
}

TEST(RegFileHiveTest, ParentsOfAKeyExist) {
  TRegFileHive hive = test::FixtureHive("associations.reg");
  auto reg = hive.Open(TRegRoot::ClassesRoot);
  EXPECT_TRUE(reg->KeyExists("\\UserProg\\shell"));
  EXPECT_TRUE(reg->KeyExists("\\UserProg"));
  EXPECT_FALSE(reg->KeyExists("\\UserProg\\shell\\edit"));
}

TEST(RegFileHiveTest, MissingValueReadsEmpty) {
  TRegFileHive hive = test::FixtureHive("associations.reg");
  EXPECT_EQ(ReadValue(hive, TRegRoot::ClassesRoot, ".usrapp", "NoSuchValue"), "");
  EXPECT_EQ(ReadValue(hive, TRegRoot::ClassesRoot, "\\NoCommandClass\\shell\\open", ""), "");
}

TEST(RegFileHiveTest, ReadsUtf16ExportsWithByteOrderMark) {
  TRegFileHive hive = test::FixtureHive("utf16_export.reg");
  EXPECT_EQ(ReadValue(hive, TRegRoot::ClassesRoot, ".trip", ""), "Tr\xc3\xaepClass");
  EXPECT_EQ(ReadValue(hive, TRegRoot::ClassesRoot, "\\Tr\xc3\xaepClass\\shell\\open\\command", ""),
            "\"C:\\R\xc3\xa9sum\xc3\xa9\\t\xc3\xaate.exe\" \"%1\"");
}

TEST(RegFileHiveTest, DeletionsRemoveKeysAndValues) {
  TRegFileHive hive = TRegFileHive::FromText(
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CLASSES_ROOT\\A\\B]\n@=\"b\"\n\"Gone\"=\"x\"\n"
      "[HKEY_CLASSES_ROOT\\C\\D]\n@=\"d\"\n"
      "[-HKEY_CLASSES_ROOT\\C]\n"
      "[HKEY_CLASSES_ROOT\\A\\B]\n\"Gone\"=-\n");
  auto reg = hive.Open(TRegRoot::ClassesRoot);
  EXPECT_FALSE(reg->KeyExists("C"));
  EXPECT_FALSE(reg->KeyExists("C\\D"));
  ASSERT_TRUE(reg->OpenKeyReadOnly("A\\B"));
  EXPECT_EQ(reg->ReadString(""), "b");
  EXPECT_EQ(reg->ReadString("Gone"), "");
}

TEST(RegFileHiveTest, OtherRootsAreIgnored) {
  TRegFileHive hive = TRegFileHive::FromText(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x]\r\n@=\"xfile\"\r\n");
  EXPECT_FALSE(hive.Open(TRegRoot::ClassesRoot)->KeyExists("\\SOFTWARE\\Classes\\.x"));
  EXPECT_FALSE(hive.Open(TRegRoot::ClassesRoot)->KeyExists(".x"));
}

TEST(RegFileHiveTest, RefusesTextThatIsNoExport) {
  EXPECT_THROW(TRegFileHive::FromText("[HKEY_CLASSES_ROOT\\.x]\n@=\"y\"\n"), std::runtime_error);
  EXPECT_THROW(TRegFileHive::FromText("Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\.x]\n@=\"open"),
               std::runtime_error);
}

}  // namespace
}  // namespace tarvola::desktop
