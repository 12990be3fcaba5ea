#include "app/sequences.h"
#include "win32/api.h"
void InstallSequence() { MessageBoxA(0, "install", "t", MB_OK); }
void UninstallSequence() {}
