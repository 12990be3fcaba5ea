// The process heap: blocks from the host's allocator, tracked so that a new machine releases
// what an earlier in-process run (ended through ExitProcess) still held, and so that freeing a
// block that is not live is caught instead of corrupting the host heap.
#include <cstdlib>
#include <cstring>
#include <set>

#include "standin/machine.h"

namespace {

HANDLE const kProcessHeap = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x150000));

std::set<void*>& Live() {
  static std::set<void*>* live = new std::set<void*>;
  return *live;
}

}  // namespace

namespace standin {
namespace internal {

void HeapReset() {
  for (void* block : Live()) std::free(block);
  Live().clear();
}

}  // namespace internal
}  // namespace standin

using namespace standin::internal;

extern "C" {

HANDLE WINAPI GetProcessHeap(void) { return kProcessHeap; }

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
  if (Fails("HeapAlloc")) return nullptr;
  if (hHeap != kProcessHeap) return nullptr;
  void* block = std::malloc(dwBytes > 0 ? dwBytes : 1);
  if (block == nullptr) return nullptr;
  if (dwFlags & HEAP_ZERO_MEMORY) std::memset(block, 0, dwBytes);
  Live().insert(block);
  return block;
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem) {
  if (Fails("HeapFree")) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (lpMem == nullptr) return TRUE;
  auto it = Live().find(lpMem);
  if (hHeap != kProcessHeap || it == Live().end()) {
    Log("heap: free of a block that is not live");
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Live().erase(it);
  std::free(lpMem);
  return TRUE;
}

}  // extern "C"
