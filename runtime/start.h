// The program's entry as the run-time calls it once static construction is done.
#ifndef RUNTIME_START_H
#define RUNTIME_START_H

#include "win32/api.h"

// Provided by the class library; its result is the exit code of a normal exit.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                              int nShowCmd);

#endif  // RUNTIME_START_H
