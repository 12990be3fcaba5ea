// CSetupApp: the application object and its InitInstance, which is the whole program.
#include "app/setup_app.h"

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/sequences.h"
#include "app/setup_state.h"
#include "runtime/rt.h"

// The single application object, constructed before the class library starts.
CSetupApp theApp;

CSetupApp::CSetupApp() : CWinApp(0) {}

BOOL CSetupApp::InitInstance() {
  Enable3dControlsStatic();

  // The text scratch of ShowText; without it ShowText converts each text in place.
  g_setup.textScratch = static_cast<char*>(rt::Alloc(kTextScratchSize));

  LaunchContext context = ReadCommandLine(GetCommandLineA(), g_setup.setupDirectory);
  if (!context.usable) {
    // No file name fits after such a setup directory: nothing can be handed over.
    SetExitCode(kExitCommandLineUnusable);
  } else if (context.mode == kUninstallMode) {
    UninstallSequence();
  } else {
    InstallSequence();
  }

  rt::Free(g_setup.textScratch);
  g_setup.textScratch = 0;
  return FALSE;
}
