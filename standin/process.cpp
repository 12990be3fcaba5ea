// The running process: its command line, error mode, module handle and end, and the start of
// other programs (checked against the drives, recorded, never really run).
#include <cstdio>

#include "standin/machine.h"

namespace {

// The fixed handle of the running module.
HMODULE const kModule = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x400000));
const DWORD kErrorModNotFound = 126;
const DWORD kErrorDirectory = 267;
DWORD g_nextProcessId = 0x100;

// A STARTUPINFOA that asks for nothing: cb set to its size, every field after it zero.
bool Plain(const STARTUPINFOA& i) {
  return i.cb == sizeof(STARTUPINFOA) && i.lpReserved == nullptr && i.lpDesktop == nullptr &&
         i.lpTitle == nullptr && i.dwX == 0 && i.dwY == 0 && i.dwXSize == 0 && i.dwYSize == 0 &&
         i.dwXCountChars == 0 && i.dwYCountChars == 0 && i.dwFillAttribute == 0 &&
         i.dwFlags == 0 && i.wShowWindow == 0 && i.cbReserved2 == 0 &&
         i.lpReserved2 == nullptr && i.hStdInput == nullptr && i.hStdOutput == nullptr &&
         i.hStdError == nullptr;
}

// The program a command line names first: a quoted text, or up to the first space.
std::string FirstToken(const char* commandLine) {
  std::string line = commandLine != nullptr ? commandLine : "";
  if (!line.empty() && line[0] == '"') {
    size_t end = line.find('"', 1);
    return line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }
  return line.substr(0, line.find(' '));
}

std::string Hex(DWORD value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", value);
  return buf;
}

}  // namespace

using namespace standin::internal;

extern "C" {

LPSTR WINAPI GetCommandLineA(void) {
  // A stable buffer: it changes only when the machine's command line does.
  static std::string* line = new std::string;
  if (*line != M().commandLine) *line = M().commandLine;
  return &(*line)[0];
}

UINT WINAPI SetErrorMode(UINT uMode) {
  UINT previous = M().errorMode;
  M().errorMode = uMode;
  Log("error mode " + Hex(uMode));
  return previous;
}

void WINAPI ExitProcess(UINT uExitCode) { EndProcess(uExitCode, false); }

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  if (Fails("GetModuleHandleA", lpModuleName != nullptr ? lpModuleName : "")) {
    SetLastErrorCode(kErrorModNotFound);
    return nullptr;
  }
  if (lpModuleName == nullptr) return kModule;
  SetLastErrorCode(kErrorModNotFound);
  return nullptr;
}

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                           LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                           DWORD dwCreationFlags, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                           LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
  std::string application =
      lpApplicationName != nullptr ? lpApplicationName : FirstToken(lpCommandLine);
  if (Fails("CreateProcessA", application)) {
    SetLastErrorCode(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (lpStartupInfo == nullptr || lpProcessInformation == nullptr || application.empty()) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string host;
  DWORD error = 0;
  if (!MapPath(application, &host, &error)) {
    SetLastErrorCode(error);
    return FALSE;
  }
  // Asked through the file calls, so that their rules (case, drives, media) hold here too.
  DWORD attributes = GetFileAttributesA(application.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FALSE;  // its error stays
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastErrorCode(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (lpCurrentDirectory != nullptr) {
    DWORD dir = GetFileAttributesA(lpCurrentDirectory);
    if (dir == INVALID_FILE_ATTRIBUTES || !(dir & FILE_ATTRIBUTE_DIRECTORY)) {
      SetLastErrorCode(kErrorDirectory);
      return FALSE;
    }
  }

  standin::ProcessStart start;
  start.application = lpApplicationName != nullptr ? lpApplicationName : "";
  start.commandLine = lpCommandLine != nullptr ? lpCommandLine : "";
  start.inheritHandles = bInheritHandles != FALSE;
  start.creationFlags = dwCreationFlags;
  start.environmentGiven = lpEnvironment != nullptr;
  start.directoryGiven = lpCurrentDirectory != nullptr;
  start.directory = lpCurrentDirectory != nullptr ? lpCurrentDirectory : "";
  start.startupInfoPlain = Plain(*lpStartupInfo);
  M().starts.push_back(start);

  DWORD id = g_nextProcessId;
  g_nextProcessId += 4;
  lpProcessInformation->hProcess = NewObjectHandle("process " + application);
  lpProcessInformation->hThread = NewObjectHandle("thread " + application);
  lpProcessInformation->dwProcessId = id;
  lpProcessInformation->dwThreadId = id + 1;
  Log("start app=" + Quote(start.application) + " cmd=" + Quote(start.commandLine) +
      " inherit=" + (start.inheritHandles ? "1" : "0") + " flags=" + Hex(dwCreationFlags) +
      " env=" + (start.environmentGiven ? "1" : "0") + " dir=" + (start.directoryGiven ? "1" : "0") +
      (start.startupInfoPlain ? "" : " startupinfo=set"));
  SetLastErrorCode(ERROR_SUCCESS);
  return TRUE;
}

}  // extern "C"
