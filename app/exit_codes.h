// Exit codes the setup program sets itself; every other ending without a hand-off exits with the
// class library's default (the wParam of the last message its dialog loops retrieved).
#ifndef APP_EXIT_CODES_H
#define APP_EXIT_CODES_H

enum {
  kExitHandedOff = 0,           // the second stage was started
  kExitHandoffFailed = 1,       // the second-stage program is missing or could not be started
  kExitCommandLineUnusable = 2, // the setup directory is too long to compose a file name in it
};

#endif  // APP_EXIT_CODES_H
