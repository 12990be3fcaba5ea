// mbox.exe: the smallest program of ours that opens one message box, built the way SETUP.EXE is (no
// C run-time, the four system DLLs). The footprint script times its first window against SETUP.EXE's.
#include <windows.h>

extern "C" void WinMainCRTStartup() {
  MessageBoxA(nullptr, "Ready.", "Minimal", MB_OK);
  ExitProcess(0);
}
