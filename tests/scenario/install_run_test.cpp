// Whole install runs: the native program started as D:\DISK1\SETUP.EXE on a prepared stand-in
// machine, driven by the operator from the agreement to the hand-off.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "standin/control.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harvelon";
const char kDefaultGroup[] = "Harvelon for Windows 95";

// The destination or group entry typed by the operator.
std::string TypeEntry(const std::string& text) { return standin::TypeAction(1000, text); }

// A machine with C: (holding C:\WINDOWS) and D: (holding D:\DISK1, the distribution medium), the
// program's command line "D:\DISK1\SETUP.EXE" quoted, and SETUPX.EXE beside it unless asked not to.
class InstallRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("install_run_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "c" / "WINDOWS");
    std::filesystem::create_directories(root_ / "d" / "DISK1");
    standin::Reset();
    standin::MapDrive('C', (root_ / "c").string());
    standin::MapDrive('D', (root_ / "d").string());
    standin::SetCommandLine("\"D:\\DISK1\\SETUP.EXE\"");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  int Run(const std::vector<std::string>& script, bool withSecondStage = true) {
    if (withSecondStage) std::ofstream(root_ / "d" / "DISK1" / "SETUPX.EXE") << "MZ";
    standin::ScriptOperator(script);
    return standin::RunProgram(SETUP_PROGRAM);
  }

  static std::string Journal() {
    std::string out;
    for (const std::string& line : standin::Journal()) out += line + "\n";
    return out;
  }

  // The bytes of a file on the machine, or "<missing>".
  static std::string FileBytes(const std::string& windowsPath) {
    std::ifstream in(standin::HostPath(windowsPath), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static std::string RegistryText(const char* name) {
    std::optional<standin::Value> value = standin::ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, name);
    return value ? value->bytes : "<missing>";
  }

  std::filesystem::path root_;
};

struct Completed {
  const char* name;
  std::vector<std::string> script;
  const char* installDirectory;  // as stored and handed on
  const char* groupName;
  const char* commandLine;
};

void PrintTo(const Completed& c, std::ostream* os) { *os << c.name; }

class CompletedInstall : public InstallRun, public ::testing::WithParamInterface<Completed> {};

// Each completed run registers the entry, writes both files into the install directory and starts
// SETUPX.EXE from the setup directory; the process then ends with 0, however the dialogs closed.
TEST_P(CompletedInstall, HandsOverToTheSecondStage) {
  const Completed& c = GetParam();
  int code = Run(c.script);
  ASSERT_EQ(code, 0) << Journal();
  EXPECT_EQ(standin::ExitRecord(), "ExitProcess 0");

  std::vector<standin::Dialog> dialogs = standin::Dialogs();
  ASSERT_EQ(dialogs.size(), 3u) << Journal();
  EXPECT_EQ(dialogs[0].templateId, 129);
  EXPECT_EQ(dialogs[1].templateId, 102);
  EXPECT_EQ(dialogs[2].templateId, 102);

  const std::string dir = c.installDirectory;
  EXPECT_EQ(RegistryText("DisplayName"), c.groupName + std::string(1, '\0'));
  EXPECT_EQ(RegistryText("GroupName"), c.groupName + std::string(1, '\0'));
  EXPECT_EQ(RegistryText("UninstallString"), dir + "\\UNINSTAL.EXE" + std::string(1, '\0'));
  EXPECT_EQ(FileBytes(dir + "\\GRPNAM.DAT"), std::string(c.groupName) + "\r\n");
  EXPECT_EQ(FileBytes(dir + "\\OEM2ANSI.INI").size(), 256u);

  std::vector<standin::ProcessStart> starts = standin::Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].application, "D:\\DISK1\\SETUPX.EXE");
  EXPECT_EQ(starts[0].commandLine, c.commandLine);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CompletedInstall,
    ::testing::Values(
        Completed{"DefaultsByEnter", {"enter", "enter", "enter"}, "C:\\HARVEL95", kDefaultGroup,
                  "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 Harvelon for Windows 95"},
        Completed{"DefaultsByClicks", {"click 1", "click 1", "click 1"}, "C:\\HARVEL95", kDefaultGroup,
                  "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 Harvelon for Windows 95"},
        Completed{"TypedAnswers",
                  {"enter", TypeEntry("c:\\tools"), "enter", TypeEntry("My Tools"), "click 1"},
                  "C:\\TOOLS", "My Tools", "D:\\DISK1\\SETUPX.EXE C:\\TOOLS My Tools"},
        Completed{"EmptyGroupName", {"enter", "enter", TypeEntry(""), "enter"}, "C:\\HARVEL95", "",
                  "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 "},
        // The drive root keeps its backslash: the files and the uninstall string get a doubled one.
        Completed{"DriveRoot", {"enter", TypeEntry("C:\\"), "enter", "answer IDYES", "enter"}, "C:\\",
                  kDefaultGroup, "D:\\DISK1\\SETUPX.EXE C:\\ Harvelon for Windows 95"}));

// Without SETUPX.EXE the entry and both files are still written; setup ends silently with the
// exit code of a failed hand-off.
TEST_F(InstallRun, MissingSecondStageEndsSilently) {
  int code = Run({"enter", "enter", "enter"}, false);
  EXPECT_EQ(code, kExitHandoffFailed) << Journal();
  EXPECT_TRUE(standin::Boxes().empty());
  EXPECT_TRUE(standin::Starts().empty());
  EXPECT_EQ(RegistryText("DisplayName"), kDefaultGroup + std::string(1, '\0'));
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\GRPNAM.DAT"), kDefaultGroup + std::string("\r\n"));
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\OEM2ANSI.INI").size(), 256u);
}

struct Cancelled {
  const char* name;
  std::vector<std::string> script;
  int exitCode;          // the wParam of the input that closed the last dialog
  size_t questions;      // cancel questions asked
  bool directoryExists;  // C:\HARVEL95, created by an accepted destination step
};

void PrintTo(const Cancelled& c, std::ostream* os) { *os << c.name; }

class CancelledInstall : public InstallRun, public ::testing::WithParamInterface<Cancelled> {};

// Cancelling any of the three dialogs ends setup before anything reaches the registry or the
// hand-off files; a directory created at the destination step stays.
TEST_P(CancelledInstall, WritesNothing) {
  const Cancelled& c = GetParam();
  int code = Run(c.script);
  EXPECT_EQ(code, c.exitCode) << Journal();
  EXPECT_EQ(standin::Boxes().size(), c.questions);
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\GRPNAM.DAT"), "<missing>");
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\OEM2ANSI.INI"), "<missing>");
  EXPECT_TRUE(standin::Starts().empty());
  EXPECT_EQ(std::filesystem::is_directory(standin::HostPath("C:\\HARVEL95")), c.directoryExists);
}

INSTANTIATE_TEST_SUITE_P(
    AtEachDialog, CancelledInstall,
    ::testing::Values(Cancelled{"AgreementByClick", {"click 2"}, 0, 0, false},
                      Cancelled{"AgreementByEsc", {"esc"}, VK_ESCAPE, 0, false},
                      Cancelled{"DestinationByClick", {"enter", "click 2", "answer IDYES"}, 0, 1, false},
                      Cancelled{"DestinationAfterNo",
                                {"enter", "esc", "answer IDNO", "esc", "answer IDYES"}, VK_ESCAPE, 2, false},
                      Cancelled{"GroupByEsc", {"enter", "enter", "esc", "answer IDYES"}, VK_ESCAPE, 1, true},
                      Cancelled{"GroupByClick", {"click 1", "enter", "click 2", "answer IDYES"}, 0, 1, true}));

}  // namespace
