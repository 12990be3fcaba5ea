// CWinApp and the class library's start-up and shut-down: OS-independent beyond win32/api.h.
#include "framework/app.h"

#include "runtime/rt.h"
#include "runtime/start.h"

namespace {
CWinApp* g_app = 0;
}  // namespace

CWinApp::CWinApp(const char* appName)
    : m_hInstance(0), m_pszAppName(appName), exit_code_(0), exit_code_set_(false) {
  rt::MemFill(&last_message_, 0, sizeof last_message_);
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = 0;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  MSG msg;
  while (GetMessageA(&msg, 0, 0, 0) > 0) {
    NoteMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  NoteMessage(msg);
  return ExitInstance();
}

int CWinApp::ExitInstance() {
  if (exit_code_set_) return exit_code_;
  return static_cast<int>(last_message_.wParam);
}

BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetResourceHandle() { return g_app != 0 ? g_app->m_hInstance : 0; }

int AfxWinMain(HINSTANCE hInstance) {
  CWinApp* app = AfxGetApp();
  if (app == 0) return -1;
  app->m_hInstance = hInstance;
  // A file operation on a drive without a medium must fail quietly, not raise a system box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  return AfxWinMain(hInstance);
}
