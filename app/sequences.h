// The two sequences InitInstance chooses between; both work on SetupState.
#ifndef APP_SEQUENCES_H
#define APP_SEQUENCES_H

// Agreement, destination, group, uninstall entry, hand-off files and SETUPX.EXE.
void InstallSequence();
// Confirmation, registry removal, GRPNAM.DAT, leftover files and UNINSTX.EXE.
void UninstallSequence();

#endif  // APP_SEQUENCES_H
