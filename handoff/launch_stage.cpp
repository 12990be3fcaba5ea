// The start of the second-stage program and the end of the setup process.
#include "handoff/launch_stage.h"

#include "runtime/rt.h"
#include "win32/api.h"

namespace {

// Appends text to out at *used; false when it does not fit with the NUL.
bool Append(char* out, rt::usize* used, const char* text) {
  rt::usize length = rt::Length(text);
  if (length >= kCommandLineSize - *used) return false;
  rt::MemCopy(out + *used, text, length);
  *used += length;
  out[*used] = '\0';
  return true;
}

bool HasSeparator(const char* path) {
  for (; *path != '\0'; ++path) {
    if (*path == '\\' || *path == '/' || *path == ':') return true;
  }
  return false;
}

}  // namespace

bool JoinCommandLine(char* out, const char* programPath, const char* const* args, int count) {
  out[0] = '\0';
  rt::usize used = 0;
  bool fits = Append(out, &used, programPath);
  // The joined arguments are empty only without arguments or with a single empty one; otherwise
  // each argument, empty ones included, follows one blank.
  bool joinedEmpty = count == 0 || (count == 1 && args[0][0] == '\0');
  for (int i = 0; fits && !joinedEmpty && i < count; ++i) {
    fits = Append(out, &used, " ") && Append(out, &used, args[i]);
  }
  if (!fits) out[0] = '\0';
  return fits;
}

void LaunchStage(const char* programPath, const char* const* args, int count) {
  // A bare name means the file in the working directory.
  char name[kCommandLineSize];
  bool named = HasSeparator(programPath) ? rt::Copy(name, sizeof name, programPath)
                                         : rt::Compose(name, sizeof name, ".\\%s", programPath);
  if (!named || GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return;

  // A command line that does not fit is not cut: nothing is started.
  char commandLine[kCommandLineSize];
  if (!JoinCommandLine(commandLine, programPath, args, count)) return;

  STARTUPINFOA startup;
  rt::MemFill(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  rt::MemFill(&process, 0, sizeof process);
  if (!CreateProcessA(name, commandLine, 0, 0, TRUE, 0, 0, 0, &startup, &process)) return;

  // The handles are released with the process; no exit handler or destructor runs.
  ExitProcess(0);
}
