// The stand-in's ANSI-to-OEM table: CharToOemBuffA over the bytes 0..255 in one call, the 256 results
// written to standard output. Built and run by compare_oem_table.sh against the native build.
#include <cstdio>

#include "win32/api.h"

int main() {
  char ansi[256], oem[256];
  for (int i = 0; i < 256; ++i) ansi[i] = static_cast<char>(i);
  CharToOemBuffA(ansi, oem, 256);
  return std::fwrite(oem, 1, sizeof oem, stdout) == sizeof oem ? 0 : 1;
}
