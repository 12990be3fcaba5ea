// The destination rules: form, 8.3 name of the last element, creation or confirmation of the
// directory, and the working directory left as it was.
#include <string>
#include <vector>

#include "dialogs/validate_destination.h"
#include "tests/unit/dialogs_test_machine.h"

namespace {

using namespace dialogs_test;

enum class Shown { kNothing, kIncomplete, kNameRule, kUnusable, kExisting };

struct Case {
  const char* entry;
  std::vector<std::string> dirs;   // existing directories on C:, host-relative
  std::vector<std::string> files;  // existing files on C:
  const char* answer;              // operator answer to the existing-directory question, or ""
  bool accepted;
  Shown shown;
  const char* created;  // host-relative directory that must exist afterwards, or ""
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.entry << '"'; }

const Case kCases[] = {
    // Form: a colon and a backslash, anywhere.
    {"HARVEL95", {}, {}, "", false, Shown::kIncomplete, ""},
    {"C:HARVEL95", {}, {}, "", false, Shown::kIncomplete, ""},
    {"\\\\SERVER\\SHARE\\HARVEL95", {}, {}, "", false, Shown::kIncomplete, ""},
    {"", {}, {}, "", false, Shown::kIncomplete, ""},
    // The 8.3 rule on the last element.
    {"C:\\HARVEL95", {}, {}, "", true, Shown::kNothing, "HARVEL95"},
    {"C:\\HARVEL95.ABC", {}, {}, "", true, Shown::kNothing, "HARVEL95.ABC"},
    {"C:\\HARVEL95.ABCD", {}, {}, "", false, Shown::kNameRule, ""},
    {"C:\\HARVEL95.", {}, {}, "", false, Shown::kNameRule, ""},
    {"C:\\HARVELON95", {}, {}, "", false, Shown::kNameRule, ""},
    {"C:\\A.B.C", {}, {}, "", true, Shown::kNothing, "A.B.C"},
    {"C:\\.ABC", {}, {}, "", true, Shown::kNothing, ".ABC"},
    {"C:\\ABCDEFGH.IJKL", {}, {}, "", false, Shown::kNameRule, ""},
    {"C:\\ABCDEFGHIJKLMNOPQRSTUVWXYZ", {}, {}, "", false, Shown::kNameRule, ""},
    {"C:\\HARVEL95 ", {}, {}, "", false, Shown::kNameRule, ""},  // the blank is a ninth byte
    {"C:\\LONGDIRECTORYNAME\\APP", {"LONGDIRECTORYNAME"}, {}, "", true, Shown::kNothing,
     "LONGDIRECTORYNAME/APP"},
    {"C:\\My Apps\\FOO", {"My Apps"}, {}, "", true, Shown::kNothing, "My Apps/FOO"},
    // An empty last element passes the name rule; the directory steps run on the entry as typed.
    {"C:\\LONGDIRECTORYNAME\\", {"LONGDIRECTORYNAME"}, {}, "answer IDYES", true, Shown::kExisting,
     "LONGDIRECTORYNAME"},
    {"C:\\", {}, {}, "answer IDYES", true, Shown::kExisting, ""},
    {"C:\\", {}, {}, "answer IDNO", false, Shown::kExisting, ""},
    // Existence.
    {"C:\\HARVEL95", {"HARVEL95"}, {}, "answer IDYES", true, Shown::kExisting, "HARVEL95"},
    {"C:\\HARVEL95", {"HARVEL95"}, {}, "answer IDNO", false, Shown::kExisting, "HARVEL95"},
    {"C:\\NOPE\\HARVEL95", {}, {}, "", false, Shown::kUnusable, ""},
    {"C:\\README.TXT", {}, {"README.TXT"}, "", false, Shown::kUnusable, ""},
};

class DestinationRules : public Machine, public ::testing::WithParamInterface<Case> {};

TEST_P(DestinationRules, DecidesShowsAndLeavesTheWorkingDirectory) {
  const Case& c = GetParam();
  for (const std::string& d : c.dirs) MakeDir(d);
  for (const std::string& f : c.files) MakeFile(f);
  if (c.answer[0] != '\0') {
    standin::ScriptOperator({c.answer});
  } else if (c.shown != Shown::kNothing) {
    standin::ScriptOperator({"answer IDOK"});  // the rejection boxes have an OK button only
  }

  bool accepted = !c.accepted;
  RunWithOperator([&] { accepted = ValidateDestination(c.entry, 0); });

  EXPECT_EQ(accepted, c.accepted);
  std::vector<standin::Box> boxes = standin::Boxes();
  if (c.shown == Shown::kNothing) {
    EXPECT_TRUE(boxes.empty());
  } else {
    ASSERT_EQ(boxes.size(), 1u);
    struct Expected {
      const char* caption;
      const char* text;
      UINT type;
    };
    const Expected expected[] = {
        {"", "", 0},
        {kIncompleteCaption, kIncompletePath, MB_ICONHAND},
        {kInvalidCaption, kNameTooLong, MB_ICONHAND},
        {kInvalidCaption, kUnusable, MB_ICONHAND},
        {kExistingCaption, kExisting, MB_YESNO | MB_ICONQUESTION},
    };
    const Expected& e = expected[static_cast<int>(c.shown)];
    EXPECT_EQ(boxes[0].caption, e.caption);
    EXPECT_EQ(boxes[0].text, e.text);
    EXPECT_EQ(boxes[0].type, e.type);
  }
  if (c.created[0] != '\0') {
    EXPECT_TRUE(std::filesystem::is_directory(Host(c.created)));
  }
  // Nothing is created by a rejected entry, and nothing but the created directory by an accepted one.
  std::vector<std::string> top = Names("");
  size_t expectedTop = 1 + c.dirs.size() + c.files.size();  // WORK and the seeded ones
  if (c.shown == Shown::kNothing && c.dirs.empty()) ++expectedTop;
  EXPECT_EQ(top.size(), expectedTop);
  EXPECT_EQ(standin::CurrentDir(), "C:\\WORK");
}

INSTANTIATE_TEST_SUITE_P(Entries, DestinationRules, ::testing::ValuesIn(kCases));

// A working directory too long to remember: the existing directory is confirmed without entering
// it, so the process stays where it was whatever the answer; a file is still refused.
using DestinationMachine = Machine;

TEST_F(DestinationMachine, LongWorkingDirectoryIsNeverLeft) {
  std::string deep = "WORK";
  std::string windows = "C:\\WORK";
  while (windows.size() <= MAX_PATH + 10) {
    deep += "/DEEPDIRS";
    windows += "\\DEEPDIRS";
  }
  MakeDir(deep);
  MakeDir("HARVEL95");
  MakeFile("README.TXT");
  standin::SetCurrentDir(windows);

  for (const char* answer : {"answer IDYES", "answer IDNO"}) {
    standin::ScriptOperator({answer});
    bool accepted = false;
    RunWithOperator([&] { accepted = ValidateDestination("C:\\HARVEL95", 0); });
    EXPECT_EQ(accepted, std::string(answer) == "answer IDYES");
    EXPECT_EQ(standin::CurrentDir(), windows);
  }
  standin::ScriptOperator({"answer IDOK"});
  bool accepted = true;
  RunWithOperator([&] { accepted = ValidateDestination("C:\\README.TXT", 0); });
  EXPECT_FALSE(accepted);
  std::vector<standin::Box> boxes = standin::Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, kExisting);
  EXPECT_EQ(boxes[2].text, kUnusable);
  EXPECT_EQ(standin::CurrentDir(), windows);
}

}  // namespace
