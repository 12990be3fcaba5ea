// A prepared stand-in machine for whole runs of the native program: drives C: (with C:\WINDOWS)
// and D: mapped to a fresh temporary host folder, a command line, an operator script, and
// read-back of the files, registry, boxes, starts and exit code the run left behind.
#ifndef TESTS_SCENARIO_SCENARIO_SUPPORT_H
#define TESTS_SCENARIO_SCENARIO_SUPPORT_H

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "standin/control.h"

namespace scenario {

inline const char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harvelon";

class Machine {
 public:
  // A fresh stand-in (standin::Reset) on a new folder named after the running test.
  Machine();
  // Removes the host folder.
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // Writes a file at a Windows path on C: or D:, creating its directories.
  void PutFile(const std::string& windowsPath, const std::string& bytes = "MZ") const;
  void PutDirectory(const std::string& windowsPath) const;
  // The bytes of a file, nullopt when it does not exist.
  std::optional<std::string> File(const std::string& windowsPath) const;
  bool Exists(const std::string& windowsPath) const;

  // Runs the native setup program with this command line and operator script; its exit code.
  int Run(const std::string& commandLine, const std::vector<std::string>& script = {}) const;

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

// The journal of the last run, one line per event, for failure messages.
std::string JournalText();
// The keys deleted in the last run, in order, as "HKLM\..." / "HKCR\..." (sub-key notes included).
std::vector<std::string> DeletedKeys();
// The journal lines of the last run that begin with prefix, with the prefix taken off.
std::vector<std::string> JournalLines(const std::string& prefix);

}  // namespace scenario

#endif  // TESTS_SCENARIO_SCENARIO_SUPPORT_H
