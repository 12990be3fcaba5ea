// The few C and C++ run-time symbols the compiler itself may call on Windows builds without a C run-time.
#include "runtime/rt.h"

extern "C" void* memcpy(void* dst, const void* src, rt::usize n) {
  rt::MemCopy(dst, src, n);
  return dst;
}

extern "C" void* memmove(void* dst, const void* src, rt::usize n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  if (d < s) {
    for (rt::usize i = 0; i < n; ++i) d[i] = s[i];
  } else {
    for (rt::usize i = n; i > 0; --i) d[i - 1] = s[i - 1];
  }
  return dst;
}

extern "C" void* memset(void* dst, int value, rt::usize n) {
  rt::MemFill(dst, value, n);
  return dst;
}

extern "C" int memcmp(const void* a, const void* b, rt::usize n) {
  const unsigned char* x = static_cast<const unsigned char*>(a);
  const unsigned char* y = static_cast<const unsigned char*>(b);
  for (rt::usize i = 0; i < n; ++i) {
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
  }
  return 0;
}

// A pure virtual function called through a half-built object: nothing sensible is left to do.
extern "C" void __cxa_pure_virtual() { rt::NormalExit(255); }

void* operator new(rt::usize n) { return rt::Alloc(n); }
void* operator new[](rt::usize n) { return rt::Alloc(n); }
void operator delete(void* p) noexcept { rt::Free(p); }
void operator delete[](void* p) noexcept { rt::Free(p); }
void operator delete(void* p, rt::usize) noexcept { rt::Free(p); }
void operator delete[](void* p, rt::usize) noexcept { rt::Free(p); }
