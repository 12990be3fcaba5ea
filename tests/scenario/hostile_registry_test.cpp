// GroupName values of any size and type read back by a whole uninstall run: GRPNAM.DAT holds the
// value's whole text or an empty line, never a cut text and never bytes from past the value; the
// entry is deleted and UNINSTX.EXE started all the same.
#include <string>
#include <vector>

#include "tests/scenario/fault_machine.h"

namespace fault_test {
namespace {

struct GroupValue {
  const char* name;
  DWORD type;
  std::string bytes;  // exactly as stored
  std::string text;   // the group name when read (the bytes up to the first NUL)
  bool mayBeRefused;  // a value without a NUL may be taken whole or refused (empty line)
  bool fits;          // false: it cannot be read into the 128-byte buffer, the name stays empty
};

void PrintTo(const GroupValue& g, std::ostream* os) { *os << g.name; }

const std::string k127(127, 'G');
const std::string k128(128, 'G');
const std::string k4096(4096, 'G');

class HostileGroupValue : public Machine, public ::testing::WithParamInterface<GroupValue> {};

TEST_P(HostileGroupValue, IsReadWholeOrNotAtAll) {
  const GroupValue& g = GetParam();
  PrepareInstalled();
  standin::SeedValue(HKEY_LOCAL_MACHINE, kUninstallKey, "GroupName", g.type, g.bytes);

  ASSERT_EQ(Run(kUninstallCommandLine, {"answer IDYES"}), 0) << Journal();

  const std::string written = FileBytes("C:\\HARVEL95\\GRPNAM.DAT");
  if (!g.fits) {
    EXPECT_EQ(written, "\r\n");
  } else if (g.mayBeRefused) {
    EXPECT_TRUE(written == g.text + "\r\n" || written == "\r\n") << written;
  } else {
    EXPECT_EQ(written, g.text + "\r\n");
  }
  for (const ProductKey& key : kProductKeys) EXPECT_FALSE(standin::KeyExists(key.root, key.path)) << key.path;
  ASSERT_EQ(standin::Starts().size(), 1u);
  EXPECT_EQ(standin::Starts()[0].commandLine, "C:\\HARVEL95\\UNINSTX.EXE");
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileGroupValue,
    ::testing::Values(
        GroupValue{"Sz127", REG_SZ, Sz(k127), k127, false, true},
        GroupValue{"Sz128", REG_SZ, Sz(k128), "", false, false},
        GroupValue{"Sz4096", REG_SZ, Sz(k4096), "", false, false},
        GroupValue{"EmptySz", REG_SZ, Sz(""), "", false, true},
        GroupValue{"SzWithTextAfterItsNul", REG_SZ, std::string("Harvelon\0junk", 13) + '\0', "Harvelon",
                   false, true},
        GroupValue{"SzWithoutNul", REG_SZ, kDefaultGroup, kDefaultGroup, true, true},
        GroupValue{"Sz127WithoutNul", REG_SZ, k127, k127, true, true},
        GroupValue{"Sz128WithoutNul", REG_SZ, k128, "", false, false},
        GroupValue{"DwordWithNul", REG_DWORD, std::string("\x01\0\0\0", 4), "\x01", false, true},
        GroupValue{"DwordWithoutNul", REG_DWORD, "DCBA", "DCBA", true, true},
        GroupValue{"BinaryWithoutNul", REG_BINARY, "\xFF\xFE\x41\x42", "\xFF\xFE\x41\x42", true, true},
        GroupValue{"EmptyBinary", REG_BINARY, "", "", true, true},
        GroupValue{"MultiSz", REG_MULTI_SZ, std::string("One\0Two\0\0", 9), "One", false, true}));

}  // namespace
}  // namespace fault_test
