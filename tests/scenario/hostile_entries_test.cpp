// Entries at and past their limits, and ANSI letters outside 7-bit ASCII, through whole install and
// uninstall runs: whatever is accepted reaches the registry, both hand-off files and the second
// stage's command line whole; what does not fit is refused or never typed, never stored cut.
#include <string>
#include <vector>

#include "app/setup_state.h"
#include "tests/scenario/fault_machine.h"

namespace fault_test {
namespace {

// "C:\" and directory names of eight letters up to exactly length characters; the last element
// holds what is left (one to eight characters). Every parent exists on drive C: afterwards.
std::string DeepPath(size_t length) {
  std::string path = "C:\\";
  int n = 0;
  while (length - path.size() > 8) path += "LEVEL" + std::to_string(100 + n++) + "\\";
  return path + std::string(length - path.size(), 'Z');
}

class HostileEntries : public Machine {
 protected:
  void SetUp() override {
    Machine::SetUp();
    MakeFile("D:\\DISK1\\SETUPX.EXE");
  }
  // Creates the parents of a path on drive C:.
  void MakeParents(const std::string& path) { MakeDir(path.substr(0, path.rfind('\\'))); }
  // An install with the given destination and group typed in; returns the exit code.
  int Install(const std::string& destination, const std::string& group) {
    return Run(kInstallCommandLine, {"enter", TypeEntry(destination), "enter", TypeEntry(group), "enter"});
  }
  // The whole of an accepted install: registry, both files, the second stage's command line.
  void ExpectInstalled(const std::string& dir, const std::string& group) {
    EXPECT_EQ(Value("DisplayName"), Sz(group));
    EXPECT_EQ(Value("GroupName"), Sz(group));
    EXPECT_EQ(Value("UninstallString"), Sz(dir + "\\UNINSTAL.EXE"));
    EXPECT_EQ(FileBytes(dir + "\\GRPNAM.DAT"), group + "\r\n");
    EXPECT_EQ(FileBytes(dir + "\\OEM2ANSI.INI").size(), 256u);
    std::vector<standin::ProcessStart> starts = standin::Starts();
    ASSERT_EQ(starts.size(), 1u) << Journal();
    EXPECT_EQ(starts[0].commandLine, "D:\\DISK1\\SETUPX.EXE " + dir + " " + group);
  }
};

// The longest destination whose uninstall string still fits the registry's 128-byte buffer.
TEST_F(HostileEntries, DestinationAtItsLimitIsStoredWhole) {
  const std::string dir = DeepPath(kMaxInstallDirectory);
  ASSERT_EQ(dir.size(), 114u);
  MakeParents(dir);
  ASSERT_EQ(Install(dir, kDefaultGroup), 0) << Journal();
  EXPECT_TRUE(IsDirectory(dir));
  ExpectInstalled(dir, kDefaultGroup);
  EXPECT_EQ(Value("UninstallString").size(), 128u);
}

// One character more cannot be typed: the field stops at the limit, and what is installed is the
// 114 characters it shows, never the 115 typed.
TEST_F(HostileEntries, DestinationPastItsLimitIsNeverStored) {
  const std::string typed = DeepPath(kMaxInstallDirectory + 1);
  const std::string shown = typed.substr(0, kMaxInstallDirectory);
  MakeParents(typed);
  ASSERT_EQ(Install(typed, kDefaultGroup), 0) << Journal();
  EXPECT_FALSE(Exists(typed));
  ExpectInstalled(shown, kDefaultGroup);
}

// 5,000 characters typed: the field keeps the first 114, which are refused like any other entry
// that breaks the rules; nothing is created or written.
TEST_F(HostileEntries, DestinationOf5000CharactersIsRefused) {
  std::string typed = "C:\\";
  while (typed.size() < 5000) typed += "ABCDEFGHIJ\\";
  typed.resize(5000);
  int code = Run(kInstallCommandLine,
                 {"enter", TypeEntry(typed), "enter", "answer IDOK", "esc", "answer IDYES"});
  EXPECT_EQ(code, VK_ESCAPE) << Journal();
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Invalid Directory Name", "Confirm Cancel"}));
  EXPECT_FALSE(Exists("C:\\ABCDEFGHIJ"));
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_TRUE(standin::Starts().empty());
}

struct GroupLength {
  const char* name;
  size_t typed;   // characters typed into the group prompt
  size_t stored;  // characters that reach the registry, GRPNAM.DAT and the command line
};

void PrintTo(const GroupLength& g, std::ostream* os) { *os << g.name; }

class HostileGroupName : public HostileEntries, public ::testing::WithParamInterface<GroupLength> {};

// A group name is stored whole up to the 127 characters the uninstaller can read back; the field
// takes no more, so a longer one typed is the 127 characters shown. The uninstaller then writes
// the same group name into its GRPNAM.DAT.
TEST_P(HostileGroupName, IsStoredWholeAndReadBackWhole) {
  const GroupLength& g = GetParam();
  std::string typed;
  for (size_t i = 0; typed.size() < g.typed; ++i) typed += (i % 10 == 9) ? ' ' : static_cast<char>('A' + i % 26);
  const std::string stored = typed.substr(0, g.stored);
  ASSERT_EQ(Install("C:\\HARVEL95", typed), 0) << Journal();
  ExpectInstalled("C:\\HARVEL95", stored);

  MakeFile("C:\\HARVEL95\\UNINSTX.EXE");
  standin::SetCommandLine(kUninstallCommandLine);
  standin::ScriptOperator({"answer IDYES"});
  ASSERT_EQ(standin::RunProgram(SETUP_PROGRAM), 0) << Journal();
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\GRPNAM.DAT"), stored + "\r\n");
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

INSTANTIATE_TEST_SUITE_P(Lengths, HostileGroupName,
                         ::testing::Values(GroupLength{"AtTheLimit", kMaxGroupName, kMaxGroupName},
                                           GroupLength{"OnePast", kMaxGroupName + 1, kMaxGroupName},
                                           GroupLength{"Of1000", 1000, kMaxGroupName}));

// é, ü and ß (ANSI 0xE9, 0xFC, 0xDF) in the destination and the group name: only a to z are
// upper-cased, the directory is created under the name as typed, and every byte reaches the
// registry, both hand-off files and both second stages unchanged.
TEST_F(HostileEntries, AnsiLettersSurviveInstallAndUninstall) {
  const std::string typed = "c:\\gr\xFC\xDF" "e";
  const std::string dir = "C:\\GR\xFC\xDF" "E";
  const std::string group = "Caf\xE9 M\xFC\xDF" "ig";
  ASSERT_EQ(Install(typed, group), 0) << Journal();
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "c" / "gr\xFC\xDF" "e"));
  ExpectInstalled(dir, group);

  std::ofstream(root_ / "c" / "gr\xFC\xDF" "e" / "UNINSTX.EXE") << "MZ";
  standin::SetCommandLine(dir + "\\UNINSTAL.EXE");
  standin::ScriptOperator({"answer IDYES"});
  ASSERT_EQ(standin::RunProgram(SETUP_PROGRAM), 0) << Journal();
  EXPECT_EQ(FileBytes(dir + "\\GRPNAM.DAT"), group + "\r\n");
  std::vector<standin::ProcessStart> starts = standin::Starts();
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.back().application, dir + "\\UNINSTX.EXE");
  EXPECT_EQ(starts.back().commandLine, dir + "\\UNINSTX.EXE");
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

}  // namespace
}  // namespace fault_test
