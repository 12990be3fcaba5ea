// The machine itself: its state, fault switches, journal, operator script, read-back, the end of a
// process, saving and loading the whole machine to a folder, and running the native program on it.
#include "standin/machine.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "standin/records.h"

namespace standin {
namespace internal {
namespace {

// The machine folder of a child process ("" in a process that is not a child of RunProgram).
std::string& ChildFolder() {
  static std::string* folder = new std::string;
  return *folder;
}

bool g_loaded = false;  // the child's machine has been loaded from its folder

void SaveAtExit() {
  if (g_loaded) Save(ChildFolder());
}

// A child registers its save before any static object of the program is constructed, so that the
// save runs after their destructors (the host runs atexit work last registered first).
__attribute__((constructor(101))) void RegisterChildSave() {
  const char* folder = getenv("STANDIN_MACHINE");
  if (folder == nullptr || *folder == '\0') return;
  ChildFolder() = folder;
  atexit(SaveAtExit);
}

const char kJournalFile[] = "journal.txt";
const char kMachineFile[] = "machine.txt";
const char kRegistryFile[] = "registry.txt";

}  // namespace

// The machine lives on the heap and is never destroyed: static destructors and exit work of the
// program still call the stand-in after the host's own statics are gone.
Machine& M() {
  static Machine* machine = new Machine;
  if (!g_loaded && !ChildFolder().empty()) {
    g_loaded = true;
    Load(ChildFolder());
  }
  return *machine;
}

bool Fails(const char* function, const std::string& arg) {
  Machine& m = M();
  ++m.callCounts[function];
  for (FaultSwitch& f : m.faults) {
    if (f.spent || f.function != function) continue;
    if (!f.match.empty() && Lower(arg).find(Lower(f.match)) == std::string::npos) continue;
    if (f.remaining > 0) {
      --f.remaining;
      continue;
    }
    if (f.remaining == 0) f.spent = true;
    Log("fault " + std::string(function) + " " + arg);
    return true;
  }
  return false;
}

void Log(const std::string& line) {
  M().journal.push_back(line);
  // A child appends at once, so that its journal survives a crash or a kill.
  if (!ChildFolder().empty()) {
    std::ofstream out(ChildFolder() + "/" + kJournalFile, std::ios::app | std::ios::binary);
    out << Quote(line) << "\n";
  }
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string PeekAction() {
  Machine& m = M();
  return m.operatorNext < m.operatorScript.size() ? m.operatorScript[m.operatorNext] : "";
}

std::string TakeAction() {
  std::string action = PeekAction();
  if (!action.empty()) ++M().operatorNext;
  return action;
}

void OperatorFault(const std::string& why) {
  Log("operator: " + why);
  EndProcess(kOperatorFault, false);
}

void EndProcess(UINT code, bool normal) {
  Machine& m = M();
  m.exitRecord = (normal ? "exit " : "ExitProcess ") + std::to_string(code);
  Log(m.exitRecord);
  if (m.exitThrows) throw ProcessExit{code};
  if (normal) exit(static_cast<int>(code));  // the save runs at the host's exit
  if (g_loaded) Save(ChildFolder());
  std::fflush(nullptr);
  _exit(static_cast<int>(code));
}

// Weak default: the desktop side provides the real one.
__attribute__((weak)) void DesktopReset() {}

}  // namespace internal

using internal::M;
using internal::Machine;

void Reset() {
  bool throws = M().exitThrows;
  M() = Machine();
  M().exitThrows = throws;
  internal::HeapReset();
  internal::FilesReset();
  internal::RegistryReset();
  internal::DesktopReset();
}

void MapDrive(char letter, const std::string& hostFolder) {
  std::error_code ignored;
  std::filesystem::create_directories(hostFolder, ignored);
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  M().drives[drive] = hostFolder;
  M().noMedium.erase(drive);
}

void SetNoMedium(char letter) {
  M().noMedium.insert(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
}

std::string HostPath(const std::string& windowsPath) {
  std::string host;
  DWORD error = 0;
  return internal::MapPath(windowsPath, &host, &error) ? host : "";
}

void SetCommandLine(const std::string& commandLine) { M().commandLine = commandLine; }
void SetCurrentDir(const std::string& windowsPath) {
  M().currentDir = internal::FullPath(windowsPath);
}
std::string CurrentDir() { return M().currentDir; }
void SetWindowsDir(const std::string& windowsPath) {
  M().windowsDir = internal::FullPath(windowsPath);
}
UINT ErrorMode() { return M().errorMode; }

void ArmFault(const std::string& function, int nth, const std::string& match) {
  M().faults.push_back({function, nth <= 0 ? -1 : nth - 1, match, false});
}

int CallCount(const std::string& function) {
  auto it = M().callCounts.find(function);
  return it == M().callCounts.end() ? 0 : it->second;
}

std::string TypeAction(int id, const std::string& text) {
  std::string out = "type " + std::to_string(id) + " ";
  for (unsigned char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 32 || c > 126) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void ScriptOperator(const std::vector<std::string>& actions) {
  M().operatorScript = actions;
  M().operatorNext = 0;
}

std::vector<Box> Boxes() { return M().boxes; }
std::vector<Dialog> Dialogs() { return M().dialogs; }
std::vector<ProcessStart> Starts() { return M().starts; }
std::vector<std::string> Journal() { return M().journal; }
std::string ExitRecord() { return M().exitRecord; }
void SetExitThrows(bool on) { M().exitThrows = on; }

// ---- Save and load ----------------------------------------------------------------------------

void Save(const std::string& folder) {
  using internal::Quote;
  std::filesystem::create_directories(folder);
  const Machine& m = M();
  std::ofstream out(folder + "/" + internal::kMachineFile, std::ios::binary | std::ios::trunc);
  out << "commandline " << Quote(m.commandLine) << "\n";
  out << "currentdir " << Quote(m.currentDir) << "\n";
  out << "windowsdir " << Quote(m.windowsDir) << "\n";
  out << "errormode " << m.errorMode << "\n";
  if (!m.exitRecord.empty()) out << "exit " << Quote(m.exitRecord) << "\n";
  for (const auto& d : m.drives) out << "drive " << d.first << " " << Quote(d.second) << "\n";
  for (char d : m.noMedium) out << "nomedium " << d << "\n";
  for (const internal::FaultSwitch& f : m.faults) {
    out << "fault " << Quote(f.function) << " " << f.remaining << " " << (f.spent ? 1 : 0) << " "
        << Quote(f.match) << "\n";
  }
  for (const auto& c : m.callCounts) out << "count " << Quote(c.first) << " " << c.second << "\n";
  for (const std::string& a : m.operatorScript) out << "action " << Quote(a) << "\n";
  out << "operatornext " << m.operatorNext << "\n";
  for (const Box& b : m.boxes) out << "box " << internal::BoxLine(b) << "\n";
  for (const Dialog& d : m.dialogs) out << "dialog " << internal::DialogLine(d) << "\n";
  for (const ProcessStart& s : m.starts) out << "start " << internal::StartLine(s) << "\n";
  out.close();

  std::ofstream journal(folder + "/" + internal::kJournalFile, std::ios::binary | std::ios::trunc);
  for (const std::string& line : m.journal) journal << Quote(line) << "\n";
  journal.close();

  internal::RegistrySave(folder + "/" + internal::kRegistryFile);
}

void Load(const std::string& folder) {
  using internal::Fields;
  Machine& m = M();
  bool throws = m.exitThrows;
  m = Machine();
  m.exitThrows = throws;

  std::ifstream in(folder + "/" + internal::kMachineFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    size_t space = line.find(' ');
    std::string tag = line.substr(0, space);
    std::vector<std::string> f = Fields(space == std::string::npos ? "" : line.substr(space + 1));
    auto at = [&f](size_t i) { return i < f.size() ? f[i] : std::string(); };
    auto num = [&at](size_t i) { return std::strtol(at(i).c_str(), nullptr, 0); };
    if (tag == "commandline") m.commandLine = at(0);
    else if (tag == "currentdir") m.currentDir = at(0);
    else if (tag == "windowsdir") m.windowsDir = at(0);
    else if (tag == "errormode") m.errorMode = static_cast<UINT>(num(0));
    else if (tag == "exit") m.exitRecord = at(0);
    else if (tag == "drive" && !at(0).empty()) m.drives[at(0)[0]] = at(1);
    else if (tag == "nomedium" && !at(0).empty()) m.noMedium.insert(at(0)[0]);
    else if (tag == "fault") m.faults.push_back({at(0), static_cast<int>(num(1)), at(3), num(2) != 0});
    else if (tag == "count") m.callCounts[at(0)] = static_cast<int>(num(1));
    else if (tag == "action") m.operatorScript.push_back(at(0));
    else if (tag == "operatornext") m.operatorNext = static_cast<size_t>(num(0));
    else if (tag == "box") m.boxes.push_back(internal::ParseBox(f));
    else if (tag == "dialog") m.dialogs.push_back(internal::ParseDialog(f));
    else if (tag == "start") m.starts.push_back(internal::ParseStart(f));
  }

  std::ifstream journal(folder + "/" + internal::kJournalFile, std::ios::binary);
  while (std::getline(journal, line)) {
    std::vector<std::string> f = Fields(line);
    if (!f.empty()) m.journal.push_back(f[0]);
  }

  internal::RegistryLoad(folder + "/" + internal::kRegistryFile);
}

// ---- Running the native program ---------------------------------------------------------------

int RunProgram(const std::string& programPath, int timeoutSeconds) {
  char pattern[] = "/tmp/standin_machine_XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) return -1;
  M().exitRecord.clear();  // "" while it runs
  Save(folder);
  std::fflush(nullptr);

  pid_t child = fork();
  if (child < 0) {
    std::filesystem::remove_all(folder);
    return -1;
  }
  if (child == 0) {
    setenv("STANDIN_MACHINE", folder, 1);
    execl(programPath.c_str(), programPath.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }

  int status = 0;
  int code = -1;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) {
      code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (done < 0) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      code = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  Load(folder);
  Machine& m = M();
  // A child that did not end through ExitProcess: the host saw how it ended.
  std::string ending;
  if (code < 0) ending = "killed after " + std::to_string(timeoutSeconds) + " s";
  else if (WIFSIGNALED(status)) ending = "signal " + std::to_string(WTERMSIG(status));
  else if (m.exitRecord.empty()) ending = "exit " + std::to_string(code);
  if (!ending.empty()) {
    m.exitRecord = ending;
    internal::Log(ending);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return code;
}

}  // namespace standin
