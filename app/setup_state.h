// SetupState: the process-wide record of the setup program, zero-filled at start.
#ifndef APP_SETUP_STATE_H
#define APP_SETUP_STATE_H

// Which question the prompt dialog asks; also indexes the mode-dependent catalogue entries.
enum PromptMode { Destination = 0, Group = 1 };

enum {
  kTextField = 256,       // bytes of each text field: at most 255 characters and the NUL
  kTextScratchSize = 4096,
  // The registry's value buffers hold 128 bytes: "%s\UNINSTAL.EXE" leaves room for an install
  // directory of 114 characters, and a GroupName read back whole holds 127.
  kMaxInstallDirectory = 114,
  kMaxGroupName = 127,
  // The longest name appended directly to the setup directory is UNINSTX.EXE (11 characters).
  kMaxSetupDirectory = kTextField - 1 - 11,
};

struct SetupState {
  char setupDirectory[kTextField];
  char installDirectory[kTextField];
  char groupName[kTextField];
  PromptMode promptMode;
  char pathBuffer[kTextField];
  char* textScratch;  // kTextScratchSize bytes while InitInstance runs, else 0
};

extern SetupState g_setup;

#endif  // APP_SETUP_STATE_H
