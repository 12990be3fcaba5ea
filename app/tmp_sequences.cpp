#include "app/sequences.h"
#include "win32/api.h"
void UninstallSequence() {}
