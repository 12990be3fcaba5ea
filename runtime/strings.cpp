// Memory and bounded text helpers: OS-independent, no library calls.
#include "runtime/rt.h"

namespace rt {

void MemCopy(void* dst, const void* src, usize n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  for (usize i = 0; i < n; ++i) d[i] = s[i];
}

void MemFill(void* dst, int value, usize n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  for (usize i = 0; i < n; ++i) d[i] = static_cast<unsigned char>(value);
}

usize Length(const char* s) {
  usize n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

usize LengthBounded(const char* s, usize max) {
  usize n = 0;
  while (n < max && s[n] != '\0') ++n;
  return n;
}

bool CopyBounded(char* dst, usize dstSize, const char* src, usize srcLen) {
  if (dstSize == 0) return false;
  usize n = LengthBounded(src, srcLen);
  if (n >= dstSize) {
    dst[0] = '\0';
    return false;
  }
  MemCopy(dst, src, n);
  dst[n] = '\0';
  return true;
}

bool Copy(char* dst, usize dstSize, const char* src) {
  return CopyBounded(dst, dstSize, src, static_cast<usize>(-1));
}

bool Equal(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

bool Contains(const char* hay, const char* needle) {
  if (*needle == '\0') return true;
  for (; *hay != '\0'; ++hay) {
    const char* h = hay;
    const char* n = needle;
    while (*n != '\0' && *h == *n) {
      ++h;
      ++n;
    }
    if (*n == '\0') return true;
  }
  return false;
}

}  // namespace rt
