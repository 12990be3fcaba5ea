// JoinCommandLine on any program path and arguments: nothing is written past the command-line
// buffer, and the result is false with an empty buffer or true with exactly the joined text.
//
// Input: the program path and up to seven arguments, separated by NUL bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "handoff/launch_stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < size && pieces.size() <= 8; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  if (pieces.size() > 8) pieces.pop_back();
  const std::string& program = pieces[0];
  std::vector<const char*> args;
  std::string joined;
  for (size_t i = 1; i < pieces.size(); ++i) {
    args.push_back(pieces[i].c_str());
    if (i > 1) joined += ' ';
    joined += pieces[i];
  }
  const std::string expected = joined.empty() ? program : program + " " + joined;

  char* out = new char[kCommandLineSize];  // exactly the buffer the caller provides
  std::memset(out, 'Z', kCommandLineSize);
  const bool ok = JoinCommandLine(out, program.c_str(), args.data(), static_cast<int>(args.size()));
  const bool fits = expected.size() < kCommandLineSize;
  if (ok != fits) abort();
  if (std::string(out) != (ok ? expected : std::string())) abort();
  delete[] out;
  return 0;
}
