// Process entry and exit of the native program over the stand-in: the host runs the static
// constructors before main and, at exit(), the atexit registrations and static destructors in reverse.
#include <stdlib.h>

#include "runtime/rt.h"
#include "runtime/start.h"
#include "win32/api.h"

namespace rt {

void NormalExit(int code) { exit(code); }

}  // namespace rt

int main() {
  int code = WinMain(GetModuleHandleA(0), 0, GetCommandLineA(), SW_SHOWDEFAULT);
  rt::NormalExit(code);
}
