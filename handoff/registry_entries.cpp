// The uninstall entry of the product in the list of removable programs, and the removal of the
// product's four registry keys.
#include "handoff/registry_entries.h"

#include "app/setup_state.h"
#include "runtime/rt.h"
#include "win32/api.h"

namespace {

// Each operation works in three buffers of this size: key path, value name, value data.
enum { kRegistryBuffer = 128 };

const char kListKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct KeyToRemove {
  HKEY root;
  const char* path;
};

// Keys 2 to 4 of the removal, in order; the product's uninstall key (1) comes before them.
const KeyToRemove kOtherKeys[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel"},
    {HKEY_CLASSES_ROOT, ".zur"},
    {HKEY_CLASSES_ROOT, "bupfile"},
};

// Sets a REG_SZ value composed from format and text, its terminating NUL counted in the size.
bool SetText(HKEY key, char* valueName, const char* name, char* data, const char* format,
             const char* text) {
  if (!rt::Copy(valueName, kRegistryBuffer, name)) return false;
  if (!rt::Compose(data, kRegistryBuffer, format, text)) return false;
  DWORD size = static_cast<DWORD>(rt::Length(data) + 1);
  return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

// Deletes the opened key itself (empty sub-key name) and closes it; false when it was not deleted.
bool DeleteOpenedKey(HKEY key) {
  bool deleted = RegDeleteKeyA(key, "") == ERROR_SUCCESS;
  RegCloseKey(key);
  return deleted;
}

}  // namespace

void RegisterUninstallEntry() {
  // An install directory or group name too long for the 128-byte data buffer would be written cut:
  // such an entry is refused as a whole, before anything is created, and silently, as every
  // failure after the list key is.
  if (rt::LengthBounded(g_setup.installDirectory, kTextField) > kMaxInstallDirectory ||
      rt::LengthBounded(g_setup.groupName, kTextField) > kMaxGroupName) {
    return;
  }

  char keyPath[kRegistryBuffer];
  char valueName[kRegistryBuffer];
  char data[kRegistryBuffer];

  // The list key is opened only to make sure that the list exists.
  HKEY listKey = 0;
  if (!rt::Copy(keyPath, sizeof keyPath, kListKey) ||
      RegCreateKeyA(HKEY_LOCAL_MACHINE, keyPath, &listKey) != ERROR_SUCCESS) {
    // Not a catalogue text: shown as it stands.
    MessageBoxA(0, "Open / Create Uninstall entry key failed", "Note",
                MB_OKCANCEL | MB_ICONEXCLAMATION);
    return;
  }

  // The product key by its full path under HKEY_LOCAL_MACHINE, not relative to the list key.
  HKEY productKey = 0;
  bool opened = rt::Compose(keyPath, sizeof keyPath, "%s\\Harvelon", kListKey) &&
                RegCreateKeyA(HKEY_LOCAL_MACHINE, keyPath, &productKey) == ERROR_SUCCESS;
  RegCloseKey(listKey);
  if (!opened) return;

  if (SetText(productKey, valueName, "DisplayName", data, "%s", g_setup.groupName) &&
      SetText(productKey, valueName, "UninstallString", data, "%s\\UNINSTAL.EXE",
              g_setup.installDirectory)) {
    SetText(productKey, valueName, "GroupName", data, "%s", g_setup.groupName);
  }
  RegCloseKey(productKey);
}

void RemoveRegistryEntries() {
  char keyPath[kRegistryBuffer];
  char valueName[kRegistryBuffer];
  char data[kRegistryBuffer];

  HKEY key = 0;
  if (rt::Compose(keyPath, sizeof keyPath, "%s\\Harvelon", kListKey) &&
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    // GroupName of any type is taken when its bytes hold a text with its NUL inside what the
    // registry returned; such a text always fits the group name (at most 127 characters). A value
    // without a NUL, or one too big for the buffer (the read fails), leaves the group name as it
    // was. Nothing is read past the returned bytes.
    DWORD size = sizeof data;
    if (rt::Copy(valueName, sizeof valueName, "GroupName") &&
        RegQueryValueExA(key, valueName, 0, 0, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS) {
      rt::usize returned = size < sizeof data ? size : sizeof data;
      if (rt::LengthBounded(data, returned) < returned) {
        rt::Copy(g_setup.groupName, sizeof g_setup.groupName, data);
      }
    }
    // A key that cannot be deleted ends the removal; the keys after it stay.
    if (!DeleteOpenedKey(key)) return;
  }

  for (const KeyToRemove& other : kOtherKeys) {
    // A key that does not open is skipped.
    if (!rt::Copy(keyPath, sizeof keyPath, other.path) ||
        RegOpenKeyExA(other.root, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
      continue;
    }
    if (!DeleteOpenedKey(key)) return;
  }
}
