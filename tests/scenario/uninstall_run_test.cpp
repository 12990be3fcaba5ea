// Whole uninstall runs: the native program started under the name UNINSTAL.EXE on a machine with
// the product installed, answered by the operator, read back from registry, files and starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "standin/control.h"
#include "tests/scenario/scenario_support.h"

namespace {

using scenario::kUninstallKey;
const std::string kNul(1, '\0');
const char kQuestion[] =
    "This will remove the Harvelon application!\n\nAre you sure you wish to do this?";

class UninstallRun : public ::testing::Test {
 protected:
  // The product installed in installDir (a Windows path with its trailing backslash), the two
  // leftover files present, the maker's keys seeded, UNINSTX.EXE beside UNINSTAL.EXE.
  void Install(const std::string& installDir, const std::string* groupValue) {
    if (groupValue != nullptr) {
      standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "GroupName", REG_SZ, *groupValue);
    } else {
      standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", REG_SZ, "X" + kNul);
    }
    standin::SeedKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel\\Harvelon");
    standin::SeedKey(HKEY_CLASSES_ROOT, ".zur");
    standin::SeedKey(HKEY_CLASSES_ROOT, "bupfile");
    machine_.PutFile("C:\\WINDOWS\\LFNBK.EXE");
    machine_.PutFile("C:\\LFNBK.EXE");
    machine_.PutFile("C:\\SAILE.INI");
    machine_.PutFile("D:\\SAILE.INI");
    machine_.PutFile(installDir + "UNINSTAL.EXE");
    machine_.PutFile(installDir + "UNINSTX.EXE");
  }
  void ExpectOnlyTheQuestion() {
    const auto boxes = standin::Boxes();
    ASSERT_EQ(boxes.size(), 1u) << scenario::JournalText();
    EXPECT_EQ(boxes[0].text, kQuestion);
    EXPECT_EQ(boxes[0].caption, "Confirm Uninstall");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes[0].owner, "");
  }
  scenario::Machine machine_;
};

TEST_F(UninstallRun, AnsweringNoLeavesEverythingAndEndsWithZero) {
  const std::string group = "Tools" + kNul;
  Install("C:\\HARVEL95\\", &group);
  const std::string registry = standin::DumpRegistry();
  EXPECT_EQ(machine_.Run("C:\\HARVEL95\\UNINSTAL.EXE", {"answer IDNO"}), 0);
  ExpectOnlyTheQuestion();
  EXPECT_EQ(standin::DumpRegistry(), registry);
  EXPECT_FALSE(machine_.Exists("C:\\HARVEL95\\GRPNAM.DAT"));
  EXPECT_TRUE(machine_.Exists("C:\\WINDOWS\\LFNBK.EXE"));
  EXPECT_TRUE(machine_.Exists("C:\\SAILE.INI"));
  EXPECT_TRUE(standin::Starts().empty());
}

struct Completed {
  const char* name;
  std::string commandLine;
  std::string installDir;     // where UNINSTAL.EXE lies
  std::string workingDir;
  bool groupValue;            // GroupName seeded (else the entry has none)
  std::string group;          // its text, without the NUL
  std::string grpnam;         // bytes of GRPNAM.DAT beside the program
  std::string application;    // of the start
  std::string startLine;
  std::vector<std::string> sailesLeft;  // SAILE.INI files that must still exist
};

void PrintTo(const Completed& c, std::ostream* os) { *os << c.name; }

class CompletedUninstall : public UninstallRun, public ::testing::WithParamInterface<Completed> {};

// Yes: the keys go in order, GRPNAM.DAT is written beside the program, LFNBK.EXE goes from the
// Windows directory and SAILE.INI from the root of the setup directory's drive, and UNINSTX.EXE is
// started with its own path alone; the process ends with 0.
TEST_P(CompletedUninstall, HandsOverToUninstx) {
  const Completed& c = GetParam();
  const std::string value = c.group + kNul;
  Install(c.installDir, c.groupValue ? &value : nullptr);
  standin::SetCurrentDir(c.workingDir);
  ASSERT_EQ(machine_.Run(c.commandLine, {"answer IDYES"}), 0) << scenario::JournalText();
  EXPECT_EQ(standin::ExitRecord(), "ExitProcess 0");
  ExpectOnlyTheQuestion();

  const std::vector<std::string> keys = {
      "HKLM\\" + std::string(kUninstallKey), "HKLM\\SOFTWARE\\Vantrel (with its sub-keys)",
      "HKCR\\.zur", "HKCR\\bupfile"};
  EXPECT_EQ(scenario::DeletedKeys(), keys);
  EXPECT_EQ(machine_.File(c.installDir + "GRPNAM.DAT").value_or("<missing>"), c.grpnam);
  EXPECT_FALSE(machine_.Exists("C:\\WINDOWS\\LFNBK.EXE"));
  EXPECT_TRUE(machine_.Exists("C:\\LFNBK.EXE"));
  for (const char* saile : {"C:\\SAILE.INI", "D:\\SAILE.INI"}) {
    bool kept = false;
    for (const std::string& left : c.sailesLeft) kept = kept || left == saile;
    EXPECT_EQ(machine_.Exists(saile), kept) << saile;
  }
  const auto starts = standin::Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].application, c.application);
  EXPECT_EQ(starts[0].commandLine, c.startLine);
}

const std::string kLongGroup(128, 'g');

INSTANTIATE_TEST_SUITE_P(
    Runs, CompletedUninstall,
    ::testing::Values(
        Completed{"Installed", "C:\\HARVEL95\\UNINSTAL.EXE", "C:\\HARVEL95\\", "C:\\", true,
                  "Harvelon for Windows 95", "Harvelon for Windows 95\r\n",
                  "C:\\HARVEL95\\UNINSTX.EXE", "C:\\HARVEL95\\UNINSTX.EXE", {"D:\\SAILE.INI"}},
        Completed{"NoGroupName", "C:\\HARVEL95\\UNINSTAL.EXE", "C:\\HARVEL95\\", "C:\\", false, "",
                  "\r\n", "C:\\HARVEL95\\UNINSTX.EXE", "C:\\HARVEL95\\UNINSTX.EXE",
                  {"D:\\SAILE.INI"}},
        Completed{"GroupName127", "C:\\HARVEL95\\UNINSTAL.EXE", "C:\\HARVEL95\\", "C:\\", true,
                  std::string(127, 'g'), std::string(127, 'g') + "\r\n",
                  "C:\\HARVEL95\\UNINSTX.EXE", "C:\\HARVEL95\\UNINSTX.EXE", {"D:\\SAILE.INI"}},
        Completed{"GroupName128", "C:\\HARVEL95\\UNINSTAL.EXE", "C:\\HARVEL95\\", "C:\\", true,
                  kLongGroup, "\r\n", "C:\\HARVEL95\\UNINSTX.EXE", "C:\\HARVEL95\\UNINSTX.EXE",
                  {"D:\\SAILE.INI"}},
        Completed{"QuotedPathWithBlanksOnD", "\"d:\\Apps Dir\\HARVEL95\\UNINSTAL.EXE\"",
                  "D:\\Apps Dir\\HARVEL95\\", "C:\\", true, "G", "G\r\n",
                  "d:\\Apps Dir\\HARVEL95\\UNINSTX.EXE", "d:\\Apps Dir\\HARVEL95\\UNINSTX.EXE",
                  {"C:\\SAILE.INI"}},
        // A relative setup directory names no drive: no SAILE.INI goes, although "CD\" starts
        // with a drive letter.
        Completed{"RelativeSetupDirectory", "CD\\UNINSTAL.EXE", "C:\\CD\\", "C:\\", true, "G",
                  "G\r\n", "CD\\UNINSTX.EXE", "CD\\UNINSTX.EXE",
                  {"C:\\SAILE.INI", "D:\\SAILE.INI"}},
        // Started by its bare name: everything relative to the working directory.
        Completed{"BareName", "UNINSTAL.EXE", "C:\\HARVEL95\\", "C:\\HARVEL95", true, "G", "G\r\n",
                  ".\\UNINSTX.EXE", "UNINSTX.EXE", {"C:\\SAILE.INI", "D:\\SAILE.INI"}}));

TEST_F(UninstallRun, MissingSecondStageFailsSilentlyWithItsOwnCode) {
  const std::string group = "Tools" + kNul;
  Install("C:\\HARVEL95\\", &group);
  std::filesystem::remove(standin::HostPath("C:\\HARVEL95\\UNINSTX.EXE"));
  EXPECT_EQ(machine_.Run("C:\\HARVEL95\\UNINSTAL.EXE", {"answer IDYES"}), kExitHandoffFailed);
  EXPECT_NE(kExitHandoffFailed, 0);
  ExpectOnlyTheQuestion();
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(machine_.File("C:\\HARVEL95\\GRPNAM.DAT").value_or("<missing>"), "Tools\r\n");
  EXPECT_TRUE(standin::Starts().empty());
}

TEST_F(UninstallRun, WithoutAWindowsDirectoryNoLfnbkIsDeletedAnywhere) {
  Install("C:\\HARVEL95\\", nullptr);
  standin::ArmFault("GetWindowsDirectoryA", 0);
  EXPECT_EQ(machine_.Run("C:\\HARVEL95\\UNINSTAL.EXE", {"answer IDYES"}), 0)
      << scenario::JournalText();
  EXPECT_TRUE(machine_.Exists("C:\\WINDOWS\\LFNBK.EXE"));
  EXPECT_TRUE(machine_.Exists("C:\\LFNBK.EXE"));
  EXPECT_FALSE(machine_.Exists("C:\\SAILE.INI"));
}

TEST_F(UninstallRun, SetupDirectoryTooLongToUseDoesNothing) {
  const std::string group = "Tools" + kNul;
  Install("C:\\HARVEL95\\", &group);
  const std::string registry = standin::DumpRegistry();
  const std::string commandLine = "C:\\" + std::string(250, 'D') + "\\UNINSTAL.EXE";
  EXPECT_EQ(machine_.Run(commandLine, {}), kExitCommandLineUnusable) << scenario::JournalText();
  EXPECT_TRUE(standin::Boxes().empty());
  EXPECT_EQ(standin::DumpRegistry(), registry);
  EXPECT_TRUE(machine_.Exists("C:\\SAILE.INI"));
  EXPECT_TRUE(standin::Starts().empty());
}

}  // namespace
