// Message boxes of the dialogs, with their texts taken from the catalogue at the moment of use.
#ifndef DIALOGS_CATALOGUE_BOX_H
#define DIALOGS_CATALOGUE_BOX_H

#include "win32/api.h"

// Converts caption and message for display (caption first), then shows the box; returns the answer.
// owner is 0 for every box except the name-rule box, which the prompt dialog owns.
int ShowCatalogueBox(HWND owner, char* message, char* caption, UINT type);

// "Cannot accept that entry" / "Invalid Directory Name", no owner, stop icon.
void ShowUnusableEntryBox();

#endif  // DIALOGS_CATALOGUE_BOX_H
