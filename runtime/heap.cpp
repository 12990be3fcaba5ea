// Heap blocks over the process heap, and the list of functions run at a normal exit.
#include "runtime/rt.h"
#include "win32/api.h"

namespace rt {

void* Alloc(usize bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

void Free(void* block) {
  if (block != 0) HeapFree(GetProcessHeap(), 0, block);
}

bool ExitList::Add(void (*fn)()) {
  if (count_ >= kCapacity) return false;
  fns_[count_++] = fn;
  return true;
}

void ExitList::RunAll() {
  // A function may register another while the list runs; it then runs next.
  while (count_ > 0) {
    void (*fn)() = fns_[--count_];
    fn();
  }
}

}  // namespace rt
