// ShowText: a catalogue entry converted from the OEM to the ANSI code page, in its own storage.
#include "app/setup_state.h"
#include "runtime/rt.h"
#include "text/message_catalogue.h"
#include "win32/api.h"

char* ShowText(char* entry) {
  // The copy goes through the text scratch and is converted back into the entry, so the result is
  // the entry itself and two results (a caption and its message) stay valid side by side. Without
  // a scratch, or for a text the scratch cannot hold, the entry is converted in place, which
  // OemToCharA allows; nothing is read or written past the entry or the scratch either way.
  char* scratch = g_setup.textScratch;
  if (scratch != 0 && rt::Copy(scratch, kTextScratchSize, entry)) {
    OemToCharA(scratch, entry);
  } else {
    OemToCharA(entry, entry);
  }
  return entry;
}
