// Process entry and exit on Windows: static constructors, WinMain, atexit and the normal exit.
// Only what a program linked without any C run-time needs to start and end goes here.
#include "runtime/rt.h"
#include "runtime/start.h"
#include "win32/api.h"

namespace {

// Static destructors and atexit registrations, run last first at a normal exit.
rt::ExitList g_exitList;

typedef void (*CtorFn)();

}  // namespace

// The linker's constructor list: a marker first, then the constructors up to a null entry.
extern "C" CtorFn __CTOR_LIST__[];

extern "C" int atexit(void (*fn)()) { return g_exitList.Add(fn) ? 0 : -1; }

// GCC registers static destructors of programs without a C run-time through atexit; some
// configurations use the DSO-aware form.
extern "C" int __cxa_atexit(void (*fn)(void*), void* arg, void* dso) {
  (void)arg;
  (void)dso;
  return atexit(reinterpret_cast<void (*)()>(fn));
}

// GCC inserts a call of __main into main(); the program has no main, but keep the symbol harmless.
extern "C" void __main() {}

namespace rt {

void NormalExit(int code) {
  g_exitList.RunAll();
  ExitProcess(static_cast<UINT>(code));
  for (;;) {
  }
}

}  // namespace rt

namespace {

void RunConstructors() {
  // The constructors run last entry first, as GCC's own start-up does for this list.
  int count = 0;
  while (__CTOR_LIST__[count + 1] != 0) ++count;
  for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

}  // namespace

extern "C" void WinMainCRTStartup() {
  RunConstructors();
  int code = WinMain(GetModuleHandleA(0), 0, GetCommandLineA(), SW_SHOWDEFAULT);
  rt::NormalExit(code);
}
