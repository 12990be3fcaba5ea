// Every platform call of both sequences made to fail alone, on a whole run of the native program:
// one row per fault with its outcome (goes on, stops silently, shows the one registry box) and the
// end state (registry, files, boxes, second stage, exit code). A sweep then fails each call of a
// clean run in turn and checks what must hold for any fault: no crash or hang, no value or file
// left cut, no exit code 0 without a second stage.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "tests/scenario/fault_machine.h"

namespace fault_test {
namespace {

const std::vector<std::string> kInstallAnswers = {"enter", "enter", "enter"};
const std::vector<std::string> kUninstallAnswers = {"answer IDYES"};
const std::string kGroupLine = std::string(kDefaultGroup) + "\r\n";
const char kDir[] = "C:\\HARVEL95";

// What a hand-off file holds after the run.
enum class File { kWhole, kMissing, kWholeOrMissing, kEmptyLine };

struct Fault {
  const char* function;
  int nth;
  const char* match;
};

// ---- Install: agreement, C:\HARVEL95, the default group, SETUPX.EXE present ---------------------

struct InstallRow {
  const char* name;
  Fault fault;
  std::vector<std::string> script;  // empty: the default answers
  bool destinationExists;
  int exitCode;
  std::vector<std::string> boxes;  // captions, in order
  const char* values;              // uninstall values written whole: D(isplayName) U(ninstallString)
                                   // G(roupName); "-" for no product key at all
  File groupFile;
  File tableFile;
  bool started;
};

void PrintTo(const InstallRow& r, std::ostream* os) { *os << r.name; }

const std::vector<std::string> kRetryDestination = {"enter", "enter", "answer IDOK", "enter", "enter"};

const InstallRow kInstallRows[] = {
    // The text scratch: ShowText then converts in place; nothing else changes.
    {"TextScratch", {"HeapAlloc", 1, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kWhole, true},
    // Destination rules.
    {"WorkingDirectoryUnknown", {"GetCurrentDirectoryA", 1, ""}, {}, false, 0, {}, "DUG", File::kWhole,
     File::kWhole, true},
    {"WorkingDirectoryUnknownExisting", {"GetCurrentDirectoryA", 1, ""}, {"enter", "enter", "answer IDYES", "enter"},
     true, 0, {"Confirm Directory Choice"}, "DUG", File::kWhole, File::kWhole, true},
    {"CreateDestination", {"CreateDirectoryA", 1, ""}, kRetryDestination, false, 0, {"Invalid Directory Name"},
     "DUG", File::kWhole, File::kWhole, true},
    {"EnterExistingDestination", {"SetCurrentDirectoryA", 1, kDir},
     {"enter", "enter", "answer IDOK", "enter", "answer IDYES", "enter"}, true, 0,
     {"Invalid Directory Name", "Confirm Directory Choice"}, "DUG", File::kWhole, File::kWhole, true},
    {"RestoreWorkingDirectory", {"SetCurrentDirectoryA", 2, ""}, {"enter", "enter", "answer IDYES", "enter"}, true,
     0, {"Confirm Directory Choice"}, "DUG", File::kWhole, File::kWhole, true},
    {"ExistingDirectoryQuestion", {"MessageBoxA", 1, "Confirm Directory Choice"},
     {"enter", "enter", "enter", "answer IDYES", "enter"}, true, 0, {"Confirm Directory Choice"}, "DUG",
     File::kWhole, File::kWhole, true},
    // The cancel question that cannot be shown ends the prompt as cancelled, before anything is written.
    {"CancelQuestion", {"MessageBoxA", 1, "Confirm Cancel"}, {"enter", "esc"}, false, VK_ESCAPE, {}, "-",
     File::kMissing, File::kMissing, false},
    // Registry entry: only the list key's failure is shown; the sequence goes on in every case.
    {"ListKeyAnsweredOk", {"RegCreateKeyA", 1, ""}, {"enter", "enter", "enter", "answer IDOK"}, false, 0,
     {kRegistryBoxCaption}, "-", File::kWhole, File::kWhole, true},
    {"ListKeyAnsweredCancel", {"RegCreateKeyA", 1, ""}, {"enter", "enter", "enter", "answer IDCANCEL"}, false, 0,
     {kRegistryBoxCaption}, "-", File::kWhole, File::kWhole, true},
    {"ProductKey", {"RegCreateKeyA", 2, ""}, {}, false, 0, {}, "-", File::kWhole, File::kWhole, true},
    {"DisplayName", {"RegSetValueExA", 1, ""}, {}, false, 0, {}, "", File::kWhole, File::kWhole, true},
    {"UninstallString", {"RegSetValueExA", 2, ""}, {}, false, 0, {}, "D", File::kWhole, File::kWhole, true},
    {"GroupName", {"RegSetValueExA", 3, ""}, {}, false, 0, {}, "DU", File::kWhole, File::kWhole, true},
    {"CloseListKey", {"RegCloseKey", 1, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kWhole, true},
    {"CloseProductKey", {"RegCloseKey", 2, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kWhole, true},
    // Hand-off files: one that cannot be written whole is not left behind, not even empty.
    {"CreateGroupFile", {"CreateFileA", 1, "GRPNAM.DAT"}, {}, false, 0, {}, "DUG", File::kMissing, File::kWhole,
     true},
    {"WriteGroupFile", {"WriteFile", 1, ""}, {}, false, 0, {}, "DUG", File::kMissing, File::kWhole, true},
    {"CloseGroupFile", {"CloseHandle", 1, ""}, {}, false, 0, {}, "DUG", File::kWholeOrMissing, File::kWhole, true},
    {"CreateTableFile", {"CreateFileA", 1, "OEM2ANSI.INI"}, {}, false, 0, {}, "DUG", File::kWhole, File::kMissing,
     true},
    {"WriteTableFile", {"WriteFile", 2, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kMissing, true},
    {"CloseTableFile", {"CloseHandle", 2, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kWholeOrMissing, true},
    // A table the system did not convert is no table: nothing is written rather than wrong bytes.
    {"ConvertTable", {"CharToOemBuffA", 1, ""}, {}, false, 0, {}, "DUG", File::kWhole, File::kMissing, true},
    // The hand-off: missing or not startable is a failure, with its own exit code and no message.
    {"SecondStageLookUp", {"GetFileAttributesA", 1, "SETUPX.EXE"}, {}, false, kExitHandoffFailed, {}, "DUG",
     File::kWhole, File::kWhole, false},
    {"SecondStageStart", {"CreateProcessA", 1, ""}, {}, false, kExitHandoffFailed, {}, "DUG", File::kWhole,
     File::kWhole, false},
};

class InstallFault : public Machine, public ::testing::WithParamInterface<InstallRow> {};

TEST_P(InstallFault, EndsAsTheTableSays) {
  const InstallRow& r = GetParam();
  MakeFile("D:\\DISK1\\SETUPX.EXE");
  if (r.destinationExists) MakeDir(kDir);
  standin::ArmFault(r.fault.function, r.fault.nth, r.fault.match);

  int code = Run(kInstallCommandLine, r.script.empty() ? kInstallAnswers : r.script);

  EXPECT_EQ(code, r.exitCode) << Journal();
  EXPECT_NE(standin::CallCount(r.fault.function), 0);
  EXPECT_EQ(BoxCaptions(), r.boxes) << Journal();
  EXPECT_EQ(standin::Starts().size(), r.started ? 1u : 0u);
  const std::string values = r.values;
  EXPECT_EQ(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey), values != "-");
  EXPECT_EQ(Value("DisplayName"), values.find('D') != std::string::npos ? Sz(kDefaultGroup) : "<missing>");
  EXPECT_EQ(Value("GroupName"), values.find('G') != std::string::npos ? Sz(kDefaultGroup) : "<missing>");
  EXPECT_EQ(Value("UninstallString"),
            values.find('U') != std::string::npos ? Sz("C:\\HARVEL95\\UNINSTAL.EXE") : "<missing>");

  const std::string group = FileBytes("C:\\HARVEL95\\GRPNAM.DAT");
  const std::string table = FileBytes("C:\\HARVEL95\\OEM2ANSI.INI");
  switch (r.groupFile) {
    case File::kWhole: EXPECT_EQ(group, kGroupLine); break;
    case File::kMissing: EXPECT_EQ(group, "<missing>"); break;
    default: EXPECT_TRUE(group == kGroupLine || group == "<missing>") << group;
  }
  switch (r.tableFile) {
    case File::kWhole: EXPECT_EQ(table.size(), 256u); break;
    case File::kMissing: EXPECT_EQ(table, "<missing>"); break;
    default: EXPECT_TRUE(table.size() == 256u || table == "<missing>") << table.size();
  }
  if (r.exitCode != VK_ESCAPE) EXPECT_TRUE(IsDirectory(kDir));
}

INSTANTIATE_TEST_SUITE_P(Calls, InstallFault, ::testing::ValuesIn(kInstallRows));

// ---- Uninstall: the entry and the other keys present, the leftover files, UNINSTX.EXE, Yes ------

struct UninstallRow {
  const char* name;
  Fault fault;
  std::vector<std::string> script;  // empty: Yes
  int exitCode;
  std::vector<std::string> boxes;
  const char* keysLeft;  // which of the four keys (1 to 4 in removal order) are still there
  File groupFile;        // kWhole: the group name read back; kEmptyLine: CR LF alone
  bool lfnbkLeft;
  bool saileLeft;
  bool started;
};

void PrintTo(const UninstallRow& r, std::ostream* os) { *os << r.name; }

const UninstallRow kUninstallRows[] = {
    // A question that cannot be shown is no consent: nothing is removed, nothing started.
    {"Question", {"MessageBoxA", 1, ""}, {}, 0, {}, "1234", File::kMissing, true, true, false},
    {"TextScratch", {"HeapAlloc", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kWhole, false, false, true},
    // Removal: a key that does not open is skipped, one that cannot be deleted ends the removal.
    {"OpenEntry", {"RegOpenKeyExA", 1, ""}, {}, 0, {"Confirm Uninstall"}, "1", File::kEmptyLine, false, false, true},
    {"OpenMakerKey", {"RegOpenKeyExA", 1, "Vantrel"}, {}, 0, {"Confirm Uninstall"}, "2", File::kWhole, false, false,
     true},
    {"OpenExtensionKey", {"RegOpenKeyExA", 1, ".zur"}, {}, 0, {"Confirm Uninstall"}, "3", File::kWhole, false, false,
     true},
    {"OpenFileTypeKey", {"RegOpenKeyExA", 1, "bupfile"}, {}, 0, {"Confirm Uninstall"}, "4", File::kWhole, false,
     false, true},
    {"ReadGroupName", {"RegQueryValueExA", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kEmptyLine, false, false,
     true},
    {"DeleteEntry", {"RegDeleteKeyA", 1, ""}, {}, 0, {"Confirm Uninstall"}, "1234", File::kWhole, false, false, true},
    {"DeleteMakerKey", {"RegDeleteKeyA", 2, ""}, {}, 0, {"Confirm Uninstall"}, "234", File::kWhole, false, false,
     true},
    {"DeleteExtensionKey", {"RegDeleteKeyA", 3, ""}, {}, 0, {"Confirm Uninstall"}, "34", File::kWhole, false, false,
     true},
    {"DeleteFileTypeKey", {"RegDeleteKeyA", 4, ""}, {}, 0, {"Confirm Uninstall"}, "4", File::kWhole, false, false,
     true},
    {"CloseEntry", {"RegCloseKey", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kWhole, false, false, true},
    // GRPNAM.DAT beside the program.
    {"CreateGroupFile", {"CreateFileA", 1, "GRPNAM.DAT"}, {}, 0, {"Confirm Uninstall"}, "", File::kMissing, false,
     false, true},
    {"WriteGroupFile", {"WriteFile", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kMissing, false, false, true},
    {"CloseGroupFile", {"CloseHandle", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kWholeOrMissing, false, false,
     true},
    // Leftover files: without the Windows directory nothing is deleted in its place (in particular
    // not \LFNBK.EXE in the root of the working drive).
    {"WindowsDirectory", {"GetWindowsDirectoryA", 1, ""}, {}, 0, {"Confirm Uninstall"}, "", File::kWhole, true, false,
     true},
    {"DeleteLfnbk", {"DeleteFileA", 1, "LFNBK.EXE"}, {}, 0, {"Confirm Uninstall"}, "", File::kWhole, true, false,
     true},
    {"DeleteSaile", {"DeleteFileA", 1, "SAILE.INI"}, {}, 0, {"Confirm Uninstall"}, "", File::kWhole, false, true,
     true},
    // The hand-off.
    {"SecondStageLookUp", {"GetFileAttributesA", 1, "UNINSTX.EXE"}, {}, kExitHandoffFailed, {"Confirm Uninstall"},
     "", File::kWhole, false, false, false},
    {"SecondStageStart", {"CreateProcessA", 1, ""}, {}, kExitHandoffFailed, {"Confirm Uninstall"}, "", File::kWhole,
     false, false, false},
};

class UninstallFault : public Machine, public ::testing::WithParamInterface<UninstallRow> {
 protected:
  void SetUp() override {
    Machine::SetUp();
    PrepareInstalled();
    // A decoy in the root of the working drive: only C:\WINDOWS\LFNBK.EXE may ever be deleted.
    MakeFile("C:\\LFNBK.EXE", "decoy");
  }
};

TEST_P(UninstallFault, EndsAsTheTableSays) {
  const UninstallRow& r = GetParam();
  standin::ArmFault(r.fault.function, r.fault.nth, r.fault.match);

  int code = Run(kUninstallCommandLine, r.script.empty() ? kUninstallAnswers : r.script);

  EXPECT_EQ(code, r.exitCode) << Journal();
  EXPECT_NE(standin::CallCount(r.fault.function), 0);
  EXPECT_EQ(BoxCaptions(), r.boxes) << Journal();
  EXPECT_EQ(standin::Starts().size(), r.started ? 1u : 0u);
  std::string keysLeft;
  for (int i = 0; i < 4; ++i)
    if (standin::KeyExists(kProductKeys[i].root, kProductKeys[i].path)) keysLeft += static_cast<char>('1' + i);
  EXPECT_EQ(keysLeft, r.keysLeft);
  if (std::string(r.keysLeft).find('1') != std::string::npos) {
    EXPECT_EQ(Value("GroupName"), Sz(kDefaultGroup));
  }

  const std::string group = FileBytes("C:\\HARVEL95\\GRPNAM.DAT");
  switch (r.groupFile) {
    case File::kWhole: EXPECT_EQ(group, kGroupLine); break;
    case File::kEmptyLine: EXPECT_EQ(group, "\r\n"); break;
    case File::kMissing: EXPECT_EQ(group, "<missing>"); break;
    case File::kWholeOrMissing: EXPECT_TRUE(group == kGroupLine || group == "<missing>") << group; break;
  }
  EXPECT_EQ(Exists("C:\\WINDOWS\\LFNBK.EXE"), r.lfnbkLeft);
  EXPECT_EQ(Exists("C:\\SAILE.INI"), r.saileLeft);
  EXPECT_EQ(FileBytes("C:\\LFNBK.EXE"), "decoy");
}

INSTANTIATE_TEST_SUITE_P(Calls, UninstallFault, ::testing::ValuesIn(kUninstallRows));

// ---- The sweep: each call of a clean run failing alone -----------------------------------------

const char* const kFaultable[] = {
    "HeapAlloc",       "GetCurrentDirectoryA", "SetCurrentDirectoryA", "CreateDirectoryA", "GetFileAttributesA",
    "RegCreateKeyA",   "RegOpenKeyExA",        "RegQueryValueExA",     "RegSetValueExA",   "RegDeleteKeyA",
    "RegCloseKey",     "CreateFileA",          "WriteFile",            "CloseHandle",      "DeleteFileA",
    "GetWindowsDirectoryA", "CreateProcessA",  "MessageBoxA",          "OemToCharA",       "CharToOemBuffA",
};

struct Sweep {
  const char* name;
  bool uninstall;
};

void PrintTo(const Sweep& s, std::ostream* os) { *os << s.name; }

class FaultSweep : public Machine, public ::testing::WithParamInterface<Sweep> {
 protected:
  void Prepare() {
    MakeFile("D:\\DISK1\\SETUPX.EXE");
    if (GetParam().uninstall) PrepareInstalled();
  }
  int RunSequence(const std::vector<std::string>& script) {
    return Run(GetParam().uninstall ? kUninstallCommandLine : kInstallCommandLine, script);
  }
  // The entry the group prompt showed when it opened (the default group name as a rule).
  static std::string ShownGroup() {
    std::vector<standin::Dialog> dialogs = standin::Dialogs();
    if (dialogs.size() < 3) return kDefaultGroup;
    for (const std::string& control : dialogs[2].controls)
      if (control.rfind("1000 edit", 0) == 0) return control.size() > 10 ? control.substr(10) : "";
    return kDefaultGroup;
  }
  // The script a table row gives for this call, or the default answers.
  std::vector<std::string> ScriptFor(const std::string& function, int nth) const {
    if (GetParam().uninstall) {
      for (const UninstallRow& r : kUninstallRows)
        if (function == r.fault.function && nth == r.fault.nth && *r.fault.match == '\0' && !r.script.empty())
          return r.script;
      return kUninstallAnswers;
    }
    for (const InstallRow& r : kInstallRows)
      if (function == r.fault.function && nth == r.fault.nth && *r.fault.match == '\0' && !r.destinationExists &&
          !r.script.empty())
        return r.script;
    // A failure that raises the registry box is answered; any other run takes the defaults.
    return function == "RegCreateKeyA" && nth == 1 ? std::vector<std::string>{"enter", "enter", "enter", "answer IDOK"}
                                                   : kInstallAnswers;
  }
};

TEST_P(FaultSweep, NoCallFailingAloneBreaksTheRun) {
  Prepare();
  ASSERT_EQ(RunSequence(GetParam().uninstall ? kUninstallAnswers : kInstallAnswers), 0) << Journal();
  std::map<std::string, int> counts;
  for (const char* function : kFaultable) counts[function] = standin::CallCount(function);

  for (const auto& [function, count] : counts) {
    for (int nth = 1; nth <= count; ++nth) {
      SCOPED_TRACE(function + " #" + std::to_string(nth));
      TearDown();
      SetUp();
      Prepare();
      standin::ArmFault(function, nth);
      const int code = RunSequence(ScriptFor(function, nth));
      EXPECT_GE(code, 0) << "hung\n" << Journal();
      EXPECT_TRUE(code < 128 || code == standin::kOperatorFault) << "crashed\n" << Journal();
      // The run asked something the default answers do not foresee (a refused entry, say): the
      // stand-in ended it there. What was written up to then must still be whole.
      if (code == standin::kOperatorFault) std::cout << "  " << function << " #" << nth << ": asks the user\n";
      // Exit code 0 after a run that did not stop at a dialog means a hand-off took place.
      const bool started = !standin::Starts().empty();
      if (started) EXPECT_EQ(standin::ExitRecord(), "ExitProcess 0");
      if (code == 0 && !GetParam().uninstall && standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey))
        EXPECT_TRUE(started) << Journal();
      // An uninstall that ends with 0 and no hand-off is one that did not go ahead.
      if (code == 0 && GetParam().uninstall && !started)
        for (const ProductKey& key : kProductKeys) EXPECT_TRUE(standin::KeyExists(key.root, key.path)) << key.path;
      // Whatever was written is whole: the group name the user accepted, as the field showed it
      // (a failed allocation may leave another text there; the user sees and accepts that one).
      const std::string group = GetParam().uninstall ? kDefaultGroup : ShownGroup();
      for (const char* name : {"DisplayName", "GroupName"}) {
        const std::string v = Value(name);
        EXPECT_TRUE(v == "<missing>" || v == Sz(group)) << name << ": " << v;
      }
      const std::string u = Value("UninstallString");
      EXPECT_TRUE(u == "<missing>" || u == Sz("C:\\HARVEL95\\UNINSTAL.EXE")) << u;
      const std::string groupFile = FileBytes("C:\\HARVEL95\\GRPNAM.DAT");
      EXPECT_TRUE(groupFile == "<missing>" || groupFile == group + "\r\n" ||
                  (GetParam().uninstall && groupFile == "\r\n"))
          << "GRPNAM.DAT: " << groupFile;
      const std::string table = FileBytes("C:\\HARVEL95\\OEM2ANSI.INI");
      EXPECT_TRUE(table == "<missing>" || table.size() == 256u) << "OEM2ANSI.INI of " << table.size();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, FaultSweep,
                         ::testing::Values(Sweep{"Install", false}, Sweep{"Uninstall", true}));

}  // namespace
}  // namespace fault_test
