// InstallSequence: agreement, destination, group, uninstall entry, hand-off files, SETUPX.EXE.
#include "app/exit_codes.h"
#include "app/sequences.h"
#include "app/setup_state.h"
#include "dialogs/agreement_dlg.h"
#include "dialogs/prompt_dlg.h"
#include "framework/app.h"
#include "handoff/handoff_files.h"
#include "handoff/launch_stage.h"
#include "handoff/registry_entries.h"
#include "runtime/rt.h"

void InstallSequence() {
  // Only IDCANCEL stops the questions; -1 (a dialog that could not be created) goes on.
  CAgreementDlg agreement;
  if (agreement.DoModal() == IDCANCEL) return;

  CPromptDlg prompt;
  g_setup.promptMode = Destination;
  if (prompt.DoModal() == IDCANCEL) return;
  g_setup.promptMode = Group;
  if (prompt.DoModal() == IDCANCEL) return;

  // From here on nothing can be cancelled, and no outcome changes the steps that follow.
  RegisterUninstallEntry();
  // The prompt limits the install directory so that both paths fit; a path that did not would be
  // left empty by Compose and not used.
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%s\\GRPNAM.DAT",
                  g_setup.installDirectory)) {
    WriteGroupNameFile(g_setup.pathBuffer);
  }
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%s\\OEM2ANSI.INI",
                  g_setup.installDirectory)) {
    WriteCodePageTable(g_setup.pathBuffer);
  }
  if (rt::Compose(g_setup.pathBuffer, sizeof g_setup.pathBuffer, "%sSETUPX.EXE",
                  g_setup.setupDirectory)) {
    const char* args[2] = {g_setup.installDirectory, g_setup.groupName};
    LaunchStage(g_setup.pathBuffer, args, 2);
  }
  // Still here: SETUPX.EXE is missing or could not be started. The dialogs are destroyed on the
  // way out (the prompt first); nothing is shown.
  AfxGetApp()->SetExitCode(kExitHandoffFailed);
}
