// The main job on the stand-in: a typical install with the default answers, then the uninstall,
// run as real processes of the native program on a prepared machine; prints what each one did.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "standin/control.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "MZ"; }

std::string Visible(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char buf[8];
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 32 || c > 126) { std::snprintf(buf, sizeof buf, "\\x%02X", c); out += buf; }
    else out += static_cast<char>(c);
  }
  return out;
}

// What the machine recorded before the current run: only the records after these are printed.
size_t g_boxes = 0, g_dialogs = 0, g_starts = 0;

void PrintRun(const char* title, int code) {
  std::printf("\n== %s\n", title);
  std::vector<standin::Box> boxes = standin::Boxes();
  for (size_t i = g_boxes; i < boxes.size(); ++i)
    std::printf("box: [%s] %s -> %d\n", boxes[i].caption.c_str(), Visible(boxes[i].text).c_str(),
                boxes[i].answer);
  std::vector<standin::Dialog> dialogs = standin::Dialogs();
  for (size_t i = g_dialogs; i < dialogs.size(); ++i)
    std::printf("dialog %d: [%s]\n", dialogs[i].templateId, dialogs[i].caption.c_str());
  std::vector<standin::ProcessStart> starts = standin::Starts();
  for (size_t i = g_starts; i < starts.size(); ++i)
    std::printf("second stage: %s\n  command line: \"%s\"\n", starts[i].application.c_str(),
                starts[i].commandLine.c_str());
  g_boxes = boxes.size();
  g_dialogs = dialogs.size();
  g_starts = starts.size();
  std::printf("exit code: %d (%s)\n", code, standin::ExitRecord().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <native setup program> <work folder>\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  const std::string work = argv[2];
  mkdir(work.c_str(), 0755);

  standin::Reset();
  standin::MapDrive('C', work + "/c");
  standin::MapDrive('D', work + "/d");
  mkdir((work + "/c/WINDOWS").c_str(), 0755);
  mkdir((work + "/d/DISK1").c_str(), 0755);
  Touch(work + "/d/DISK1/SETUPX.EXE");
  standin::SetCommandLine("\"D:\\DISK1\\SETUP.EXE\"");
  // Agree, accept C:\HARVEL95, accept the default group: Enter each time.
  standin::ScriptOperator({"enter", "enter", "enter"});
  int code = standin::RunProgram(program);
  PrintRun("install: D:\\DISK1\\SETUP.EXE, default answers", code);
  std::printf("registry:\n%s", standin::DumpRegistry().c_str());
  std::printf("C:\\HARVEL95\\GRPNAM.DAT: \"%s\"\n",
              Visible(ReadFile(standin::HostPath("C:\\HARVEL95\\GRPNAM.DAT"))).c_str());
  std::string table = ReadFile(standin::HostPath("C:\\HARVEL95\\OEM2ANSI.INI"));
  std::printf("C:\\HARVEL95\\OEM2ANSI.INI: %zu bytes; 128..255:", table.size());
  for (size_t i = 128; i < table.size(); ++i)
    std::printf("%s%02X", (i % 32 == 0) ? "\n  " : " ", static_cast<unsigned char>(table[i]));
  std::printf("\n");

  // The second stage would copy the program in as the uninstaller and leave the two leftovers.
  Touch(work + "/c/HARVEL95/UNINSTX.EXE");
  Touch(work + "/c/WINDOWS/LFNBK.EXE");
  Touch(work + "/c/SAILE.INI");
  standin::SetCommandLine("C:\\HARVEL95\\UNINSTAL.EXE");
  standin::ScriptOperator({"answer IDYES"});
  code = standin::RunProgram(program);
  PrintRun("uninstall: C:\\HARVEL95\\UNINSTAL.EXE, answered Yes", code);
  std::printf("registry after:\n%s", standin::DumpRegistry().c_str());
  std::printf("C:\\HARVEL95\\GRPNAM.DAT: \"%s\"\n",
              Visible(ReadFile(standin::HostPath("C:\\HARVEL95\\GRPNAM.DAT"))).c_str());
  for (const char* f : {"C:\\WINDOWS\\LFNBK.EXE", "C:\\SAILE.INI"}) {
    struct stat st;
    std::printf("%s: %s\n", f, stat(standin::HostPath(f).c_str(), &st) == 0 ? "still there" : "deleted");
  }
  return 0;
}
