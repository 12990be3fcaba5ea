// The prepared machine of the scenario tests.
#include "tests/scenario/scenario_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace scenario {

Machine::Machine() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name()
                                     : std::string("machine");
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  root_ = std::filesystem::temp_directory_path() /
          ("scenario_" + std::to_string(::getpid()) + "_" + name);
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_ / "c" / "WINDOWS");
  std::filesystem::create_directories(root_ / "d");
  standin::Reset();
  standin::MapDrive('C', (root_ / "c").string());
  standin::MapDrive('D', (root_ / "d").string());
}

Machine::~Machine() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void Machine::PutFile(const std::string& windowsPath, const std::string& bytes) const {
  std::filesystem::path host = standin::HostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << bytes;
}

void Machine::PutDirectory(const std::string& windowsPath) const {
  std::filesystem::create_directories(standin::HostPath(windowsPath));
}

std::optional<std::string> Machine::File(const std::string& windowsPath) const {
  std::ifstream in(standin::HostPath(windowsPath), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Machine::Exists(const std::string& windowsPath) const {
  return std::filesystem::exists(standin::HostPath(windowsPath));
}

int Machine::Run(const std::string& commandLine, const std::vector<std::string>& script) const {
  standin::SetCommandLine(commandLine);
  standin::ScriptOperator(script);
  return standin::RunProgram(SETUP_PROGRAM);
}

std::string JournalText() {
  std::string out;
  for (const std::string& line : standin::Journal()) out += line + "\n";
  return out;
}

std::vector<std::string> JournalLines(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : standin::Journal()) {
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line.substr(prefix.size()));
  }
  return out;
}

std::vector<std::string> DeletedKeys() { return JournalLines("reg delete "); }

}  // namespace scenario
