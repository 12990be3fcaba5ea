// ReadCommandLine on any command line: the setup directory stays inside its field, is exactly the
// text up to the last backslash or colon (or empty when that would not leave room for a file name),
// and UNINST anywhere selects uninstall.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/command_line.h"
#include "app/setup_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // GetCommandLineA gives a NUL-terminated text: the input up to its first NUL.
  const std::string commandLine(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));

  char* field = new char[kTextField];  // exactly the field's size
  std::memset(field, 'Z', kTextField);
  LaunchContext context = ReadCommandLine(commandLine.c_str(), field);

  const std::string copy = !commandLine.empty() && commandLine[0] == '"' ? commandLine.substr(1) : commandLine;
  const bool uninstall = copy.find("UNINST") != std::string::npos;
  if ((context.mode == kUninstallMode) != uninstall) abort();

  if (std::memchr(field, '\0', kTextField) == nullptr) abort();
  const size_t last = copy.find_last_of("\\:");
  const size_t cut = last == std::string::npos ? 0 : last + 1;
  const bool usable = cut <= kMaxSetupDirectory;
  if (context.usable != usable) abort();
  if (std::string(field) != (usable ? copy.substr(0, cut) : std::string())) abort();
  delete[] field;
  return 0;
}
