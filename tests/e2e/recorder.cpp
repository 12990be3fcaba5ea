// The recording second stage, built twice as SETUPX.EXE and UNINSTX.EXE: it writes down how it was
// started and which hand-off files it finds, appends that to the record file named by the
// environment variable E2E_RECORD, and exits 0.
//
// Record lines:
//   program <module file name>
//   cmdline <GetCommandLineA, as it stands>
//   cwd <working directory>
//   errormode <hex>
//   file <path> <bytes in hex> | file <path> missing
//   end
// GRPNAM.DAT and OEM2ANSI.INI are looked for beside the program (the uninstall hand-off) and in the
// folder named by the first word after the program path (the install directory of the install
// hand-off).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ReadAll(const std::string& path, bool* found) {
  std::string bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  *found = f != nullptr;
  if (!f) return bytes;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

void RecordFile(FILE* out, const std::string& path) {
  bool found = false;
  std::string bytes = ReadAll(path, &found);
  std::fprintf(out, "file %s", path.c_str());
  if (!found) {
    std::fprintf(out, " missing\n");
    return;
  }
  std::fputc(' ', out);
  for (unsigned char c : bytes) std::fprintf(out, "%02X", c);
  std::fputc('\n', out);
}

}  // namespace

int main() {
  char record[MAX_PATH] = {0};
  if (!GetEnvironmentVariableA("E2E_RECORD", record, sizeof record)) return 0;
  FILE* out = std::fopen(record, "ab");
  if (!out) return 0;

  char module[MAX_PATH] = {0}, cwd[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, module, sizeof module);
  GetCurrentDirectoryA(sizeof cwd, cwd);
  UINT mode = SetErrorMode(0);
  SetErrorMode(mode);
  const char* line = GetCommandLineA();
  std::fprintf(out, "program %s\ncmdline %s\ncwd %s\nerrormode %X\n", module, line, cwd, mode);

  std::string own = module;
  own = own.substr(0, own.find_last_of('\\') + 1);
  // The first word after the program path (which may be quoted).
  std::string rest = line;
  size_t end = rest[0] == '"' ? rest.find('"', 1) : rest.find(' ');
  rest = end == std::string::npos ? "" : rest.substr(end + 1);
  while (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  std::string first = rest.substr(0, rest.find(' '));

  for (const char* name : {"GRPNAM.DAT", "OEM2ANSI.INI"}) {
    RecordFile(out, own + name);
    if (!first.empty()) {
      std::string dir = first;
      if (dir.back() != '\\') dir += '\\';
      if (dir != own) RecordFile(out, dir + name);
    }
  }
  std::fputs("end\n", out);  // the record is complete
  std::fclose(out);
  return 0;
}
