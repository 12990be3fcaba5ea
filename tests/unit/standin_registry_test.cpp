// The stand-in registry's contract where product tests rely on it: the size rules of
// RegQueryValueExA, the two deletion rules, handles of deleted keys, names without case.
#include <cstring>
#include <string>

#include "standin/control.h"
#include "tests/unit/standin_test_machine.h"

namespace {

const char kKey[] = "SOFTWARE\\Vantrel\\Demo";

class Registry : public standin_test::Machine {};

struct QueryCase {
  const char* name;
  std::string stored;  // REG_SZ bytes as stored
  bool withBuffer;
  DWORD bufferSize;
  LONG result;
  DWORD reportedSize;
  std::string copied;  // what the buffer holds afterwards (it starts as "#####...")
};

void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }

class QuerySize : public Registry, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QuerySize, FollowsTheDocumentedRules) {
  const QueryCase& c = GetParam();
  standin::SeedValue(HKEY_LOCAL_MACHINE, kKey, "Text", REG_SZ, c.stored);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  DWORD size = c.bufferSize;
  DWORD type = 99;
  LONG result = RegQueryValueExA(key, "Text", nullptr, &type, c.withBuffer ? reinterpret_cast<BYTE*>(buffer) : nullptr, &size);
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(size, c.reportedSize);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  std::string expected = c.copied + std::string(sizeof buffer - c.copied.size(), '#');
  EXPECT_EQ(std::string(buffer, sizeof buffer), expected);
  RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuerySize,
    ::testing::Values(
        QueryCase{"SizeQuery", std::string("abc\0", 4), false, 0, ERROR_SUCCESS, 4, ""},
        QueryCase{"ExactFit", std::string("abc\0", 4), true, 4, ERROR_SUCCESS, 4, std::string("abc\0", 4)},
        QueryCase{"Larger", std::string("abc\0", 4), true, 16, ERROR_SUCCESS, 4, std::string("abc\0", 4)},
        // Too small: the needed size comes back and no part of the value is copied.
        QueryCase{"OneShort", std::string("abc\0", 4), true, 3, ERROR_MORE_DATA, 4, ""},
        QueryCase{"ZeroSize", std::string("abc\0", 4), true, 0, ERROR_MORE_DATA, 4, ""},
        // A text stored without its NUL comes back exactly as stored.
        QueryCase{"NoNul", "abc", true, 16, ERROR_SUCCESS, 3, "abc"},
        QueryCase{"Empty", "", true, 16, ERROR_SUCCESS, 0, ""}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

TEST_F(Registry, QueryErrorsAndOptionalType) {
  standin::SeedValue(HKEY_LOCAL_MACHINE, kKey, "GroupName", REG_SZ, std::string("G\0", 2));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  // Without lpType nothing is written there, and names do not depend on case.
  char buffer[8] = {};
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "GROUPNAME", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
  EXPECT_STREQ(buffer, "G");
  HKEY missing = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nobody", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);  // closed already
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, CreateMakesParentsAndStoresExactBytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\Uninstall\\Harvelon", &key), ERROR_SUCCESS);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(standin::KeyExists(HKEY_LOCAL_MACHINE, "software\\microsoft\\windows"));
  // An empty or missing sub-key gives back the same handle.
  HKEY same = nullptr;
  EXPECT_EQ(RegCreateKeyA(key, "", &same), ERROR_SUCCESS);
  EXPECT_EQ(same, key);
  EXPECT_EQ(RegCreateKeyA(key, nullptr, &same), ERROR_SUCCESS);
  EXPECT_EQ(same, key);
  // A second handle of the same key is a distinct one.
  HKEY again = nullptr;
  EXPECT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\Uninstall\\HARVELON", &again), ERROR_SUCCESS);
  EXPECT_NE(again, key);

  const char text[] = "Harvelon\nfor you";
  EXPECT_EQ(RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 5), ERROR_SUCCESS);
  std::optional<standin::Value> value = standin::ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\Uninstall\\Harvelon", "displayname");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value->bytes, "Harve");
  EXPECT_EQ(RegSetValueExA(again, "Note", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
  std::string journal = JournalText();
  EXPECT_NE(journal.find("reg set HKLM\\SOFTWARE\\Microsoft\\Windows\\Uninstall\\Harvelon DisplayName REG_SZ \"Harve\" no-NUL"), std::string::npos) << journal;
  EXPECT_NE(journal.find("Note REG_SZ \"Harvelon\\nfor you\"\n"), std::string::npos) << journal;
  RegCloseKey(key);
  RegCloseKey(again);
}

struct DeleteCase {
  const char* name;
  standin::DeleteRule rule;
  LONG result;
  bool keyLeft;
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }

class DeleteWithSubKeys : public Registry, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteWithSubKeys, FollowsTheRule) {
  const DeleteCase& c = GetParam();
  standin::SetDeleteRule(c.rule);
  standin::SeedValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel\\Harvelon\\1.0", "x", REG_SZ, "1");
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTREL"), c.result);
  EXPECT_EQ(standin::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel"), c.keyLeft);
  EXPECT_EQ(standin::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vantrel\\Harvelon\\1.0"), c.keyLeft);
  EXPECT_TRUE(standin::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE"));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DeleteWithSubKeys,
    ::testing::Values(DeleteCase{"Windows95", standin::DeleteRule::kWindows95, ERROR_SUCCESS, false},
                      DeleteCase{"WindowsNT", standin::DeleteRule::kWindowsNT, ERROR_ACCESS_DENIED, true}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(Registry, DeletingAnOpenedKeyItselfLeavesItsHandleDead) {
  standin::SeedValue(HKEY_CLASSES_ROOT, ".zur", "", REG_SZ, std::string("bupfile\0", 8));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".zur", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(key, ""), ERROR_SUCCESS);
  EXPECT_FALSE(standin::KeyExists(HKEY_CLASSES_ROOT, ".zur"));
  DWORD size = 0;
  const LONG kKeyDeleted = 1018;
  EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), kKeyDeleted);
  EXPECT_EQ(RegSetValueExA(key, "a", 0, REG_SZ, reinterpret_cast<const BYTE*>("b"), 2), kKeyDeleted);
  EXPECT_EQ(RegDeleteKeyA(key, nullptr), kKeyDeleted);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, ".zur"), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(JournalText().find("reg delete HKCR\\.zur\n"), std::string::npos) << JournalText();
  // A key made again under the same name is a new key; the dead handle stays dead.
  standin::SeedKey(HKEY_CLASSES_ROOT, ".zur");
  HKEY fresh = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".zur", 0, KEY_READ, &fresh), ERROR_SUCCESS);
  EXPECT_NE(fresh, key);
  RegCloseKey(fresh);
}

TEST_F(Registry, DumpIsStableAndExact) {
  standin::SeedValue(HKEY_LOCAL_MACHINE, "B", "v", REG_DWORD, std::string("\x01\0\0\0", 4));
  standin::SeedKey(HKEY_LOCAL_MACHINE, "a");
  EXPECT_EQ(standin::DumpRegistry(),
            "HKCR\nHKCU\nHKLM\nHKLM\\a\nHKLM\\B\nHKLM\\B \"v\" REG_DWORD \"\\x01\\x00\\x00\\x00\"\n");
}

}  // namespace
