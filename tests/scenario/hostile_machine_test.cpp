// A hostile machine under whole runs: a destination folder that cannot be written, a drive with no
// medium, a file where the destination directory should be, a working directory longer than the
// 254 characters the destination rules remember.
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "tests/scenario/fault_machine.h"

namespace fault_test {
namespace {

const std::vector<std::string> kDefaults = {"enter", "enter", "enter"};
// Refused once with the unusable-entry box, then cancelled.
const std::vector<std::string> kRefusedThenCancelled = {"enter", "enter", "answer IDOK", "esc", "answer IDYES"};

class HostileMachine : public Machine {
 protected:
  void SetUp() override {
    Machine::SetUp();
    MakeFile("D:\\DISK1\\SETUPX.EXE");
  }
  // Nothing of the install reached the registry, the files or the second stage.
  void ExpectNothingWritten() {
    EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(standin::KeyExists(HKEY_LOCAL_MACHINE, kListKey));
    EXPECT_TRUE(standin::Starts().empty());
  }
};

// The existing destination accepts no new file (every creation in it fails, as on a write-protected
// medium): the question is answered Yes, the entry is registered, neither hand-off file exists, not
// even an empty one, and the second stage still starts.
TEST_F(HostileMachine, DestinationThatCannotBeWritten) {
  MakeDir("C:\\HARVEL95");
  standin::ArmFault("CreateFileA", 0, "C:\\HARVEL95\\");
  int code = Run(kInstallCommandLine, {"enter", "enter", "answer IDYES", "enter"});
  EXPECT_EQ(code, 0) << Journal();
  EXPECT_EQ(BoxCaptions(), std::vector<std::string>{"Confirm Directory Choice"});
  EXPECT_EQ(Value("UninstallString"), Sz("C:\\HARVEL95\\UNINSTAL.EXE"));
  EXPECT_FALSE(Exists("C:\\HARVEL95\\GRPNAM.DAT"));
  EXPECT_FALSE(Exists("C:\\HARVEL95\\OEM2ANSI.INI"));
  EXPECT_EQ(standin::Starts().size(), 1u);
}

// Read-only hand-off files from an earlier install in the destination are not replaced (the
// system refuses to open them for writing) and are left as they were; the install goes on.
TEST_F(HostileMachine, ReadOnlyHandOffFilesInTheDestination) {
  MakeFile("C:\\HARVEL95\\GRPNAM.DAT", "Old Group\r\n");
  MakeFile("C:\\HARVEL95\\OEM2ANSI.INI", "old");
  std::filesystem::permissions(Host("C:\\HARVEL95\\GRPNAM.DAT"), std::filesystem::perms::owner_read);
  std::filesystem::permissions(Host("C:\\HARVEL95\\OEM2ANSI.INI"), std::filesystem::perms::owner_read);
  int code = Run(kInstallCommandLine, {"enter", "enter", "answer IDYES", "enter"});
  EXPECT_EQ(code, 0) << Journal();
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\GRPNAM.DAT"), "Old Group\r\n");
  EXPECT_EQ(FileBytes("C:\\HARVEL95\\OEM2ANSI.INI"), "old");
  EXPECT_EQ(Value("GroupName"), Sz(kDefaultGroup));
  EXPECT_EQ(standin::Starts().size(), 1u);
}

// A: has no medium: the destination there is refused with the program's own box, no system box
// appears (the error mode is set before anything touches the drive), and nothing is written.
TEST_F(HostileMachine, DestinationOnADriveWithoutMedium) {
  standin::SetNoMedium('A');
  int code = Run(kInstallCommandLine, {"enter", TypeEntry("A:\\HARVEL95"), "enter", "answer IDOK", "esc",
                                       "answer IDYES"});
  EXPECT_EQ(code, VK_ESCAPE) << Journal();
  EXPECT_EQ(standin::ErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Invalid Directory Name", "Confirm Cancel"}));
  EXPECT_EQ(standin::Boxes()[0].text, "Cannot accept that entry");
  ExpectNothingWritten();
}

// Uninstalling from a drive without a medium: the registry is cleaned, GRPNAM.DAT and SAILE.INI
// fail quietly, and the missing UNINSTX.EXE ends the run as a failed hand-off.
TEST_F(HostileMachine, UninstallFromADriveWithoutMedium) {
  PrepareInstalled();
  standin::SetNoMedium('A');
  int code = Run("A:\\HARVEL95\\UNINSTAL.EXE", {"answer IDYES"});
  EXPECT_EQ(code, kExitHandoffFailed) << Journal();
  EXPECT_EQ(standin::ErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(BoxCaptions(), std::vector<std::string>{"Confirm Uninstall"});
  for (const ProductKey& key : kProductKeys) EXPECT_FALSE(standin::KeyExists(key.root, key.path)) << key.path;
  EXPECT_FALSE(Exists("C:\\WINDOWS\\LFNBK.EXE"));
  EXPECT_TRUE(Exists("C:\\SAILE.INI"));  // the root of A:, not of C:, was meant
  EXPECT_TRUE(standin::Starts().empty());
}

// A file named like the destination: refused as unusable; the file is left as it was.
TEST_F(HostileMachine, FileWhereTheDestinationShouldBe) {
  MakeFile("C:\\HARVEL95", "keep me");
  int code = Run(kInstallCommandLine, kRefusedThenCancelled);
  EXPECT_EQ(code, VK_ESCAPE) << Journal();
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Invalid Directory Name", "Confirm Cancel"}));
  EXPECT_EQ(FileBytes("C:\\HARVEL95"), "keep me");
  ExpectNothingWritten();
}

struct LongWorkingDirectory {
  const char* name;
  bool destinationExists;  // the existing-directory question is asked and answered Yes
};

void PrintTo(const LongWorkingDirectory& l, std::ostream* os) { *os << l.name; }

class HostileWorkingDirectory : public HostileMachine,
                                public ::testing::WithParamInterface<LongWorkingDirectory> {};

// A working directory of 300 characters cannot be remembered in the destination rules' 255-byte
// buffer: the install still completes, and the process (so the second stage, which inherits it)
// is still in that directory afterwards, never left in the destination.
TEST_P(HostileWorkingDirectory, IsStillTheWorkingDirectoryAfterwards) {
  std::string work = "C:";
  while (work.size() + 9 < 290) work += "\\WORKDIR1";
  work += "\\" + std::string(300 - work.size() - 1, 'W');
  ASSERT_EQ(work.size(), 300u);
  MakeDir(work);
  standin::SetCurrentDir(work);
  std::vector<std::string> script = kDefaults;
  if (GetParam().destinationExists) {
    MakeDir("C:\\HARVEL95");
    script = {"enter", "enter", "answer IDYES", "enter"};
  }
  int code = Run(kInstallCommandLine, script);
  EXPECT_EQ(code, 0) << Journal();
  EXPECT_EQ(standin::CurrentDir(), work);
  EXPECT_EQ(Value("UninstallString"), Sz("C:\\HARVEL95\\UNINSTAL.EXE"));
  EXPECT_EQ(standin::Starts().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Destinations, HostileWorkingDirectory,
                         ::testing::Values(LongWorkingDirectory{"NewDestination", false},
                                           LongWorkingDirectory{"ExistingDestination", true}));

}  // namespace
}  // namespace fault_test
