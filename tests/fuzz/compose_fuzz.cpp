// rt::ComposeN with any format, any arguments and any buffer size: it never writes past the buffer,
// and its result is either false with an empty buffer or true with exactly the composed text.
//
// Input: two bytes of buffer size, one byte of argument count, one byte of null-argument bits, then
// the format and the arguments separated by NUL bytes (missing ones are empty texts).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/rt.h"

namespace {

// The composition as the format rules describe it: %s the next argument (a null one empty), %% a
// percent sign, every other byte as it stands. False when an argument is missing.
bool Expected(const std::string& format, const std::vector<const char*>& args, std::string* out) {
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
      if (format[i + 1] == '%') {
        *out += '%';
      } else {
        if (next >= args.size()) return false;
        const char* arg = args[next++];
        if (arg != nullptr) *out += arg;
      }
      ++i;
    } else {
      *out += format[i];
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const size_t bufferSize = (data[0] | (data[1] << 8)) % 1100;
  const int count = data[2] % 8;
  const uint8_t nullBits = data[3];

  std::vector<std::string> pieces(1);
  for (size_t i = 4; i < size; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  const std::string& format = pieces[0];
  std::vector<std::string> argTexts(count);
  std::vector<const char*> args(count);
  for (int i = 0; i < count; ++i) {
    if (static_cast<size_t>(i + 1) < pieces.size()) argTexts[i] = pieces[i + 1];
    args[i] = (nullBits >> i) & 1 ? nullptr : argTexts[i].c_str();
  }

  // Exactly bufferSize bytes on the heap, so that AddressSanitizer sees a write one byte past it.
  char* out = new char[bufferSize];
  std::memset(out, 'Z', bufferSize);
  const bool ok = rt::ComposeN(out, bufferSize, format.c_str(), args.data(), count);

  std::string expected;
  const bool fits = Expected(format, args, &expected) && expected.size() < bufferSize;
  if (ok != fits) abort();
  if (ok && std::string(out) != expected) abort();
  if (!ok && bufferSize > 0 && out[0] != '\0') abort();
  delete[] out;
  return 0;
}
