// The registry: HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_CURRENT_USER as trees of keys whose
// names, and the names of their values, compare without regard to case.
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "standin/machine.h"
#include "standin/records.h"

namespace standin {
namespace internal {
namespace {

const LONG kErrorBadPathname = 161;
const LONG kErrorKeyDeleted = 1018;

struct Key {
  std::string name;  // as created
  Key* parent = nullptr;
  bool deleted = false;
  std::map<std::string, std::shared_ptr<Key>> children;  // by lower-case name
  std::map<std::string, std::pair<std::string, Value>> values;  // lower-case name -> (name, value)
};

struct Registry {
  std::shared_ptr<Key> roots[3];  // HKCR, HKCU, HKLM
  std::map<HKEY, std::shared_ptr<Key>> handles;
  DeleteRule rule = DeleteRule::kWindows95;
};

// Never destroyed: programs close keys from their static destructors.
Registry& R() {
  static Registry* registry = new Registry;
  return *registry;
}

// Handles keep growing across resets, so that a stale handle never names a new key.
ULONG_PTR g_nextKeyHandle = 0x3000;

const char* const kRootNames[3] = {"HKCR", "HKCU", "HKLM"};

int RootIndex(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return 0;
  if (key == HKEY_CURRENT_USER) return 1;
  if (key == HKEY_LOCAL_MACHINE) return 2;
  return -1;
}

void EnsureRoots() {
  Registry& r = R();
  for (int i = 0; i < 3; ++i) {
    if (!r.roots[i]) {
      r.roots[i] = std::make_shared<Key>();
      r.roots[i]->name = kRootNames[i];
    }
  }
}

// "HKLM\SOFTWARE\X" for a key.
std::string PathOf(const Key* key) {
  std::string path = key->name;
  for (const Key* k = key->parent; k != nullptr; k = k->parent) path = k->name + "\\" + path;
  return path;
}

// The key of a handle; error set when it is no key or a deleted one.
Key* Resolve(HKEY handle, LONG* error) {
  EnsureRoots();
  int root = RootIndex(handle);
  if (root >= 0) return R().roots[root].get();
  auto it = R().handles.find(handle);
  if (it == R().handles.end()) {
    *error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (it->second->deleted) {
    *error = kErrorKeyDeleted;
    return nullptr;
  }
  return it->second.get();
}

Key* Child(Key* key, const std::string& name) {
  auto it = key->children.find(Lower(name));
  return it == key->children.end() ? nullptr : it->second.get();
}

// The key below base at path, or nullptr; with create, missing keys are made (journalled when the
// program made them).
Key* Walk(Key* base, const std::string& path, bool create, bool journal = false) {
  Key* key = base;
  for (const std::string& part : SplitPath(path)) {
    Key* next = Child(key, part);
    if (next == nullptr) {
      if (!create) return nullptr;
      auto made = std::make_shared<Key>();
      made->name = part;
      made->parent = key;
      key->children[Lower(part)] = made;
      next = made.get();
      if (journal) Log("reg create " + PathOf(next));
    }
    key = next;
  }
  return key;
}

std::shared_ptr<Key> Shared(Key* key) {
  if (key->parent == nullptr) {
    for (auto& root : R().roots) {
      if (root.get() == key) return root;
    }
  }
  return key->parent->children[Lower(key->name)];
}

HKEY NewHandle(Key* key) {
  HKEY handle = reinterpret_cast<HKEY>(g_nextKeyHandle);
  g_nextKeyHandle += 4;
  R().handles[handle] = Shared(key);
  return handle;
}

// The argument fault switches match: the key path, with the sub-key when one is given.
std::string Describe(HKEY handle, const char* subKey) {
  LONG ignored = 0;
  Key* key = Resolve(handle, &ignored);
  std::string path = key != nullptr ? PathOf(key) : "?";
  if (subKey != nullptr && *subKey != '\0') path += "\\" + std::string(subKey);
  return path;
}

// The start of every call that works on a key: its fault switch (ERROR_ACCESS_DENIED), then the
// key of its handle. nullptr, with *error set, when the call must fail.
Key* Enter(const char* function, HKEY handle, const std::string& argument, LONG* error) {
  if (Fails(function, argument)) {
    *error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  return Resolve(handle, error);
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    default: return "REG_?";
  }
}

// A value for the journal: texts without their one closing NUL (" no-NUL" when there is none),
// anything else as hex bytes.
std::string ShowValue(DWORD type, const std::string& bytes) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    if (!bytes.empty() && bytes.back() == '\0') return Quote(bytes.substr(0, bytes.size() - 1));
    return Quote(bytes) + " no-NUL";
  }
  std::string hex;
  static const char kDigits[] = "0123456789abcdef";
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return "hex:" + hex;
}

void MarkDeleted(Key* key) {
  key->deleted = true;
  for (auto& child : key->children) MarkDeleted(child.second.get());
}

void DumpKey(const Key* key, std::ostringstream& out) {
  std::string path = PathOf(key);
  out << path << "\n";
  for (const auto& v : key->values) {
    out << path << " " << Quote(v.second.first) << " " << TypeName(v.second.second.type) << " "
        << Quote(v.second.second.bytes) << "\n";
  }
  for (const auto& child : key->children) DumpKey(child.second.get(), out);
}

Key* RootKey(HKEY root) {
  EnsureRoots();
  int index = RootIndex(root);
  return index >= 0 ? R().roots[index].get() : nullptr;
}

}  // namespace

void RegistryReset() {
  Registry& r = R();
  for (auto& root : r.roots) root.reset();
  r.handles.clear();
  r.rule = DeleteRule::kWindows95;
  EnsureRoots();
}

void RegistrySave(const std::string& file) {
  EnsureRoots();
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "rule " << (R().rule == DeleteRule::kWindowsNT ? "NT" : "95") << "\n";
  // Each key, then its values: "key <path>" and "value <path> <name> <type> <bytes>".
  struct Saver {
    static void Run(const Key* key, std::ostream& out) {
      std::string path = PathOf(key);
      out << "key " << Quote(path) << "\n";
      for (const auto& v : key->values) {
        out << "value " << Quote(path) << " " << Quote(v.second.first) << " "
            << v.second.second.type << " " << Quote(v.second.second.bytes) << "\n";
      }
      for (const auto& child : key->children) Run(child.second.get(), out);
    }
  };
  for (const auto& root : R().roots) Saver::Run(root.get(), out);
}

void RegistryLoad(const std::string& file) {
  RegistryReset();
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f = Fields(line);
    if (f.empty()) continue;
    if (f[0] == "rule" && f.size() > 1) {
      R().rule = f[1] == "NT" ? DeleteRule::kWindowsNT : DeleteRule::kWindows95;
      continue;
    }
    if (f.size() < 2) continue;
    std::vector<std::string> parts = SplitPath(f[1]);
    if (parts.empty()) continue;
    Key* root = nullptr;
    for (int i = 0; i < 3; ++i) {
      if (parts[0] == kRootNames[i]) root = R().roots[i].get();
    }
    if (root == nullptr) continue;
    std::string below = f[1].size() > parts[0].size() ? f[1].substr(parts[0].size() + 1) : "";
    Key* key = Walk(root, below, true);
    if (f[0] == "value" && f.size() >= 5) {
      key->values[Lower(f[2])] = {f[2], Value{static_cast<DWORD>(std::stoul(f[3])), f[4]}};
    }
  }
}

}  // namespace internal

using namespace internal;

void SetDeleteRule(DeleteRule rule) { R().rule = rule; }

void SeedKey(HKEY root, const std::string& path) {
  Key* base = RootKey(root);
  if (base != nullptr) Walk(base, path, true);
}

void SeedValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
               const std::string& bytes) {
  Key* base = RootKey(root);
  if (base == nullptr) return;
  Key* key = Walk(base, path, true);
  key->values[Lower(name)] = {name, Value{type, bytes}};
}

bool KeyExists(HKEY root, const std::string& path) {
  Key* base = RootKey(root);
  return base != nullptr && Walk(base, path, false) != nullptr;
}

std::optional<Value> ReadValue(HKEY root, const std::string& path, const std::string& name) {
  Key* base = RootKey(root);
  Key* key = base != nullptr ? Walk(base, path, false) : nullptr;
  if (key == nullptr) return std::nullopt;
  auto it = key->values.find(Lower(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.second;
}

std::string DumpRegistry() {
  EnsureRoots();
  std::ostringstream out;
  for (const auto& root : R().roots) DumpKey(root.get(), out);
  return out.str();
}

}  // namespace standin

using namespace standin::internal;
using standin::DeleteRule;
using standin::Value;

extern "C" {

LONG WINAPI RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  LONG error = ERROR_SUCCESS;
  Key* base = Enter("RegCreateKeyA", hKey, Describe(hKey, lpSubKey), &error);
  if (base == nullptr) return error;
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  if (lpSubKey == nullptr || *lpSubKey == '\0') {
    *phkResult = hKey;  // the same key, the same handle
    return ERROR_SUCCESS;
  }
  if (*lpSubKey == '\\') return kErrorBadPathname;
  *phkResult = NewHandle(Walk(base, lpSubKey, true, true));
  return ERROR_SUCCESS;
}

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                          PHKEY phkResult) {
  if (phkResult != nullptr) *phkResult = nullptr;
  LONG error = ERROR_SUCCESS;
  Key* base = Enter("RegOpenKeyExA", hKey, Describe(hKey, lpSubKey), &error);
  if (base == nullptr) return error;
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  if (lpSubKey != nullptr && *lpSubKey == '\\') return kErrorBadPathname;
  Key* key = Walk(base, lpSubKey != nullptr ? lpSubKey : "", false);
  if (key == nullptr) return ERROR_FILE_NOT_FOUND;
  // A predefined key opened with no sub-key stays its own handle; anything else gets a new one.
  if (key == base && RootIndex(hKey) >= 0) {
    *phkResult = hKey;
  } else {
    *phkResult = NewHandle(key);
  }
  return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
  std::string name = lpValueName != nullptr ? lpValueName : "";
  LONG error = ERROR_SUCCESS;
  Key* key = Enter("RegQueryValueExA", hKey, Describe(hKey, nullptr) + " " + name, &error);
  if (key == nullptr) return error;
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  auto it = key->values.find(Lower(name));
  if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
  const Value& value = it->second.second;
  if (lpType != nullptr) *lpType = value.type;
  DWORD needed = static_cast<DWORD>(value.bytes.size());
  if (lpData == nullptr) {
    if (lpcbData != nullptr) *lpcbData = needed;
    return ERROR_SUCCESS;
  }
  if (*lpcbData < needed) {
    // The buffer's content is undefined then; nothing of the value is copied.
    *lpcbData = needed;
    return ERROR_MORE_DATA;
  }
  for (DWORD i = 0; i < needed; ++i) lpData[i] = static_cast<BYTE>(value.bytes[i]);
  *lpcbData = needed;
  return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                           const BYTE* lpData, DWORD cbData) {
  std::string name = lpValueName != nullptr ? lpValueName : "";
  LONG error = ERROR_SUCCESS;
  Key* key = Enter("RegSetValueExA", hKey, Describe(hKey, nullptr) + " " + name, &error);
  if (key == nullptr) return error;
  if (lpData == nullptr && cbData > 0) return ERROR_INVALID_PARAMETER;
  std::string bytes(reinterpret_cast<const char*>(lpData), lpData != nullptr ? cbData : 0);
  key->values[Lower(name)] = {name, Value{dwType, bytes}};
  Log("reg set " + PathOf(key) + " " + (name.empty() ? "@" : name) + " " + TypeName(dwType) + " " +
      ShowValue(dwType, bytes));
  return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  LONG error = ERROR_SUCCESS;
  Key* base = Enter("RegDeleteKeyA", hKey, Describe(hKey, lpSubKey), &error);
  if (base == nullptr) return error;
  if (lpSubKey != nullptr && *lpSubKey == '\\') return kErrorBadPathname;
  Key* key = Walk(base, lpSubKey != nullptr ? lpSubKey : "", false);
  if (key == nullptr) return ERROR_FILE_NOT_FOUND;
  if (key->parent == nullptr) return ERROR_ACCESS_DENIED;  // a predefined key stays
  if (!key->children.empty() && R().rule == DeleteRule::kWindowsNT) return ERROR_ACCESS_DENIED;
  std::string path = PathOf(key);
  size_t subKeys = key->children.size();
  MarkDeleted(key);
  key->parent->children.erase(Lower(key->name));  // handles still hold the node, marked deleted
  Log("reg delete " + path + (subKeys > 0 ? " (with its sub-keys)" : ""));
  return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
  if (Fails("RegCloseKey", Describe(hKey, nullptr))) return ERROR_INVALID_HANDLE;
  if (RootIndex(hKey) >= 0) return ERROR_SUCCESS;
  auto it = R().handles.find(hKey);
  if (it == R().handles.end()) return ERROR_INVALID_HANDLE;
  R().handles.erase(it);
  return ERROR_SUCCESS;
}

}  // extern "C"
