// Command lines of 32,000 characters, quoted and not, with and without UNINST: the program either
// runs its sequence from the setup directory found in the text or, when that directory would not
// leave room for a file name, ends at once without touching anything; it never works from a cut one.
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "tests/scenario/fault_machine.h"

namespace fault_test {
namespace {

enum class Expect { kInstall, kUninstall, kRefused };

struct LongCommandLine {
  const char* name;
  std::string commandLine;
  Expect expect;
  const char* secondStage;  // the program started, for the runs that hand over
};

void PrintTo(const LongCommandLine& c, std::ostream* os) { *os << c.name; }

// Pads text with blanks and letters to exactly 32,000 characters, then appends tail.
std::string To32000(const std::string& head, const std::string& tail = "") {
  std::string text = head;
  while (text.size() + tail.size() < 32000) text += (text.size() % 7 == 0) ? ' ' : 'a';
  return text + tail;
}
// Arguments full of backslashes: the last separator lies far past any field.
std::string BackslashesTo32000(const std::string& head) {
  std::string text = head;
  while (text.size() < 32000) text += "x\\";
  return text.substr(0, 32000);
}

class HostileCommandLine : public Machine, public ::testing::WithParamInterface<LongCommandLine> {};

TEST_P(HostileCommandLine, RunsFromTheWholeSetupDirectoryOrNotAtAll) {
  const LongCommandLine& c = GetParam();
  ASSERT_EQ(c.commandLine.size(), 32000u);
  MakeFile("D:\\DISK1\\SETUPX.EXE");
  // An installed product for the uninstall runs; a refused run must leave it as it is.
  if (c.expect != Expect::kInstall) PrepareInstalled();
  std::vector<std::string> script;
  if (c.expect == Expect::kInstall) script = {"enter", "enter", "enter"};
  if (c.expect == Expect::kUninstall) script = {"answer IDYES"};

  int code = Run(c.commandLine, script);

  if (c.expect == Expect::kRefused) {
    EXPECT_EQ(code, kExitCommandLineUnusable) << Journal();
    EXPECT_TRUE(standin::Boxes().empty());
    EXPECT_TRUE(standin::Dialogs().empty());
    EXPECT_TRUE(standin::Starts().empty());
    EXPECT_TRUE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(FileBytes("C:\\HARVEL95\\GRPNAM.DAT"), "<missing>");
    EXPECT_TRUE(Exists("C:\\WINDOWS\\LFNBK.EXE"));
    EXPECT_TRUE(Exists("C:\\SAILE.INI"));
    return;
  }
  ASSERT_EQ(code, 0) << Journal();
  std::vector<standin::ProcessStart> starts = standin::Starts();
  ASSERT_EQ(starts.size(), 1u) << Journal();
  EXPECT_EQ(starts[0].application, c.secondStage);
  if (c.expect == Expect::kInstall) {
    EXPECT_EQ(starts[0].commandLine, std::string(c.secondStage) + " C:\\HARVEL95 " + kDefaultGroup);
    EXPECT_EQ(Value("UninstallString"), Sz("C:\\HARVEL95\\UNINSTAL.EXE"));
  } else {
    EXPECT_EQ(starts[0].commandLine, c.secondStage);
    EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, HostileCommandLine,
    ::testing::Values(
        LongCommandLine{"PlainInstall", To32000("D:\\DISK1\\SETUP.EXE "), Expect::kInstall,
                        "D:\\DISK1\\SETUPX.EXE"},
        LongCommandLine{"QuotedInstall", To32000("\"D:\\DISK1\\SETUP.EXE\" "), Expect::kInstall,
                        "D:\\DISK1\\SETUPX.EXE"},
        LongCommandLine{"PlainUninstall", To32000("C:\\HARVEL95\\UNINSTAL.EXE "), Expect::kUninstall,
                        "C:\\HARVEL95\\UNINSTX.EXE"},
        LongCommandLine{"QuotedUninstall", To32000("\"C:\\HARVEL95\\UNINSTAL.EXE\" "),
                        Expect::kUninstall, "C:\\HARVEL95\\UNINSTX.EXE"},
        // UNINST as the very last characters still selects uninstall.
        LongCommandLine{"SwitchAtTheEnd", To32000("\"C:\\HARVEL95\\UNINSTAL.EXE\" ", " /UNINST"),
                        Expect::kUninstall, "C:\\HARVEL95\\UNINSTX.EXE"},
        LongCommandLine{"SeparatorsFarOutInstall", BackslashesTo32000("D:\\DISK1\\SETUP.EXE "),
                        Expect::kRefused, ""},
        LongCommandLine{"SeparatorsFarOutQuoted", BackslashesTo32000("\"D:\\DISK1\\SETUP.EXE\" "),
                        Expect::kRefused, ""},
        LongCommandLine{"SeparatorsFarOutUninstall",
                        BackslashesTo32000("C:\\HARVEL95\\UNINSTAL.EXE "), Expect::kRefused, ""},
        LongCommandLine{"ColonAtTheEnd", To32000("\"C:\\HARVEL95\\UNINSTAL.EXE\" ", "C:"),
                        Expect::kRefused, ""}));

}  // namespace
}  // namespace fault_test
