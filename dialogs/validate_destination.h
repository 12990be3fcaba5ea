// The rules a destination entry must satisfy: form, 8.3 name, existence (creating it when new).
#ifndef DIALOGS_VALIDATE_DESTINATION_H
#define DIALOGS_VALIDATE_DESTINATION_H

#include "win32/api.h"

// True when entry is accepted (the directory then exists). On rejection the user has been told why,
// except after answering No to the existing-directory question. dialog owns the name-rule box.
bool ValidateDestination(const char* entry, HWND dialog);

#endif  // DIALOGS_VALIDATE_DESTINATION_H
