// The stand-in machine's own contract: fault switches, the whole machine saved and loaded, process
// starts, the heap, the process end, and the code pages.
#include <cstring>
#include <string>
#include <vector>

#include "standin/control.h"
#include "standin/machine.h"
#include "tests/unit/standin_test_machine.h"

namespace {

class StandinMachine : public standin_test::Machine {
 protected:
  void SetUp() override {
    standin_test::Machine::SetUp();
    std::filesystem::create_directories(C("HARVEL95"));
  }
};

struct FaultCase {
  const char* name;
  int nth;
  const char* match;
  std::vector<const char*> paths;  // each called once, in order
  const char* failures;            // 'F' where that call fails, '.' where it works
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultSwitch : public StandinMachine, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultSwitch, FailsTheCallsItNames) {
  const FaultCase& c = GetParam();
  standin::ArmFault("GetFileAttributesA", c.nth, c.match);
  std::string seen;
  for (const char* path : c.paths) {
    DWORD attributes = GetFileAttributesA(path);
    seen += attributes == INVALID_FILE_ATTRIBUTES ? 'F' : '.';
  }
  EXPECT_EQ(seen, c.failures);
  EXPECT_EQ(standin::CallCount("GetFileAttributesA"), static_cast<int>(c.paths.size()));
  EXPECT_EQ(standin::CallCount("CreateFileA"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FaultSwitch,
    ::testing::Values(
        FaultCase{"Next", 1, "", {"C:\\", "C:\\", "C:\\"}, "F.."},
        FaultCase{"Second", 2, "", {"C:\\", "C:\\", "C:\\"}, ".F."},
        FaultCase{"Every", 0, "", {"C:\\", "C:\\", "C:\\"}, "FFF"},
        FaultCase{"MatchNext", 1, "harvel", {"C:\\", "C:\\HARVEL95", "C:\\HARVEL95"}, ".F."},
        // Only matching calls are counted towards the nth.
        FaultCase{"MatchSecond", 2, "HARVEL", {"C:\\harvel95", "C:\\", "C:\\Harvel95", "C:\\HARVEL95"}, "..F."},
        FaultCase{"MatchEvery", 0, "95", {"C:\\", "C:\\HARVEL95", "C:\\HARVEL95"}, ".FF"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(StandinMachine, AFiringFaultIsJournalledWithItsArgument) {
  standin::ArmFault("RegCreateKeyA", 1, "Uninstall");
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other", &key), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Uninstall\\Harvelon", &key), ERROR_ACCESS_DENIED);
  EXPECT_NE(JournalText().find("fault RegCreateKeyA HKLM\\SOFTWARE\\Uninstall\\Harvelon\n"), std::string::npos)
      << JournalText();
  EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Uninstall"));
  standin::ArmFault("HeapAlloc");
  EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, 16), nullptr);
}

TEST_F(StandinMachine, SaveAndLoadKeepTheWholeMachine) {
  using standin::internal::M;
  const std::string tricky = "line one\nline \"two\" \\ end\t\x01\xE9";
  standin::SetCommandLine("\"D:\\DISK1\\SETUP.EXE\" " + tricky);
  standin::SetCurrentDir("C:\\HARVEL95");
  standin::SetWindowsDir("C:\\WIN");
  standin::MapDrive('D', (root_ / "d").string());
  standin::SetNoMedium('A');
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  standin::SetDeleteRule(standin::DeleteRule::kWindowsNT);
  standin::SeedValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel", "Bin", REG_BINARY, std::string("\0\n\"x", 4));
  standin::SeedKey(HKEY_CLASSES_ROOT, "bupfile\\shell");
  standin::ArmFault("DeleteFileA", 3, "sai le");
  standin::ArmFault("CreateFileA", 0);
  DeleteFileA("C:\\SAI LE.INI");  // counted: the fault now waits for the second call after this
  standin::ScriptOperator({"answer IDYES", "type 1000 " + tricky, "click 1"});
  standin::internal::TakeAction();
  M().boxes.push_back({"Cap", tricky, MB_YESNO | MB_ICONQUESTION, "dialog 102", IDYES});
  M().dialogs.push_back({129, "Setup", {"1000 edit C:\\HARVEL95", "1 button OK"}, true, 1000});
  standin::internal::Log(tricky);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::filesystem::create_directories(root_ / "d" / "DISK1");
  std::ofstream(root_ / "d" / "DISK1" / "SETUPX.EXE") << "MZ";
  ASSERT_TRUE(CreateProcessA("D:\\DISK1\\SETUPX.EXE", const_cast<char*>("SETUPX C:\\X"), nullptr, nullptr,
                             TRUE, 0, nullptr, "C:\\", &si, &pi));

  const std::string registry = standin::DumpRegistry();
  const std::vector<std::string> journal = standin::Journal();
  const std::string folder = (root_ / "saved").string();
  standin::Save(folder);
  standin::Reset();
  standin::Load(folder);

  EXPECT_EQ(std::string(GetCommandLineA()), "\"D:\\DISK1\\SETUP.EXE\" " + tricky);
  EXPECT_EQ(standin::CurrentDir(), "C:\\HARVEL95");
  char windows[32];
  GetWindowsDirectoryA(windows, sizeof windows);
  EXPECT_STREQ(windows, "C:\\WIN");
  EXPECT_EQ(standin::HostPath("d:\\disk1\\setupx.exe"), (root_ / "d" / "DISK1" / "SETUPX.EXE").string());
  EXPECT_EQ(GetFileAttributesA("A:\\X"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  EXPECT_EQ(standin::ErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(standin::DumpRegistry(), registry);
  EXPECT_EQ(standin::Journal(), journal);
  EXPECT_EQ(standin::internal::PeekAction(), "type 1000 " + tricky);

  ASSERT_EQ(standin::Boxes().size(), 1u);
  EXPECT_EQ(standin::Boxes()[0].text, tricky);
  EXPECT_EQ(standin::Boxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(standin::Boxes()[0].owner, "dialog 102");
  EXPECT_EQ(standin::Boxes()[0].answer, IDYES);
  ASSERT_EQ(standin::Dialogs().size(), 1u);
  EXPECT_EQ(standin::Dialogs()[0].controls, (std::vector<std::string>{"1000 edit C:\\HARVEL95", "1 button OK"}));
  EXPECT_TRUE(standin::Dialogs()[0].centred);
  EXPECT_EQ(standin::Dialogs()[0].focusId, 1000);
  ASSERT_EQ(standin::Starts().size(), 1u);
  EXPECT_EQ(standin::Starts()[0].commandLine, "SETUPX C:\\X");
  EXPECT_TRUE(standin::Starts()[0].inheritHandles);
  EXPECT_EQ(standin::Starts()[0].directory, "C:\\");

  // The delete rule and the fault counters carry on where they were.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "bupfile", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(key, nullptr), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(CreateFileA("C:\\A.TXT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(standin::CallCount("DeleteFileA"), 1);
  std::ofstream(C("SAI LE.INI")) << "x";
  EXPECT_TRUE(DeleteFileA("C:\\SAI LE.INI"));
  std::ofstream(C("SAI LE.INI")) << "x";
  EXPECT_FALSE(DeleteFileA("C:\\SAI LE.INI"));
}

TEST_F(StandinMachine, CreateProcessChecksTheProgramAndRecordsTheStart) {
  HostFile("HARVEL95/UNINSTX.EXE", "MZ");
  STARTUPINFOA si;
  std::memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::memset(&pi, 0, sizeof pi);
  char cmd[] = "C:\\HARVEL95\\UNINSTX.EXE Harvelon";
  EXPECT_FALSE(CreateProcessA("C:\\HARVEL95\\NONE.EXE", cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CreateProcessA("C:\\HARVEL95", cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(standin::Starts().empty());

  standin::SetCurrentDir("C:\\HARVEL95");
  ASSERT_TRUE(CreateProcessA("uninstx.exe", cmd, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_NE(pi.hProcess, nullptr);
  EXPECT_NE(pi.hThread, pi.hProcess);
  EXPECT_TRUE(CloseHandle(pi.hThread));
  EXPECT_TRUE(CloseHandle(pi.hProcess));
  si.wShowWindow = SW_SHOW;
  ASSERT_TRUE(CreateProcessA("C:\\HARVEL95\\UNINSTX.EXE", nullptr, nullptr, nullptr, FALSE, 0x10,
                             reinterpret_cast<void*>(&si), "C:\\", &si, &pi));

  std::vector<standin::ProcessStart> starts = standin::Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].application, "uninstx.exe");
  EXPECT_EQ(starts[0].commandLine, cmd);
  EXPECT_TRUE(starts[0].inheritHandles);
  EXPECT_FALSE(starts[0].environmentGiven);
  EXPECT_FALSE(starts[0].directoryGiven);
  EXPECT_TRUE(starts[0].startupInfoPlain);
  EXPECT_FALSE(starts[1].startupInfoPlain);
  EXPECT_EQ(starts[1].creationFlags, 0x10u);
  EXPECT_TRUE(starts[1].environmentGiven);
  EXPECT_TRUE(starts[1].directoryGiven);
  EXPECT_NE(JournalText().find("start app=\"uninstx.exe\" cmd=\"C:\\\\HARVEL95\\\\UNINSTX.EXE Harvelon\" "
                               "inherit=1 flags=0x0 env=0 dir=0\n"),
            std::string::npos)
      << JournalText();
}

TEST_F(StandinMachine, ProcessBasics) {
  standin::SetCommandLine("SETUP.EXE /x");
  LPSTR line = GetCommandLineA();
  EXPECT_STREQ(line, "SETUP.EXE /x");
  EXPECT_EQ(GetCommandLineA(), line);
  EXPECT_EQ(SetErrorMode(0x8001), 0u);
  EXPECT_EQ(SetErrorMode(0), 0x8001u);
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));

  unsigned char* block = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 64));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 64), std::string(64, '\0'));
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  int local = 0;
  EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, &local));  // not a heap block: refused, not freed
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, nullptr));
  HeapAlloc(GetProcessHeap(), 0, 100);  // left behind: the next Reset releases it

  try {
    ExitProcess(3);
    ADD_FAILURE() << "ExitProcess returned";
  } catch (const standin::ProcessExit& e) {
    EXPECT_EQ(e.code, 3u);
  }
  EXPECT_EQ(standin::ExitRecord(), "ExitProcess 3");
}

// ANSI 1252 to OEM 437: exact where both have the character, the platform's best fit (as seen
// under Wine) where 437 lacks it.
TEST_F(StandinMachine, CodePagesConvertBothWaysAndInPlace) {
  struct Pair {
    unsigned char ansi, oem;
  } toOem[] = {
      {'A', 'A'}, {'\n', '\n'}, {0xE9, 0x82}, {0xFC, 0x81}, {0xC4, 0x8E}, {0xA3, 0x9C},  // exact
      {0xC0, 'A'}, {0xC3, 'A'}, {0x8A, 'S'}, {0xD7, 'x'},                                 // letters
      {0x95, 0x07}, {0xA7, 0x15}, {0xB6, 0x14},                                           // glyphs
      {0x80, '?'}, {0x81, '?'}, {0x8D, '?'}, {0x8F, '?'}, {0x90, '?'}, {0x9D, '?'},       // none
  };
  for (const Pair& p : toOem) {
    char text[1] = {static_cast<char>(p.ansi)};
    ASSERT_TRUE(CharToOemBuffA(text, text, 1));
    EXPECT_EQ(static_cast<unsigned char>(text[0]), p.oem) << "ANSI " << int(p.ansi);
  }
  // The whole table in one call, NUL included, as the product builds its file.
  char all[256], oem[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  ASSERT_TRUE(CharToOemBuffA(all, oem, 256));
  EXPECT_EQ(oem[0], '\0');
  EXPECT_EQ(static_cast<unsigned char>(oem[0xE9]), 0x82);

  char text[] = "Caf\x82 \x81" "ber\n";
  ASSERT_TRUE(OemToCharA(text, text));
  EXPECT_STREQ(text, "Caf\xE9 \xFC" "ber\n");
  standin::ArmFault("OemToCharA");
  char untouched[] = "\x82";
  EXPECT_FALSE(OemToCharA(untouched, untouched));
  EXPECT_STREQ(untouched, "\x82");
}

}  // namespace
