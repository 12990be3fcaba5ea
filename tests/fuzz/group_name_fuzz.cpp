// The GroupName read-back of RemoveRegistryEntries with a value of any type, size and bytes: the
// group name becomes the value's whole text (up to its first NUL, never past the bytes stored) or
// stays empty; it is never cut, never longer than the registry buffer allows, never spills into the
// fields beside it; and the uninstall entry is deleted whatever the value held.
//
// Input: one byte selecting the value type (0xFF: no GroupName value at all), then the value's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/setup_state.h"
#include "handoff/registry_entries.h"
#include "standin/control.h"

namespace {
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harvelon";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  standin::Reset();
  standin::SetExitThrows(true);
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool seeded = data[0] != 0xFF;
  if (seeded) {
    standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "GroupName", data[0] % 12, bytes);
  } else {
    standin::SeedKey(HKEY_LOCAL_MACHINE, kUninstallKey);
  }
  std::memset(&g_setup, 0, sizeof g_setup);
  RemoveRegistryEntries();

  const char* name = g_setup.groupName;
  const size_t length = strnlen(name, sizeof g_setup.groupName);
  if (length > static_cast<size_t>(kMaxGroupName)) abort();
  if (length > 0) {
    if (!seeded) abort();
    const std::string text = bytes.substr(0, bytes.find('\0'));
    if (std::string(name, length) != text) abort();
  }
  if (g_setup.promptMode != 0 || g_setup.installDirectory[0] != '\0' || g_setup.setupDirectory[0] != '\0')
    abort();
  if (standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) abort();
  return 0;
}
