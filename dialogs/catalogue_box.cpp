// Message boxes of the dialogs, with their texts taken from the catalogue at the moment of use.
#include "dialogs/catalogue_box.h"

#include "text/message_catalogue.h"

int ShowCatalogueBox(HWND owner, char* message, char* caption, UINT type) {
  const char* shownCaption = ShowText(caption);
  const char* shownMessage = ShowText(message);
  return MessageBoxA(owner, shownMessage, shownCaption, type);
}

void ShowUnusableEntryBox() {
  ShowCatalogueBox(0, g_catalogue.unusableEntry, g_catalogue.unusableEntryCaption, MB_ICONHAND);
}
