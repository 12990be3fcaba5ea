// The bytes of GRPNAM.DAT and OEM2ANSI.INI as written on the stand-in's drive C:.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/setup_state.h"
#include "handoff/handoff_files.h"
#include "standin/control.h"
#include "win32/api.h"

namespace {

class HandoffFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("handoff_files_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "HARVEL95");
    standin::Reset();
    standin::SetExitThrows(true);
    standin::MapDrive('C', root_.string());
    std::memset(&g_setup, 0, sizeof g_setup);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string Read(const char* name) {
    std::ifstream in(root_ / "HARVEL95" / name, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Plant(const char* name, const std::string& bytes) {
    std::ofstream(root_ / "HARVEL95" / name, std::ios::binary) << bytes;
  }
  std::filesystem::path root_;
};

TEST_F(HandoffFiles, GroupNameIsOneLineEndingInCrLfReplacingAnyOldFile) {
  struct Case {
    std::string group;
    std::string bytes;
  };
  const Case cases[] = {
      {"Harvelon for Windows 95", "Harvelon for Windows 95\r\n"},
      {"", "\r\n"},
      {"\"Quoted\" %s 100%", "\"Quoted\" %s 100%\r\n"},
      {"Caf\xE9", "Caf\xE9\r\n"},  // as stored, in the ANSI code page
      {std::string(255, 'g'), std::string(255, 'g') + "\r\n"},
  };
  for (const Case& c : cases) {
    Plant("GRPNAM.DAT", std::string(600, 'x'));
    std::strcpy(g_setup.groupName, c.group.c_str());
    WriteGroupNameFile("C:\\HARVEL95\\GRPNAM.DAT");
    EXPECT_EQ(Read("GRPNAM.DAT"), c.bytes);
  }
}

TEST_F(HandoffFiles, CodePageTableIsTheSystemsMappingInItsOwnDirection) {
  Plant("OEM2ANSI.INI", std::string(1000, 'x'));
  WriteCodePageTable("C:\\HARVEL95\\OEM2ANSI.INI");
  const std::string table = Read("OEM2ANSI.INI");
  ASSERT_EQ(table.size(), 256u);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(static_cast<unsigned char>(table[i]), i) << i;
  // Byte i is what CharToOemBuffA makes of ANSI i: not inverted, byte 10 written once.
  for (int i = 0; i < 256; ++i) {
    char ansi = static_cast<char>(i), oem = 0;
    CharToOemBuffA(&ansi, &oem, 1);
    EXPECT_EQ(table[i], oem) << i;
  }
  EXPECT_EQ(static_cast<unsigned char>(table[0xE9]), 0x82u) << "e-acute in OEM 437";
}

TEST_F(HandoffFiles, FailuresLeaveNoFileOfWrongBytes) {
  standin::ArmFault("CharToOemBuffA", 1);
  WriteCodePageTable("C:\\HARVEL95\\OEM2ANSI.INI");
  EXPECT_EQ(Read("OEM2ANSI.INI"), "<missing>") << "no table of undefined bytes";

  standin::ArmFault("CreateFileA", 1);
  WriteGroupNameFile("C:\\HARVEL95\\GRPNAM.DAT");
  EXPECT_EQ(Read("GRPNAM.DAT"), "<missing>");
  // A directory that does not exist: nothing is shown and nothing thrown.
  WriteGroupNameFile("C:\\NOWHERE\\GRPNAM.DAT");
  WriteCodePageTable("C:\\NOWHERE\\OEM2ANSI.INI");
  EXPECT_TRUE(standin::Boxes().empty());
}

}  // namespace
