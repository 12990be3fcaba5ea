// ShowText on any bytes: the entry is converted from OEM to ANSI in place, keeps its length, is
// returned itself, and nothing is written past it or past the text scratch, with or without one.
//
// Input: one control byte (bit 0: no text scratch), then the entry's text up to the first NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/setup_state.h"
#include "standin/control.h"
#include "text/message_catalogue.h"
#include "win32/api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool noScratch = data[0] & 1;
  const std::string text(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));

  // Each byte as the system converts it alone: the whole text must convert the same way.
  std::string converted = text;
  for (char& c : converted) {
    char one[2] = {c, 0};
    char out[2] = {0, 0};
    OemToCharA(one, out);
    c = out[0];
  }

  char* scratch = noScratch ? nullptr : new char[kTextScratchSize];
  g_setup.textScratch = scratch;
  char* entry = new char[text.size() + 1];  // exactly the entry's storage
  std::memcpy(entry, text.c_str(), text.size() + 1);

  char* shown = ShowText(entry);
  if (shown != entry) abort();
  if (std::strlen(entry) != text.size()) abort();
  // A text that cannot pass through the scratch may stay as it was, but is never half converted.
  const std::string result(entry);
  if (result != converted && result != text) abort();
  if (text.size() < kTextScratchSize && scratch != nullptr && result != converted) abort();

  delete[] entry;
  delete[] scratch;
  g_setup.textScratch = nullptr;
  return 0;
}
