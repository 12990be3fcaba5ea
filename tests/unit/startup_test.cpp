// The start-up's reading of the command line: the skipped opening quote, the mode test on the
// whole text and the cut after the last backslash or colon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/setup_state.h"

namespace {

TEST(ReadCommandLine, ModeAndSetupDirectory) {
  struct Case {
    const char* commandLine;
    SetupMode mode;
    const char* setupDirectory;
  };
  const Case cases[] = {
      {"\"D:\\DISK1\\SETUP.EXE\"", kInstallMode, "D:\\DISK1\\"},
      {"D:\\DISK1\\SETUP.EXE", kInstallMode, "D:\\DISK1\\"},
      {"C:\\HARVEL95\\UNINSTAL.EXE", kUninstallMode, "C:\\HARVEL95\\"},
      {"\"C:\\Program Files\\HARVEL95\\UNINSTAL.EXE\" /x", kUninstallMode,
       "C:\\Program Files\\HARVEL95\\"},
      // Only the first character is skipped as a quote; a quote elsewhere stays.
      {"D:\\DISK\"1\\SETUP.EXE", kInstallMode, "D:\\DISK\"1\\"},
      {"\"\"D:\\SETUP.EXE", kInstallMode, "\"D:\\"},
      // The scan covers the arguments too.
      {"SETUP.EXE C:\\X", kInstallMode, "SETUP.EXE C:\\"},
      {"D:\\DISK1\\SETUP.EXE A:B", kInstallMode, "D:\\DISK1\\SETUP.EXE A:"},
      {"D:SETUP.EXE", kInstallMode, "D:"},
      // Bare names give the empty setup directory.
      {"SETUP.EXE", kInstallMode, ""},
      {"\"SETUP.EXE\" /q", kInstallMode, ""},
      {"", kInstallMode, ""},
      // UNINST anywhere, exact case.
      {"D:\\DISK1\\SETUP.EXE /UNINST", kUninstallMode, "D:\\DISK1\\"},
      {"D:\\DISK1\\SETUP.EXE -XUNINSTY", kUninstallMode, "D:\\DISK1\\"},
      {"C:\\HARVEL95\\uninstal.exe", kInstallMode, "C:\\HARVEL95\\"},
      {"C:\\HARVEL95\\Uninst.exe", kInstallMode, "C:\\HARVEL95\\"},
      {"UNINSTAL.EXE", kUninstallMode, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> field(kTextField + 1, 'Z');
    LaunchContext context = ReadCommandLine(c.commandLine, field.data());
    EXPECT_EQ(context.mode, c.mode) << c.commandLine;
    EXPECT_TRUE(context.usable) << c.commandLine;
    EXPECT_EQ(std::string(field.data()), c.setupDirectory) << c.commandLine;
  }
}

TEST(ReadCommandLine, SetupDirectoryTooLongIsRefusedNotCut) {
  struct Case {
    size_t directoryLength;  // of the setup directory, its backslash included
    size_t tail;             // characters after it
    bool usable;
  };
  const Case cases[] = {
      {kMaxSetupDirectory, 12, true},            // UNINSTX.EXE still fits after it
      {kMaxSetupDirectory + 1, 12, false},
      {100, 400, true},                          // a long file name or argument without a separator
      {600, 10, false},                          // longer than the field itself
  };
  for (const Case& c : cases) {
    const std::string directory = "C:" + std::string(c.directoryLength - 3, 'D') + "\\";
    const std::string commandLine = directory + std::string(c.tail, 'f') + " /UNINST";
    std::vector<char> field(kTextField + 1, 'Z');
    LaunchContext context = ReadCommandLine(commandLine.c_str(), field.data());
    SCOPED_TRACE(std::to_string(c.directoryLength) + "+" + std::to_string(c.tail));
    EXPECT_EQ(context.usable, c.usable);
    EXPECT_EQ(context.mode, kUninstallMode);
    EXPECT_EQ(std::string(field.data()), c.usable ? directory : std::string());
    EXPECT_EQ(field[kTextField], 'Z') << "written past the field";
  }
}

}  // namespace
