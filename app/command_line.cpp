// The command-line copy, the mode test and the cut of the setup directory.
#include "app/command_line.h"

#include "app/setup_state.h"
#include "runtime/rt.h"

LaunchContext ReadCommandLine(const char* commandLine, char* setupDirectory) {
  LaunchContext context;
  if (commandLine == 0) commandLine = "";
  // A quoted program path: skip the opening quote only; the rest, closing quote included, stays.
  const char* copy = commandLine[0] == '"' ? commandLine + 1 : commandLine;

  // The mode test runs on the whole text, arguments included, before the cut.
  context.mode = rt::Contains(copy, "UNINST") ? kUninstallMode : kInstallMode;

  // Cut after the last backslash or colon; neither gives the empty setup directory. The scan works
  // on the whole command line, so a longer one than the field holds is never cut short silently:
  // only a setup directory that leaves room for the file names appended to it is usable.
  rt::usize length = rt::Length(copy);
  rt::usize cut = 0;
  for (rt::usize i = length; i > 0; --i) {
    if (copy[i - 1] == '\\' || copy[i - 1] == ':') {
      cut = i;
      break;
    }
  }
  context.usable = cut <= kMaxSetupDirectory;
  if (!context.usable) cut = 0;
  rt::MemCopy(setupDirectory, copy, cut);
  setupDirectory[cut] = '\0';
  return context;
}
