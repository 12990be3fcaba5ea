// The destination rules: a drive and a backslash, the 8.3 rule on the last element, and a directory
// that exists afterwards (created when new, confirmed by the user when it was there already).
#include "dialogs/validate_destination.h"

#include "dialogs/catalogue_box.h"
#include "runtime/rt.h"
#include "text/message_catalogue.h"

namespace {

// The entry names a drive and a directory: a colon and a backslash, each anywhere in it.
bool HasFullPathForm(const char* entry) { return rt::Contains(entry, ":") && rt::Contains(entry, "\\"); }

// The 8.3 rule on the text after the last backslash, counted in bytes: at most 8 bytes before the
// first dot, and from that dot on (dot included) 2 to 4 bytes. No byte is forbidden.
bool LastElementIsShortName(const char* entry) {
  const char* element = entry;
  for (const char* p = entry; *p != '\0'; ++p) {
    if (*p == '\\') element = p + 1;
  }
  rt::usize name = 0;
  while (element[name] != '\0' && element[name] != '.') ++name;
  if (element[name] == '.') {
    rt::usize extension = rt::Length(element + name);
    if (extension < 2 || extension > 4) return false;
  }
  return name <= 8;
}

// The working directory at the start of a validation. On Windows it always fits MAX_PATH; when it
// does not (or cannot be read), known is false and the validation never enters another directory,
// since it could not come back.
struct WorkingDirectory {
  char path[MAX_PATH];
  bool known;
};

void Remember(WorkingDirectory& wd) {
  DWORD length = GetCurrentDirectoryA(sizeof wd.path, wd.path);
  wd.known = length != 0 && length < sizeof wd.path;
  if (!wd.known) wd.path[0] = '\0';
}

// True when entry is an existing directory that the process can use. With the working directory
// remembered this enters it (and the caller restores it); otherwise only its attributes are read.
bool EnterExistingDirectory(const char* entry, const WorkingDirectory& wd) {
  if (wd.known) return SetCurrentDirectoryA(entry) != 0;
  DWORD attributes = GetFileAttributesA(entry);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ValidateDestination(const char* entry, HWND dialog) {
  WorkingDirectory wd;
  Remember(wd);

  if (!HasFullPathForm(entry)) {
    ShowCatalogueBox(0, g_catalogue.incompletePath, g_catalogue.incompletePathCaption, MB_ICONHAND);
    return false;
  }
  if (!LastElementIsShortName(entry)) {
    ShowCatalogueBox(dialog, g_catalogue.nameTooLong, g_catalogue.nameTooLongCaption, MB_ICONHAND);
    return false;
  }

  // Only the last level is created; the entry is used as typed, letter case included.
  if (CreateDirectoryA(entry, 0)) return true;

  if (!EnterExistingDirectory(entry, wd)) {
    ShowUnusableEntryBox();
    return false;
  }
  int answer = ShowCatalogueBox(0, g_catalogue.existingDirectory,
                                g_catalogue.existingDirectoryCaption, MB_YESNO | MB_ICONQUESTION);
  // Back to where the validation started, whatever the answer; a failure here is ignored.
  if (wd.known) SetCurrentDirectoryA(wd.path);
  return answer == IDYES;
}
