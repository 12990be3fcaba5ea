// In-process test machine for the dialog and destination tests: a fresh stand-in with drive C: in a
// temporary host folder, a known working directory, and SetupState emptied.
#ifndef TESTS_UNIT_DIALOGS_TEST_MACHINE_H
#define TESTS_UNIT_DIALOGS_TEST_MACHINE_H

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/setup_state.h"
#include "standin/control.h"

namespace dialogs_test {

// The catalogue texts as the user must see them.
inline const char kIncompletePath[] = "Please enter a full path including drive.";
inline const char kIncompleteCaption[] = "Incomplete Directory Name";
inline const char kNameTooLong[] =
    "Please use a directory name with up to 8 characters\n"
    "(with an optional extension of up to 3 characters).";
inline const char kInvalidCaption[] = "Invalid Directory Name";
inline const char kUnusable[] = "Cannot accept that entry";
inline const char kExisting[] = "That directory already exists.\n\nInstall to it anyway?";
inline const char kExistingCaption[] = "Confirm Directory Choice";
inline const char kCancelQuestion[] = "Are you sure you wish to cancel?";
inline const char kCancelCaption[] = "Confirm Cancel";


// The text of control id in a recorded dialog ("id kind text" per control), or "<none>".
inline std::string ControlText(const standin::Dialog& dialog, int id) {
  const std::string prefix = std::to_string(id) + " ";
  for (const std::string& control : dialog.controls) {
    if (control.compare(0, prefix.size(), prefix) != 0) continue;
    size_t kindEnd = control.find(' ', prefix.size());
    return kindEnd == std::string::npos ? std::string() : control.substr(kindEnd + 1);
  }
  return "<none>";
}

class Machine : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    standin::SetExitThrows(true);
    root_ = std::filesystem::temp_directory_path() /
            ("dialogs_test_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "c" / "WORK");
    standin::MapDrive('C', (root_ / "c").string());
    standin::SetCurrentDir("C:\\WORK");
    std::memset(&g_setup, 0, sizeof g_setup);
  }
  void TearDown() override {
    std::memset(&g_setup, 0, sizeof g_setup);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Host side of drive C: seeding and inspection.
  std::filesystem::path Host(const std::string& relative) const { return root_ / "c" / relative; }
  void MakeDir(const std::string& relative) { std::filesystem::create_directories(Host(relative)); }
  void MakeFile(const std::string& relative) { std::ofstream(Host(relative)) << "x"; }
  // The names directly inside a host folder of drive C:, exactly as stored.
  std::vector<std::string> Names(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Host(relative)))
      names.push_back(e.path().filename().string());
    return names;
  }

  std::filesystem::path root_;
};

// Runs fn (which shows dialogs or boxes); an operator mismatch or an exit becomes a failure that
// shows the journal.
template <typename Fn>
void RunWithOperator(Fn fn) {
  try {
    fn();
  } catch (const standin::ProcessExit& exit) {
    std::string journal;
    for (const std::string& line : standin::Journal()) journal += line + "\n";
    ADD_FAILURE() << "the process ended with " << exit.code << "\n" << journal;
  }
}

}  // namespace dialogs_test

#endif  // TESTS_UNIT_DIALOGS_TEST_MACHINE_H
