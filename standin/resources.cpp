// FindResourceA / LoadResource / LockResource / SizeofResource over the running module's resources:
// the .res image linked into the program (standin_module_resources), or one a test set.
#include <cctype>
#include <cstdlib>
#include <memory>

#include "standin/control.h"
#include "standin/desktop.h"
#include "standin/machine.h"
#include "standin/res_reader.h"

extern "C" const unsigned char standin_module_resources[];
extern "C" const unsigned long standin_module_resources_size;

namespace standin {
namespace internal {
namespace {

const DWORD kErrorResourceDataNotFound = 1812;
const DWORD kErrorResourceTypeNotFound = 1813;
const DWORD kErrorResourceNameNotFound = 1814;
const DWORD kErrorInvalidHandle = 6;

struct Module {
  bool loaded = false;
  std::vector<ResEntry> entries;
};

Module& Mod() {
  static Module module;
  return module;
}

// The module's entries, parsed from the linked image on first use. A malformed linked image is a
// build fault: it is journalled once and the module then has no resources.
std::vector<ResEntry>& Entries() {
  Module& m = Mod();
  if (!m.loaded) {
    m.loaded = true;
    if (standin_module_resources_size != 0) {
      std::string error;
      if (!ParseResFile(standin_module_resources, standin_module_resources_size, &m.entries, &error))
        Log("resources: the linked resource image is malformed: " + error);
    }
  }
  return m.entries;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// An integer ID (MAKEINTRESOURCEA or "#123") or a name, matched as the loader does: names without
// regard to case.
bool Matches(const ResId& id, LPCSTR wanted) {
  if (IS_INTRESOURCE(wanted))
    return id.kind == ResId::kOrdinal && id.ordinal == static_cast<WORD>(reinterpret_cast<ULONG_PTR>(wanted));
  std::string text = wanted;
  if (text.size() > 1 && text[0] == '#') {
    char* end = nullptr;
    unsigned long n = std::strtoul(text.c_str() + 1, &end, 10);
    if (*end == '\0' && n <= 0xFFFF) return id.kind == ResId::kOrdinal && id.ordinal == n;
  }
  return id.kind == ResId::kName && Upper(id.name) == Upper(text);
}

std::string Describe(LPCSTR id) {
  if (id == nullptr) return "0";
  if (IS_INTRESOURCE(id)) return std::to_string(reinterpret_cast<ULONG_PTR>(id));
  return id;
}

// An HRSRC is one more than the entry's index, so that it is never null.
ResEntry* EntryOf(HRSRC info) {
  std::vector<ResEntry>& entries = Entries();
  ULONG_PTR index = reinterpret_cast<ULONG_PTR>(info);
  if (index == 0 || index > entries.size()) return nullptr;
  return &entries[index - 1];
}

}  // namespace

int DialogTemplateIdAt(const void* bytes) {
  for (const ResEntry& entry : Entries()) {
    if (entry.type.kind == ResId::kOrdinal && entry.type.ordinal == 5 && !entry.data.empty() &&
        entry.data.data() == bytes)
      return entry.name.kind == ResId::kOrdinal ? entry.name.ordinal : 0;
  }
  return 0;
}

size_t ModuleResourceSize(const void* bytes) {
  for (const ResEntry& entry : Entries())
    if (!entry.data.empty() && entry.data.data() == bytes) return entry.data.size();
  return 0;
}

void ResourcesReset() { Mod() = Module(); }

}  // namespace internal

bool SetModuleResources(const std::vector<unsigned char>& resFile) {
  std::vector<ResEntry> entries;
  std::string error;
  if (!ParseResFile(resFile, &entries, &error)) return false;
  internal::Module& m = internal::Mod();
  m.loaded = true;
  m.entries = std::move(entries);
  return true;
}

}  // namespace standin

using namespace standin::internal;

extern "C" {

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  if (Fails("FindResourceA", Describe(lpName))) {
    SetLastErrorCode(kErrorResourceNameNotFound);
    return 0;
  }
  if (lpName == nullptr || lpType == nullptr) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<standin::ResEntry>& entries = Entries();
  bool typeSeen = false;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!Matches(entries[i].type, lpType)) continue;
    typeSeen = true;
    if (Matches(entries[i].name, lpName)) return reinterpret_cast<HRSRC>(static_cast<ULONG_PTR>(i + 1));
  }
  SetLastErrorCode(typeSeen ? kErrorResourceNameNotFound : kErrorResourceTypeNotFound);
  return 0;
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  if (Fails("LoadResource")) {
    SetLastErrorCode(kErrorResourceDataNotFound);
    return 0;
  }
  standin::ResEntry* entry = EntryOf(hResInfo);
  if (entry == nullptr) {
    SetLastErrorCode(kErrorInvalidHandle);
    return 0;
  }
  // An empty resource still loads; its handle is the entry itself then, never null.
  if (entry->data.empty()) return entry;
  return entry->data.data();
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
  if (Fails("LockResource")) return 0;
  return hResData;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  if (Fails("SizeofResource")) return 0;
  standin::ResEntry* entry = EntryOf(hResInfo);
  if (entry == nullptr) {
    SetLastErrorCode(kErrorInvalidHandle);
    return 0;
  }
  return static_cast<DWORD>(entry->data.size());
}

}  // extern "C"
