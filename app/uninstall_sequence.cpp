// UninstallSequence: confirmation, registry removal, GRPNAM.DAT, leftover files and UNINSTX.EXE.
#include "app/exit_codes.h"
#include "app/sequences.h"
#include "app/setup_state.h"
#include "dialogs/catalogue_box.h"
#include "framework/app.h"
#include "handoff/handoff_files.h"
#include "handoff/launch_stage.h"
#include "handoff/registry_entries.h"
#include "runtime/rt.h"
#include "text/message_catalogue.h"
#include "win32/api.h"

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// LFNBK.EXE in the Windows directory. When the Windows directory cannot be read the file name
// would lose its directory, so nothing is deleted.
void DeleteFromWindowsDirectory() {
  char windowsDirectory[kTextField] = "";
  UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
  if (length == 0 || length >= sizeof windowsDirectory) return;
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%s\\LFNBK.EXE",
                  windowsDirectory)) {
    DeleteFileA(g_setup.pathBuffer);
  }
}

// SAILE.INI in the root of the setup directory's drive, only when the setup directory starts with
// a drive letter and a colon: a relative or empty setup directory names no drive, and its first
// character must not pick the root of an unrelated one.
void DeleteFromSetupDrive() {
  const char* setupDirectory = g_setup.setupDirectory;
  if (!IsDriveLetter(setupDirectory[0]) || setupDirectory[1] != ':') return;
  if (rt::Copy(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "x:\\SAILE.INI")) {
    g_setup.pathBuffer[0] = setupDirectory[0];
    DeleteFileA(g_setup.pathBuffer);
  }
}

}  // namespace

void UninstallSequence() {
  // Only Yes goes on: a box that could not be shown (0) is no consent to remove anything. No ends
  // with the default exit code 0 (no dialog loop has run).
  if (ShowCatalogueBox(0, g_catalogue.uninstallQuestion, g_catalogue.uninstallCaption,
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }

  // No outcome of these steps changes what follows; a path that does not fit skips its step.
  RemoveRegistryEntries();
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%sGRPNAM.DAT",
                  g_setup.setupDirectory)) {
    WriteGroupNameFile(g_setup.pathBuffer);
  }
  DeleteFromWindowsDirectory();
  DeleteFromSetupDrive();

  // One empty argument: the second stage's command line is its own path alone.
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%sUNINSTX.EXE",
                  g_setup.setupDirectory)) {
    const char* args[1] = {""};
    LaunchStage(g_setup.pathBuffer, args, 1);
  }
  // Still here: UNINSTX.EXE is missing or could not be started. Silent, but not a success.
  AfxGetApp()->SetExitCode(kExitHandoffFailed);
}
