// CWinApp: the class library's application object, its start-up and its shut-down.
#ifndef FRAMEWORK_APP_H
#define FRAMEWORK_APP_H

#include "win32/api.h"

class CWinApp {
 public:
  // Constructed once, as a static object, before the class library starts.
  explicit CWinApp(const char* appName = 0);
  virtual ~CWinApp();

  // Called once by the start-up after the error mode is set; FALSE ends the program at once.
  virtual BOOL InitInstance();
  // Called when the program has returned from InitInstance with TRUE: the message loop.
  virtual int Run();
  // Called at shut-down; its result is the exit code of the process.
  virtual int ExitInstance();

  // Called from InitInstance: three-dimensional dialog controls. Windows 95 and later draw them
  // themselves, so nothing is left to switch on there.
  BOOL Enable3dControlsStatic();

  // Called by the class library's message loops for every message they retrieve.
  void NoteMessage(const MSG& msg) { last_message_ = msg; }
  // The last message a loop of the class library retrieved (all zero when none was).
  const MSG& LastMessage() const { return last_message_; }
  // Makes ExitInstance return code instead of the last message's wParam.
  void SetExitCode(int code) {
    exit_code_ = code;
    exit_code_set_ = true;
  }

  HINSTANCE m_hInstance;
  const char* m_pszAppName;

 private:
  MSG last_message_;
  int exit_code_;
  bool exit_code_set_;
};

// The one application object of the process, 0 before it is constructed.
CWinApp* AfxGetApp();
// The module whose resources the dialogs are created from.
HINSTANCE AfxGetResourceHandle();
// The class library's start-up, called by WinMain: error mode, InitInstance, then shut-down.
int AfxWinMain(HINSTANCE hInstance);

#endif  // FRAMEWORK_APP_H
