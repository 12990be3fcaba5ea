// The second stage's command line and its start: what CreateProcessA receives, and the end of the
// setup process with exit code 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "handoff/launch_stage.h"
#include "standin/control.h"

namespace {

TEST(JoinCommandLine, JoinsWithSingleBlanksAndNeverCuts) {
  struct Case {
    const char* name;
    std::string program;
    std::vector<std::string> args;
    bool fits;
    std::string expected;
  };
  const std::string program = "D:\\DISK1\\SETUPX.EXE";
  const Case cases[] = {
      {"install hand-off", program, {"C:\\HARVEL95", "Harvelon for Windows 95"}, true,
       "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 Harvelon for Windows 95"},
      {"empty group: one trailing blank", program, {"C:\\HARVEL95", ""}, true,
       "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 "},
      {"empty directory: two blanks", program, {"", "Group"}, true,
       "D:\\DISK1\\SETUPX.EXE  Group"},
      {"both empty", program, {"", ""}, true, "D:\\DISK1\\SETUPX.EXE  "},
      {"single empty argument adds nothing", "C:\\HARVEL95\\UNINSTX.EXE", {""}, true,
       "C:\\HARVEL95\\UNINSTX.EXE"},
      {"no arguments", program, {}, true, program},
      {"bare name keeps no .\\", "SETUPX.EXE", {"C:\\X", "G"}, true, "SETUPX.EXE C:\\X G"},
      {"blanks and quotes not escaped", "D:\\MY DISK\\SETUPX.EXE", {"C:\\A B", "\"G\""}, true,
       "D:\\MY DISK\\SETUPX.EXE C:\\A B \"G\""},
      {"exactly fills the buffer", std::string(kCommandLineSize - 3, 'p'), {"a"}, true,
       std::string(kCommandLineSize - 3, 'p') + " a"},
      {"one too many", std::string(kCommandLineSize - 2, 'p'), {"a"}, false, ""},
      {"program alone too long", std::string(kCommandLineSize, 'p'), {""}, false, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> args;
    for (const std::string& a : c.args) args.push_back(a.c_str());
    std::vector<char> out(kCommandLineSize + 1, 'Z');
    EXPECT_EQ(JoinCommandLine(out.data(), c.program.c_str(), args.data(),
                              static_cast<int>(args.size())),
              c.fits)
        << c.name;
    EXPECT_EQ(std::string(out.data()), c.expected) << c.name;
    EXPECT_EQ(out[kCommandLineSize], 'Z') << c.name << ": written past the buffer";
  }
}

class LaunchStageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("launch_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "DISK1" / "DIRX.EXE");
    std::filesystem::create_directories(root_ / "MY DISK");
    std::ofstream(root_ / "DISK1" / "SETUPX.EXE") << "MZ";
    std::ofstream(root_ / "MY DISK" / "SETUPX.EXE") << "MZ";
    std::ofstream(root_ / "WORKX.EXE") << "MZ";
    standin::Reset();
    standin::SetExitThrows(true);
    standin::MapDrive('D', root_.string());
    standin::SetCurrentDir("D:\\");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  // Runs LaunchStage; the exit code when it ended the process, -1 when it returned.
  static int Launch(const char* program, std::vector<const char*> args) {
    try {
      LaunchStage(program, args.data(), static_cast<int>(args.size()));
    } catch (const standin::ProcessExit& exit) {
      return static_cast<int>(exit.code);
    }
    return -1;
  }
  std::filesystem::path root_;
};

TEST_F(LaunchStageTest, StartsTheProgramWithPlainArgumentsAndEndsWithZero) {
  struct Case {
    const char* name;
    const char* program;
    std::vector<const char*> args;
    std::string application, commandLine;
  };
  const Case cases[] = {
      {"install", "D:\\DISK1\\SETUPX.EXE", {"C:\\HARVEL95", "Group"}, "D:\\DISK1\\SETUPX.EXE",
       "D:\\DISK1\\SETUPX.EXE C:\\HARVEL95 Group"},
      {"blanks in the directory", "D:\\MY DISK\\SETUPX.EXE", {"C:\\HARVEL95", "A B"},
       "D:\\MY DISK\\SETUPX.EXE", "D:\\MY DISK\\SETUPX.EXE C:\\HARVEL95 A B"},
      {"bare name: the working directory's file", "WORKX.EXE", {""}, ".\\WORKX.EXE", "WORKX.EXE"},
      {"drive-relative name is not given .\\", "D:WORKX.EXE", {""}, "D:WORKX.EXE", "D:WORKX.EXE"},
  };
  for (const Case& c : cases) {
    SetUp();
    EXPECT_EQ(Launch(c.program, c.args), 0) << c.name;
    const auto starts = standin::Starts();
    ASSERT_EQ(starts.size(), 1u) << c.name;
    EXPECT_EQ(starts[0].application, c.application) << c.name;
    EXPECT_EQ(starts[0].commandLine, c.commandLine) << c.name;
    EXPECT_TRUE(starts[0].inheritHandles) << c.name;
    EXPECT_EQ(starts[0].creationFlags, 0u) << c.name;
    EXPECT_FALSE(starts[0].environmentGiven) << c.name;
    EXPECT_FALSE(starts[0].directoryGiven) << c.name;
    EXPECT_TRUE(starts[0].startupInfoPlain) << c.name;
    EXPECT_EQ(standin::CallCount("CloseHandle"), 0) << c.name << ": handles left to the exit";
  }
}

TEST_F(LaunchStageTest, ReturnsWithoutStartingWhenTheProgramCannotRun) {
  struct Case {
    const char* name;
    const char* program;
    const char* fault;
  };
  const std::string tooLong = "D:\\DISK1\\" + std::string(kCommandLineSize, 'x');
  const Case cases[] = {
      {"missing", "D:\\DISK1\\UNINSTX.EXE", nullptr},
      {"bare name missing from the working directory", "SETUPX.EXE", nullptr},
      {"a directory", "D:\\DISK1\\DIRX.EXE", nullptr},
      {"creation fails", "D:\\DISK1\\SETUPX.EXE", "CreateProcessA"},
      {"command line does not fit", tooLong.c_str(), nullptr},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.fault) standin::ArmFault(c.fault, 1);
    EXPECT_EQ(Launch(c.program, {""}), -1) << c.name;
    if (!c.fault) EXPECT_TRUE(standin::Starts().empty()) << c.name;
    EXPECT_TRUE(standin::Boxes().empty()) << c.name;
  }
}

}  // namespace
