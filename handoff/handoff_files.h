// The two files left for the second stage: GRPNAM.DAT and OEM2ANSI.INI.
#ifndef HANDOFF_HANDOFF_FILES_H
#define HANDOFF_HANDOFF_FILES_H

// One text line: the group name of SetupState, then CR LF. Replaces any existing file.
void WriteGroupNameFile(const char* path);
// 256 bytes: byte i is the OEM character the system maps ANSI character i to.
void WriteCodePageTable(const char* path);

#endif  // HANDOFF_HANDOFF_FILES_H
