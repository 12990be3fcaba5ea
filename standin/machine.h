// The stand-in's shared machine state and the services every simulated call uses: fault switches,
// the journal, the operator script and the records tests read back. Internal to standin/.
#ifndef STANDIN_MACHINE_H
#define STANDIN_MACHINE_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "standin/control.h"

namespace standin {
namespace internal {

struct FaultSwitch {
  std::string function;
  int remaining;  // calls still to let through before the failing one; -1: fail every call
  std::string match;
  bool spent;
};

struct Machine {
  // process
  std::string commandLine;
  std::string currentDir = "C:\\";
  std::string windowsDir = "C:\\WINDOWS";
  UINT errorMode = 0;
  bool exitThrows = false;
  std::string exitRecord;
  // drives
  std::map<char, std::string> drives;  // upper-case letter -> host folder
  std::set<char> noMedium;
  // faults
  std::vector<FaultSwitch> faults;
  std::map<std::string, int> callCounts;
  // operator
  std::vector<std::string> operatorScript;
  size_t operatorNext = 0;
  // records
  std::vector<Box> boxes;
  std::vector<Dialog> dialogs;
  std::vector<ProcessStart> starts;
  std::vector<std::string> journal;
};

Machine& M();

// Counts a call of function and says whether an armed fault makes it fail now; a firing fault is
// journalled. arg is the call's name, path or key argument, for faults armed with a match.
bool Fails(const char* function, const std::string& arg = "");

// Appends a line to the journal (and, in a child process, to the machine folder's journal file).
void Log(const std::string& line);

// Quotes a text for the journal: C escapes for control bytes, quotes and backslashes.
std::string Quote(const std::string& text);

// The next operator action, or "" when the script is spent. Peek leaves it in place.
std::string PeekAction();
std::string TakeAction();
// Records an operator mismatch and ends the process with kOperatorFault.
[[noreturn]] void OperatorFault(const std::string& why);

// Ends the process: records it, saves the machine when it runs as a child, then either throws
// ProcessExit (in-process mode) or ends the host process (_exit for ExitProcess, exit otherwise).
[[noreturn]] void EndProcess(UINT code, bool normal);

// Windows path -> host path; false when the drive is missing or has no medium (error set then).
bool MapPath(const std::string& windowsPath, std::string* hostPath, DWORD* error);
// Makes a Windows path absolute against the working directory ("C:\X\Y" form, no "." or "..").
std::string FullPath(const std::string& windowsPath);

void SetLastErrorCode(DWORD error);

// Registry state reset/save/load, provided by registry.cpp for machine.cpp.
void RegistryReset();
void RegistrySave(const std::string& file);
void RegistryLoad(const std::string& file);

// Desktop state reset, provided by the window side.
void DesktopReset();

// Releases every heap block an earlier in-process run still holds (heap.cpp).
void HeapReset();
// Closes every file handle still open and forgets the other kernel handles (files.cpp).
void FilesReset();
// A fresh kernel object handle (a process or thread of CreateProcessA) that CloseHandle accepts.
HANDLE NewObjectHandle(const std::string& what);

}  // namespace internal
}  // namespace standin

#endif  // STANDIN_MACHINE_H
