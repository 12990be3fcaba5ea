// Test control of the stand-in machine: seed it, arm faults, script the operator, read back what
// happened, and run the native program as a real process on it. Tests include this; the product never.
#ifndef STANDIN_CONTROL_H
#define STANDIN_CONTROL_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win32/api.h"

namespace standin {

// ---- The machine -----------------------------------------------------------------------------

// A fresh machine: no drives, empty registry (Windows 95 deletion rule), no faults, no operator
// script, nothing recorded, command line "", working directory "C:\", Windows directory
// "C:\WINDOWS", error mode 0, ExitProcess ending the host process. Heap blocks still held by an
// earlier in-process run are released.
void Reset();

// Drive letter -> host folder (created if missing). Windows paths on that drive map below it.
void MapDrive(char letter, const std::string& hostFolder);
// The drive exists but has no medium: every file operation on it fails with ERROR_NOT_READY.
void SetNoMedium(char letter);
// The host path of a Windows path ("" when its drive is not mapped). Names are matched without
// regard to case against what exists on the host; parts that do not exist keep their case.
std::string HostPath(const std::string& windowsPath);

void SetCommandLine(const std::string& commandLine);
void SetCurrentDir(const std::string& windowsPath);
std::string CurrentDir();
void SetWindowsDir(const std::string& windowsPath);
UINT ErrorMode();

// ---- Registry --------------------------------------------------------------------------------

enum class DeleteRule {
  kWindows95,  // RegDeleteKeyA takes the sub-keys along (the product's target system)
  kWindowsNT,  // RegDeleteKeyA refuses a key with sub-keys (ERROR_ACCESS_DENIED), as Wine does
};
void SetDeleteRule(DeleteRule rule);

struct Value {
  DWORD type;
  std::string bytes;  // the data exactly as stored (a REG_SZ's NUL is part of it when written so)
};
// Creates the key and its parents.
void SeedKey(HKEY root, const std::string& path);
// Creates the key if needed and stores the value.
void SeedValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
               const std::string& bytes);
bool KeyExists(HKEY root, const std::string& path);
std::optional<Value> ReadValue(HKEY root, const std::string& path, const std::string& name);
// Every key and value in a stable text form, one per line, for comparisons and printing.
std::string DumpRegistry();

// ---- Faults ----------------------------------------------------------------------------------

// Makes a call of function (its name, e.g. "RegOpenKeyExA", "CreateFileA", "HeapAlloc") fail.
// nth = 1 fails the next call, 2 the one after it, ...; nth = 0 fails every call. When match is
// given, only calls whose name, path or key argument contains it (case-insensitive) are counted.
void ArmFault(const std::string& function, int nth = 1, const std::string& match = "");
// Calls of function made since Reset (failed ones included).
int CallCount(const std::string& function);

// ---- The operator (the person at the screen) -------------------------------------------------

// Actions, one per string, taken in order whenever the program waits for the user:
//   "answer IDYES" | "answer IDNO" | "answer IDOK" | "answer IDCANCEL"   for a message box
//   "click <id>"          a mouse click on the control with that ID of the dialog in front
//   "enter" | "esc" | "tab"  the key, sent to the control that has the focus
//   "type <id> <text>"    replaces the text of that control (C escapes \n \r \t \\ \xHH allowed)
// When the program waits and the next action does not fit (or none is left), the stand-in records
// "operator: ..." in the journal and ends the process with exit code kOperatorFault.
void ScriptOperator(const std::vector<std::string>& actions);
// The action "type <id> <text>" for any text: backslashes doubled, bytes outside printable ASCII
// as \xHH, so that the operator types exactly text.
std::string TypeAction(int id, const std::string& text);
enum { kOperatorFault = 250 };

// ---- Desktop --------------------------------------------------------------------------------

// The screen is 800 by 600 pixels; the work area (the screen less the task bar) is 0,0 800,572
// unless set here. Reset restores it. Like the two calls below, it acts in-process only: a program
// run by RunProgram sees the default work area.
void SetWorkArea(const RECT& area);
// In-process tests with templates of their own: the running module's resources become those of
// this .res image (false, and nothing changes, when it does not parse). Reset returns to the
// resources linked into the program.
bool SetModuleResources(const std::vector<unsigned char>& resFile);
// Called with each operator action just before the program takes it, so that an in-process test
// can look at the desktop at that moment (which window is enabled, where it is). Reset removes it.
void ObserveOperator(std::function<void(const std::string& action)> observer);

// ---- Read back -------------------------------------------------------------------------------

struct Box {
  std::string caption;
  std::string text;
  UINT type;          // MB_* buttons | icon as passed
  std::string owner;  // "" for no owner, else the owner's description, e.g. "dialog 102"
  int answer;         // the operator's answer (IDYES, ...)
};
std::vector<Box> Boxes();

struct Dialog {
  int templateId;
  std::string caption;                // the caption when the dialog was first shown
  std::vector<std::string> controls;  // "id kind text" per control, in template order, as shown
  bool centred;                       // centred in the work area when first shown
  int focusId;                        // the control that had the focus when first shown
};
std::vector<Dialog> Dialogs();

struct ProcessStart {
  std::string application;  // lpApplicationName ("" for none)
  std::string commandLine;  // lpCommandLine ("" for none)
  bool inheritHandles;
  DWORD creationFlags;
  bool environmentGiven;  // lpEnvironment was not 0
  bool directoryGiven;    // lpCurrentDirectory was not 0
  std::string directory;
  bool startupInfoPlain;  // STARTUPINFOA set no position, size, show state or standard handles
};
std::vector<ProcessStart> Starts();

// Everything the machine recorded, one line per event, in order (boxes, dialogs, faults fired,
// files created and deleted, registry writes and deletions, process starts, the exit).
std::vector<std::string> Journal();

// How the last process ended: "ExitProcess <code>" or "exit <code>" ("" while it runs); after
// RunProgram also "signal <number>" or "killed after <seconds> s".
std::string ExitRecord();

// ---- Processes -------------------------------------------------------------------------------

// Thrown by ExitProcess when in-process mode is on (tests that call product code directly).
struct ProcessExit {
  UINT code;
};
void SetExitThrows(bool on);

// Runs the native program at programPath as a child process on this machine: the machine is saved
// to a folder, the child works on it, and what it changed is loaded back. Returns its exit code
// (128 + signal when it died of one, -1 when it had to be killed after timeoutSeconds).
int RunProgram(const std::string& programPath, int timeoutSeconds = 30);

// Saves and loads the whole machine (drives, directories, registry, faults, operator, records).
void Save(const std::string& folder);
void Load(const std::string& folder);

}  // namespace standin

#endif  // STANDIN_CONTROL_H
