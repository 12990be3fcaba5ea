// ANSI 1252 <-> OEM 437 for OemToCharA and CharToOemBuffA, built from the C library's iconv.
#include <iconv.h>
#include <locale.h>

#include <string>

#include "standin/machine.h"

namespace {

// One byte through iconv from one code page to another; false when it has no one-byte result.
bool Iconv(const char* to, const char* from, unsigned char in, unsigned char* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char source[1] = {static_cast<char>(in)};
  char target[8];
  char* src = source;
  char* dst = target;
  size_t srcLeft = 1, dstLeft = sizeof target;
  size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  size_t produced = sizeof target - dstLeft;
  if (result == static_cast<size_t>(-1) || srcLeft != 0 || produced != 1) return false;
  *out = static_cast<unsigned char>(target[0]);
  return true;
}

bool CodePoint(const char* from, unsigned char in, unsigned* codePoint) {
  iconv_t cd = iconv_open("UTF-32LE", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char source[1] = {static_cast<char>(in)};
  unsigned char target[4];
  char* src = source;
  char* dst = reinterpret_cast<char*>(target);
  size_t srcLeft = 1, dstLeft = sizeof target;
  size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || dstLeft != 0) return false;
  *codePoint = target[0] | (target[1] << 8) | (target[2] << 16) | (unsigned(target[3]) << 24);
  return true;
}

// The whole mapping rule, for both directions, in one place:
// 1. the exact mapping of the two code pages, when iconv knows one;
// 2. towards OEM 437, a character that code page 437 draws only in its control range is mapped
//    there, as the platform's best fit does (bullet 0x07, pilcrow 0x14, section sign 0x15);
// 3. a transliteration that iconv makes into a single byte (accented letters to their base
//    letter, multiplication sign to x);
// 4. else '?', as for undefined bytes and characters with no one-byte likeness.
unsigned char MapByte(bool toOem, unsigned char byte) {
  const char* from = toOem ? "CP1252" : "CP437";
  const char* to = toOem ? "CP437" : "CP1252";
  unsigned char out = 0;
  if (Iconv(to, from, byte, &out)) return out;
  unsigned codePoint = 0;
  if (toOem && CodePoint(from, byte, &codePoint)) {
    if (codePoint == 0x2022) return 0x07;
    if (codePoint == 0x00B6) return 0x14;
    if (codePoint == 0x00A7) return 0x15;
  }
  std::string translit = std::string(to) + "//TRANSLIT";
  if (Iconv(translit.c_str(), from, byte, &out) && out != '?') return out;
  return '?';
}

struct Tables {
  unsigned char toOem[256];
  unsigned char toAnsi[256];
  Tables() {
    // iconv's transliteration follows the character-type locale; the tables must not depend on
    // the host's, so they are built under C.UTF-8 for this thread alone.
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    locale_t previous = utf8 != static_cast<locale_t>(0) ? uselocale(utf8) : static_cast<locale_t>(0);
    for (int i = 0; i < 256; ++i) {
      toOem[i] = MapByte(true, static_cast<unsigned char>(i));
      toAnsi[i] = MapByte(false, static_cast<unsigned char>(i));
    }
    if (utf8 != static_cast<locale_t>(0)) {
      uselocale(previous);
      freelocale(utf8);
    }
  }
};

const Tables& T() {
  static Tables* tables = new Tables;
  return *tables;
}

}  // namespace

using namespace standin::internal;

extern "C" {

BOOL WINAPI OemToCharA(LPCSTR pSrc, LPSTR pDst) {
  if (Fails("OemToCharA")) return FALSE;
  if (pSrc == nullptr || pDst == nullptr) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Byte by byte, so that the source and the destination may be the same buffer.
  size_t i = 0;
  for (; pSrc[i] != '\0'; ++i) pDst[i] = static_cast<char>(T().toAnsi[static_cast<unsigned char>(pSrc[i])]);
  pDst[i] = '\0';
  return TRUE;
}

BOOL WINAPI CharToOemBuffA(LPCSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength) {
  if (Fails("CharToOemBuffA")) return FALSE;
  if (lpszSrc == nullptr || lpszDst == nullptr) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (DWORD i = 0; i < cchDstLength; ++i) {
    lpszDst[i] = static_cast<char>(T().toOem[static_cast<unsigned char>(lpszSrc[i])]);
  }
  return TRUE;
}

}  // extern "C"
