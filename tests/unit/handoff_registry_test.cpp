// The uninstall entry written from SetupState, the GroupName read-back and the removal of the
// product's keys, on the stand-in registry with its fault switches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/setup_state.h"
#include "handoff/registry_entries.h"
#include "standin/control.h"

namespace {

const char kListKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kEntryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harvelon";
const std::string kNul(1, '\0');

class RegistryEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    standin::SetExitThrows(true);
    std::memset(&g_setup, 0, sizeof g_setup);
  }
  void SetState(const std::string& installDirectory, const std::string& groupName) {
    std::strcpy(g_setup.installDirectory, installDirectory.c_str());
    std::strcpy(g_setup.groupName, groupName.c_str());
  }
  // The bytes of a value of the uninstall entry, "<missing>" when there is none.
  static std::string Bytes(const char* name) {
    auto value = standin::ReadValue(HKEY_LOCAL_MACHINE, kEntryKey, name);
    if (!value) return "<missing>";
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
    return value->bytes;
  }
  // The keys deleted, in order, as the journal recorded them.
  static std::vector<std::string> Deleted() {
    std::vector<std::string> out;
    for (const std::string& line : standin::Journal()) {
      if (line.rfind("reg delete ", 0) == 0) out.push_back(line.substr(11));
    }
    return out;
  }
  static void SeedAllFourKeys() {
    standin::SeedValue(HKEY_LOCAL_MACHINE, kEntryKey, "GroupName", REG_SZ, "Tools" + kNul);
    standin::SeedKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel\\Harvelon\\Settings");
    standin::SeedKey(HKEY_CLASSES_ROOT, ".zur");
    standin::SeedKey(HKEY_CLASSES_ROOT, "bupfile\\shell\\open");
  }
};

TEST_F(RegistryEntries, WritesTheThreeValuesWithTheirNulCounted) {
  SetState("C:\\HARVEL95", "Harvelon for Windows 95");
  RegisterUninstallEntry();
  EXPECT_EQ(Bytes("DisplayName"), "Harvelon for Windows 95" + kNul);
  EXPECT_EQ(Bytes("UninstallString"), "C:\\HARVEL95\\UNINSTAL.EXE" + kNul);
  EXPECT_EQ(Bytes("GroupName"), "Harvelon for Windows 95" + kNul);
  EXPECT_TRUE(standin::Boxes().empty());
}

TEST_F(RegistryEntries, RegisteringTwiceOverwritesTheSameKey) {
  SetState("C:\\FIRST", "First");
  RegisterUninstallEntry();
  SetState("D:\\SECOND\\", "");
  RegisterUninstallEntry();
  EXPECT_EQ(Bytes("DisplayName"), kNul);
  EXPECT_EQ(Bytes("UninstallString"), "D:\\SECOND\\\\UNINSTAL.EXE" + kNul);
  EXPECT_EQ(Bytes("GroupName"), kNul);
}

TEST_F(RegistryEntries, LongestTextsThatFitAreWrittenWholeLongerOnesNotAtAll) {
  struct Case {
    size_t directoryLength, groupLength;
    bool written;
  };
  const Case cases[] = {
      {kMaxInstallDirectory, kMaxGroupName, true},
      {kMaxInstallDirectory + 1, 5, false},
      {5, kMaxGroupName + 1, false},
      {255, 255, false},
  };
  for (const Case& c : cases) {
    SetUp();
    const std::string directory = "C:\\" + std::string(c.directoryLength - 3, 'D');
    const std::string group(c.groupLength, 'G');
    SetState(directory, group);
    RegisterUninstallEntry();
    SCOPED_TRACE(std::to_string(c.directoryLength) + "/" + std::to_string(c.groupLength));
    if (c.written) {
      EXPECT_EQ(Bytes("UninstallString"), directory + "\\UNINSTAL.EXE" + kNul);
      EXPECT_EQ(Bytes("GroupName"), group + kNul);
    } else {
      EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kListKey)) << "nothing is created";
      EXPECT_TRUE(standin::Boxes().empty());
    }
  }
}

TEST_F(RegistryEntries, ListKeyFailureShowsTheNoteOnceAndWritesNothing) {
  for (const char* answer : {"answer IDOK", "answer IDCANCEL"}) {
    SetUp();
    SetState("C:\\HARVEL95", "Group");
    standin::ArmFault("RegCreateKeyA", 1);
    standin::ScriptOperator({answer});
    RegisterUninstallEntry();
    const auto boxes = standin::Boxes();
    ASSERT_EQ(boxes.size(), 1u) << answer;
    EXPECT_EQ(boxes[0].text, "Open / Create Uninstall entry key failed");
    EXPECT_EQ(boxes[0].caption, "Note");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[0].owner, "");
    EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kEntryKey));
    EXPECT_EQ(standin::CallCount("RegSetValueExA"), 0);
  }
}

TEST_F(RegistryEntries, LaterFailuresStopSilentlyWithWhatWasWrittenBefore) {
  struct Case {
    const char* function;
    int nth;
    const char* match;
    bool display, uninstall, group;
  };
  const Case cases[] = {
      {"RegCreateKeyA", 1, "Harvelon", false, false, false},
      {"RegSetValueExA", 1, "DisplayName", false, false, false},
      {"RegSetValueExA", 1, "UninstallString", true, false, false},
      {"RegSetValueExA", 1, "GroupName", true, true, false},
  };
  for (const Case& c : cases) {
    SetUp();
    SetState("C:\\HARVEL95", "Group");
    standin::ArmFault(c.function, c.nth, c.match);
    RegisterUninstallEntry();
    SCOPED_TRACE(std::string(c.function) + " " + c.match);
    EXPECT_EQ(Bytes("DisplayName") != "<missing>", c.display);
    EXPECT_EQ(Bytes("UninstallString") != "<missing>", c.uninstall);
    EXPECT_EQ(Bytes("GroupName") != "<missing>", c.group);
    EXPECT_TRUE(standin::Boxes().empty());
    // Every key opened was closed again: the product key after a failed write as well.
    EXPECT_EQ(standin::CallCount("RegCloseKey"), standin::CallCount("RegCreateKeyA") -
                                                     (std::string(c.function) == "RegCreateKeyA"));
  }
}

TEST_F(RegistryEntries, RemovesTheFourKeysInOrder) {
  SeedAllFourKeys();
  RemoveRegistryEntries();
  const std::vector<std::string> expected = {
      "HKLM\\" + std::string(kEntryKey), "HKLM\\SOFTWARE\\Vantrel (with its sub-keys)",
      "HKCR\\.zur", "HKCR\\bupfile (with its sub-keys)"};
  EXPECT_EQ(Deleted(), expected);
  EXPECT_STREQ(g_setup.groupName, "Tools");
  EXPECT_TRUE(standin::KeyExists(HKEY_LOCAL_MACHINE, kListKey)) << "the list itself stays";
}

TEST_F(RegistryEntries, WhatSkipsAKeyAndWhatEndsTheRemoval) {
  struct Case {
    const char* name;
    const char* function;
    const char* match;
    std::vector<std::string> deleted;
  };
  const std::string entry = "HKLM\\" + std::string(kEntryKey);
  const std::string vantrel = "HKLM\\SOFTWARE\\Vantrel (with its sub-keys)";
  const std::string zur = "HKCR\\.zur";
  const std::string bupfile = "HKCR\\bupfile (with its sub-keys)";
  const Case cases[] = {
      {"entry not deletable", "RegDeleteKeyA", "Harvelon", {}},
      {"Vantrel not deletable", "RegDeleteKeyA", "Vantrel", {entry}},
      {".zur not deletable", "RegDeleteKeyA", ".zur", {entry, vantrel}},
      {"entry does not open", "RegOpenKeyExA", "Harvelon", {vantrel, zur, bupfile}},
      {"Vantrel does not open", "RegOpenKeyExA", "Vantrel", {entry, zur, bupfile}},
      {".zur does not open", "RegOpenKeyExA", ".zur", {entry, vantrel, bupfile}},
  };
  for (const Case& c : cases) {
    SetUp();
    SeedAllFourKeys();
    standin::ArmFault(c.function, 1, c.match);
    RemoveRegistryEntries();
    EXPECT_EQ(Deleted(), c.deleted) << c.name;
    EXPECT_EQ(standin::CallCount("RegCloseKey"), standin::CallCount("RegOpenKeyExA") -
                                                     (std::string(c.function) == "RegOpenKeyExA"))
        << c.name << ": every opened key is closed";
  }
}

TEST_F(RegistryEntries, WithoutTheEntryTheOtherKeysAreStillRemoved) {
  standin::SeedKey(HKEY_CLASSES_ROOT, "bupfile");
  RemoveRegistryEntries();
  EXPECT_EQ(Deleted(), std::vector<std::string>{"HKCR\\bupfile"});
  EXPECT_STREQ(g_setup.groupName, "");
}

TEST_F(RegistryEntries, GroupNameReadBack) {
  struct Case {
    const char* name;
    bool present;
    DWORD type;
    std::string bytes;
    std::string expected;
  };
  const std::string g127(127, 'g');
  const Case cases[] = {
      {"127 characters, read whole", true, REG_SZ, g127 + kNul, g127},
      {"128 characters, too big", true, REG_SZ, std::string(128, 'g') + kNul, ""},
      {"255 characters, too big", true, REG_SZ, std::string(255, 'g') + kNul, ""},
      {"missing", false, REG_SZ, "", ""},
      {"empty", true, REG_SZ, kNul, ""},
      {"stored without its NUL", true, REG_SZ, "Tools", ""},
      {"128 bytes without a NUL", true, REG_SZ, std::string(128, 'g'), ""},
      {"zero bytes", true, REG_SZ, "", ""},
      {"up to the first NUL", true, REG_SZ, "ab" + kNul + "cd" + kNul, "ab"},
      {"binary holding a text", true, REG_BINARY, "Tools" + kNul, "Tools"},
      {"expandable text", true, REG_EXPAND_SZ, "Tools" + kNul, "Tools"},
      {"a DWORD", true, REG_DWORD, std::string("\x01\x02\x03\x04", 4), ""},
  };
  for (const Case& c : cases) {
    SetUp();
    // The fields around the group name must come out as they went in.
    std::memset(g_setup.installDirectory, 'I', sizeof g_setup.installDirectory - 1);
    std::memset(g_setup.pathBuffer, 'P', sizeof g_setup.pathBuffer - 1);
    if (c.present) {
      standin::SeedValue(HKEY_LOCAL_MACHINE, kEntryKey, "GroupName", c.type, c.bytes);
    } else {
      standin::SeedValue(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName", REG_SZ, "X" + kNul);
    }
    RemoveRegistryEntries();
    EXPECT_EQ(std::string(g_setup.groupName), c.expected) << c.name;
    EXPECT_EQ(std::string(g_setup.installDirectory), std::string(255, 'I')) << c.name;
    EXPECT_EQ(std::string(g_setup.pathBuffer), std::string(255, 'P')) << c.name;
    EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kEntryKey)) << c.name << ": still deleted";
  }
}

}  // namespace
