// A fresh stand-in machine for the stand-in's and the run-time's own tests: drive C: in a temporary
// host folder of the test's own, working directory C:\, in-process exits.
#ifndef TESTS_UNIT_STANDIN_TEST_MACHINE_H
#define TESTS_UNIT_STANDIN_TEST_MACHINE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "standin/control.h"

namespace standin_test {

class Machine : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "standin_" + std::to_string(::getpid()) + "_" + info->test_suite_name() +
                       "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    root_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "c");
    standin::Reset();
    standin::SetExitThrows(true);
    standin::MapDrive('C', (root_ / "c").string());
  }
  void TearDown() override {
    standin::Reset();
    standin::SetExitThrows(false);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // A host file below drive C: with the given bytes (folders made as needed).
  void HostFile(const std::string& relative, const std::string& bytes) {
    std::filesystem::path p = root_ / "c" / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::filesystem::path C(const std::string& relative = "") const { return root_ / "c" / relative; }

  static std::string Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::string JournalText() {
    std::string out;
    for (const std::string& line : standin::Journal()) out += line + "\n";
    return out;
  }

  std::filesystem::path root_;
};

}  // namespace standin_test

#endif  // TESTS_UNIT_STANDIN_TEST_MACHINE_H
