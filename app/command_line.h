// The start-up's reading of the command line: the copy, the mode and the setup directory.
#ifndef APP_COMMAND_LINE_H
#define APP_COMMAND_LINE_H

enum SetupMode { kInstallMode, kUninstallMode };

struct LaunchContext {
  SetupMode mode;
  bool usable;  // false when the setup directory does not fit its field with a file name after it
};

// Reads commandLine (as GetCommandLineA gives it) into setupDirectory (kTextField bytes):
// one leading quote skipped, UNINST anywhere selects uninstall, the text cut after its last
// backslash or colon.
LaunchContext ReadCommandLine(const char* commandLine, char* setupDirectory);

#endif  // APP_COMMAND_LINE_H
