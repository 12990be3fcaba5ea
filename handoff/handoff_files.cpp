// GRPNAM.DAT (the group name as one text line) and OEM2ANSI.INI (the ANSI-to-OEM table).
#include "handoff/handoff_files.h"

#include "app/setup_state.h"
#include "runtime/outfile.h"
#include "win32/api.h"

void WriteGroupNameFile(const char* path) {
  // Text mode writes the line feed as CR LF.
  rt::OutFile file;
  if (!file.Open(path, rt::OutFile::kText)) return;
  file.Print("%s\n", g_setup.groupName);
  // A file that could not be written whole is not left behind: an empty or cut GRPNAM.DAT would
  // read as another group name.
  if (!file.Close()) DeleteFileA(path);
}

void WriteCodePageTable(const char* path) {
  char ansi[256];
  char oem[256];
  for (int i = 0; i < 256; ++i) ansi[i] = static_cast<char>(i);
  // When the conversion fails the table is unknown: no file rather than one of undefined bytes.
  if (!CharToOemBuffA(ansi, oem, sizeof oem)) return;

  rt::OutFile file;
  if (!file.Open(path, rt::OutFile::kBinary)) return;
  for (int i = 0; i < 256; ++i) file.PutByte(static_cast<unsigned char>(oem[i]));
  if (!file.Close()) DeleteFileA(path);  // no table rather than a short one
}
