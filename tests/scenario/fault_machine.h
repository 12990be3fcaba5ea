// The prepared machine of the fault and hostile-input scenarios: the native program run as a child
// process on a stand-in machine with C: (C:\WINDOWS) and D: (the medium, D:\DISK1) in a temporary
// host folder, and the helpers that read back what a run left behind.
#ifndef TESTS_SCENARIO_FAULT_MACHINE_H
#define TESTS_SCENARIO_FAULT_MACHINE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "standin/control.h"

namespace fault_test {

inline const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harvelon";
inline const char kListKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline const char kDefaultGroup[] = "Harvelon for Windows 95";
inline const char kInstallCommandLine[] = "\"D:\\DISK1\\SETUP.EXE\"";
inline const char kUninstallCommandLine[] = "C:\\HARVEL95\\UNINSTAL.EXE";
inline const char kRegistryBoxCaption[] = "Note";
inline const char kRegistryBoxText[] = "Open / Create Uninstall entry key failed";

// The four keys the uninstaller removes, in its order.
struct ProductKey {
  HKEY root;
  const char* path;
};
inline const ProductKey kProductKeys[4] = {{HKEY_LOCAL_MACHINE, kUninstallKey},
                                           {HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel"},
                                           {HKEY_CLASSES_ROOT, ".zur"},
                                           {HKEY_CLASSES_ROOT, "bupfile"}};

// The destination or group entry typed by the operator.
inline std::string TypeEntry(const std::string& text) { return standin::TypeAction(1000, text); }

// Text with its NUL, as a REG_SZ written with the NUL counted.
inline std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

class Machine : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("fault_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "c" / "WINDOWS");
    std::filesystem::create_directories(root_ / "d" / "DISK1");
    standin::Reset();
    standin::MapDrive('C', (root_ / "c").string());
    standin::MapDrive('D', (root_ / "d").string());
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The host file behind a Windows path of drive C: or D: ("C:\X\Y" -> <root>/c/X/Y), for seeding.
  std::filesystem::path Host(const std::string& windowsPath) const {
    std::string rest = windowsPath.substr(3);
    for (char& c : rest)
      if (c == '\\') c = '/';
    return root_ / std::string(1, static_cast<char>(std::tolower(windowsPath[0]))) / rest;
  }
  void MakeFile(const std::string& windowsPath, const std::string& bytes = "MZ") {
    std::filesystem::create_directories(Host(windowsPath).parent_path());
    std::ofstream(Host(windowsPath), std::ios::binary) << bytes;
  }
  void MakeDir(const std::string& windowsPath) { std::filesystem::create_directories(Host(windowsPath)); }

  // A machine on which the product is installed: the entry with its three values, the keys of the
  // maker and the file type, the leftover files, and UNINSTX.EXE beside UNINSTAL.EXE.
  void PrepareInstalled(const std::string& group = kDefaultGroup) {
    standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", REG_SZ, Sz(group));
    standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", REG_SZ,
                       Sz("C:\\HARVEL95\\UNINSTAL.EXE"));
    standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "GroupName", REG_SZ, Sz(group));
    standin::SeedKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel\\Harvelon");
    standin::SeedKey(HKEY_CLASSES_ROOT, ".zur");
    standin::SeedKey(HKEY_CLASSES_ROOT, "bupfile\\shell\\open");
    MakeFile("C:\\HARVEL95\\UNINSTAL.EXE");
    MakeFile("C:\\HARVEL95\\UNINSTX.EXE");
    MakeFile("C:\\WINDOWS\\LFNBK.EXE");
    MakeFile("C:\\SAILE.INI");
  }

  // Runs the program with this command line and operator script; returns its exit code.
  int Run(const std::string& commandLine, const std::vector<std::string>& script) {
    standin::SetCommandLine(commandLine);
    standin::ScriptOperator(script);
    return standin::RunProgram(SETUP_PROGRAM);
  }

  static std::string Journal() {
    std::string out;
    for (const std::string& line : standin::Journal()) out += line + "\n";
    return out;
  }

  // The bytes of a file on the machine (names matched as the stand-in matches them), or "<missing>".
  static std::string FileBytes(const std::string& windowsPath) {
    const std::string host = standin::HostPath(windowsPath);
    if (host.empty() || !std::filesystem::is_regular_file(host)) return "<missing>";
    std::ifstream in(host, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static bool Exists(const std::string& windowsPath) {
    const std::string host = standin::HostPath(windowsPath);
    return !host.empty() && std::filesystem::exists(host);
  }
  static bool IsDirectory(const std::string& windowsPath) {
    const std::string host = standin::HostPath(windowsPath);
    return !host.empty() && std::filesystem::is_directory(host);
  }

  static std::string Value(const char* name, const char* key = kUninstallKey) {
    std::optional<standin::Value> value = standin::ReadValue(HKEY_LOCAL_MACHINE, key, name);
    return value ? value->bytes : "<missing>";
  }

  static std::vector<std::string> BoxCaptions() {
    std::vector<std::string> captions;
    for (const standin::Box& box : standin::Boxes()) captions.push_back(box.caption);
    return captions;
  }

  std::filesystem::path root_;
};

}  // namespace fault_test

#endif  // TESTS_SCENARIO_FAULT_MACHINE_H
