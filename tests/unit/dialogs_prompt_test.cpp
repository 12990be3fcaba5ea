// The prompt dialog in both modes: what it shows, what it stores, its boxes, and cancelling.
#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/prompt_dlg.h"
#include "res/resource.h"
#include "tests/unit/dialogs_test_machine.h"

namespace {

using namespace dialogs_test;

const char kDefaultDestination[] = "C:\\HARVEL95";
const char kDefaultGroup[] = "Harvelon for Windows 95";
const char kDestinationPrompt[] =
    "\nWelcome to Harvelon Setup for Windows 95!\n\nThis installation requires about 5MB of disk "
    "space.\n\nPlease choose your installation directory,\nthen press ENTER or click on OK";
const char kGroupPrompt[] = "\n\nPlease choose a preferred Groupname,\n\nthen press ENTER or click on OK";

// A prompt dialog that reports the entry field's limit and can put a text into the field past
// that limit (as a paste or another program could), after the dialog's own initialisation.
class ProbedPromptDlg : public CPromptDlg {
 public:
  LRESULT limit = -1;
  bool inject = false;
  std::string injected;

 protected:
  BOOL OnInitDialog() override {
    BOOL result = CPromptDlg::OnInitDialog();
    limit = SendMessageA(GetDlgItem(IDC_PROMPT_ENTRY), EM_GETLIMITTEXT, 0, 0);
    if (inject) SetWindowTextA(GetDlgItem(IDC_PROMPT_ENTRY), injected.c_str());
    return result;
  }
};

INT_PTR RunModal(CPromptDlg& dialog, PromptMode mode) {
  g_setup.promptMode = mode;
  INT_PTR result = 0;
  RunWithOperator([&] { result = dialog.DoModal(); });
  return result;
}

struct ModeCase {
  PromptMode mode;
  const char* defaultEntry;
  const char* prompt;
  LRESULT limit;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << (c.mode == Destination ? "Destination" : "Group"); }

class PromptModes : public Machine, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(PromptModes, ShowsTheModesTextsAndAcceptsTheDefault) {
  const ModeCase& c = GetParam();
  standin::ScriptOperator({"enter"});
  ProbedPromptDlg dialog;
  EXPECT_EQ(RunModal(dialog, c.mode), IDOK);

  std::vector<standin::Dialog> dialogs = standin::Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].templateId, 102);
  EXPECT_EQ(dialogs[0].caption, "Harvelon Setup for Windows 95");
  EXPECT_EQ(ControlText(dialogs[0], IDOK), "&OK");
  EXPECT_EQ(ControlText(dialogs[0], IDCANCEL), "&Cancel");
  EXPECT_EQ(ControlText(dialogs[0], 1000), c.defaultEntry);
  EXPECT_EQ(ControlText(dialogs[0], 1001), c.prompt);
  EXPECT_TRUE(dialogs[0].centred);
  EXPECT_EQ(dialogs[0].focusId, IDOK);
  EXPECT_EQ(dialog.limit, c.limit);
  EXPECT_TRUE(standin::Boxes().empty());
  if (c.mode == Destination) {
    EXPECT_STREQ(g_setup.installDirectory, "C:\\HARVEL95");
    EXPECT_TRUE(std::filesystem::is_directory(Host("HARVEL95")));
    EXPECT_STREQ(g_setup.groupName, "");
  } else {
    EXPECT_STREQ(g_setup.groupName, kDefaultGroup);
    EXPECT_STREQ(g_setup.installDirectory, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PromptModes,
    ::testing::Values(ModeCase{Destination, kDefaultDestination, kDestinationPrompt, kMaxInstallDirectory},
                      ModeCase{Group, kDefaultGroup, kGroupPrompt, kMaxGroupName}));

using PromptDialog = Machine;

// One object asks both questions; the second run starts from the default group name.
TEST_F(PromptDialog, SameObjectAsksBothQuestions) {
  MakeDir("APPS");
  standin::ScriptOperator({standin::TypeAction(1000, "C:\\APPS\\OTHER"), "enter", "enter"});
  CPromptDlg dialog;
  EXPECT_EQ(RunModal(dialog, Destination), IDOK);
  EXPECT_EQ(RunModal(dialog, Group), IDOK);

  std::vector<standin::Dialog> dialogs = standin::Dialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(ControlText(dialogs[1], 1000), kDefaultGroup);
  EXPECT_EQ(ControlText(dialogs[1], 1001), kGroupPrompt);
  EXPECT_STREQ(g_setup.installDirectory, "C:\\APPS\\OTHER");
  EXPECT_STREQ(g_setup.groupName, kDefaultGroup);
}

struct CaseCase {
  PromptMode mode;
  const char* typed;
  const char* stored;
  const char* hostName;  // the directory as created on the host ("" in Group mode)
};

void PrintTo(const CaseCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class PromptLetterCase : public Machine, public ::testing::WithParamInterface<CaseCase> {};

// Only a to z are upper-cased, only in the stored install directory; the field and the created
// directory keep the typed name; group names are stored as typed, blanks and empty included.
TEST_P(PromptLetterCase, StoresTheEntry) {
  const CaseCase& c = GetParam();
  standin::ScriptOperator({standin::TypeAction(1000, c.typed), "enter"});
  CPromptDlg dialog;
  EXPECT_EQ(RunModal(dialog, c.mode), IDOK);

  EXPECT_STREQ(static_cast<const char*>(dialog.m_entryText), c.typed);
  if (c.mode == Destination) {
    EXPECT_STREQ(g_setup.installDirectory, c.stored);
    std::vector<std::string> names = Names("");
    EXPECT_NE(std::find(names.begin(), names.end(), c.hostName), names.end())
        << "created as typed";
  } else {
    EXPECT_STREQ(g_setup.groupName, c.stored);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, PromptLetterCase,
    ::testing::Values(CaseCase{Destination, "c:\\harvel95", "C:\\HARVEL95", "harvel95"},
                      CaseCase{Destination, "c:\\Caf\xe9\xe0z", "C:\\CAF\xe9\xe0Z", "Caf\xe9\xe0z"},
                      CaseCase{Group, "my Group \xe9", "my Group \xe9", ""},
                      CaseCase{Group, "   ", "   ", ""},
                      CaseCase{Group, "", "", ""}));

struct BoxCase {
  const char* typed;
  bool existing;  // C:\HARVEL95 exists beforehand
  const char* answer;
  const char* caption;
  const char* text;
  UINT type;
  const char* owner;  // "" for no owner
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class PromptBoxes : public Machine, public ::testing::WithParamInterface<BoxCase> {};

// Each refusal shows its box; only the name-rule box is owned by the dialog, which stays open
// with the entry as typed until the user cancels.
TEST_P(PromptBoxes, RefusalShowsItsBoxAndKeepsTheDialogOpen) {
  const BoxCase& c = GetParam();
  if (c.existing) MakeDir("HARVEL95");
  standin::ScriptOperator({standin::TypeAction(1000, c.typed), "enter", c.answer, "esc", "answer IDYES"});
  CPromptDlg dialog;
  EXPECT_EQ(RunModal(dialog, Destination), IDCANCEL);

  std::vector<standin::Box> boxes = standin::Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, c.caption);
  EXPECT_EQ(boxes[0].text, c.text);
  EXPECT_EQ(boxes[0].type, c.type);
  EXPECT_EQ(boxes[0].owner, c.owner);
  EXPECT_EQ(boxes[1].text, kCancelQuestion);
  EXPECT_STREQ(static_cast<const char*>(dialog.m_entryText), c.typed);
  EXPECT_STREQ(g_setup.installDirectory, "");
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, PromptBoxes,
    ::testing::Values(
        BoxCase{"HARVEL95", false, "answer IDOK", kIncompleteCaption, kIncompletePath, MB_ICONHAND, ""},
        BoxCase{"C:\\HARVELON95", false, "answer IDOK", kInvalidCaption, kNameTooLong, MB_ICONHAND,
                "dialog 102"},
        BoxCase{"C:\\NOPE\\HARVEL95", false, "answer IDOK", kInvalidCaption, kUnusable, MB_ICONHAND, ""},
        BoxCase{"C:\\HARVEL95", true, "answer IDNO", kExistingCaption, kExisting,
                MB_YESNO | MB_ICONQUESTION, ""}));

struct CancelCase {
  PromptMode mode;
  std::vector<std::string> actions;
  INT_PTR result;
  size_t questions;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
  for (const std::string& a : c.actions) *os << a << "; ";
}

class PromptCancel : public Machine, public ::testing::WithParamInterface<CancelCase> {};

// Cancel and Esc ask first (no owner); Yes ends the dialog with nothing stored, No keeps it open.
TEST_P(PromptCancel, AsksBeforeCancelling) {
  const CancelCase& c = GetParam();
  standin::ScriptOperator(c.actions);
  CPromptDlg dialog;
  EXPECT_EQ(RunModal(dialog, c.mode), c.result);

  std::vector<standin::Box> boxes = standin::Boxes();
  ASSERT_EQ(boxes.size(), c.questions);
  for (const standin::Box& box : boxes) {
    EXPECT_EQ(box.caption, kCancelCaption);
    EXPECT_EQ(box.text, kCancelQuestion);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(box.owner, "");
  }
  bool stored = g_setup.installDirectory[0] != '\0' || g_setup.groupName[0] != '\0';
  EXPECT_EQ(stored, c.result == IDOK);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PromptCancel,
    ::testing::Values(CancelCase{Destination, {"click 2", "answer IDYES"}, IDCANCEL, 1},
                      CancelCase{Destination, {"esc", "answer IDYES"}, IDCANCEL, 1},
                      CancelCase{Destination, {"click 2", "answer IDNO", "enter"}, IDOK, 1},
                      CancelCase{Group, {"esc", "answer IDNO", "esc", "answer IDNO", "click 1"}, IDOK, 2},
                      CancelCase{Group, {"click 2", "answer IDYES"}, IDCANCEL, 1}));

// An entry of kMaxGroupName characters, or a destination of kMaxInstallDirectory, is taken whole;
// one character more is refused with the unusable-entry box before the file system is touched,
// and nothing is stored.
struct LengthCase {
  PromptMode mode;
  size_t length;
  bool accepted;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
  *os << (c.mode == Destination ? "Destination " : "Group ") << c.length;
}

class PromptLength : public Machine, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(PromptLength, TakesWholeOrRefuses) {
  const LengthCase& c = GetParam();
  std::string text;
  if (c.mode == Destination) {
    // C:\ and twelve levels of 8 letters (111 characters), then a last element of 3 or 4.
    std::string host;
    text = "C:\\";
    for (int i = 0; i < 12; ++i) {
      text += "AAAAAAAA\\";
      host += "AAAAAAAA/";
    }
    MakeDir(host);
    text += std::string(c.length - text.size(), 'B');
  } else {
    text = std::string(c.length, 'g');
  }
  ASSERT_EQ(text.size(), c.length);

  ProbedPromptDlg dialog;
  dialog.inject = true;
  dialog.injected = text;
  if (c.accepted) {
    standin::ScriptOperator({"enter"});
  } else {
    standin::ScriptOperator({"enter", "answer IDOK", "esc", "answer IDYES"});
  }
  EXPECT_EQ(RunModal(dialog, c.mode), c.accepted ? IDOK : IDCANCEL);

  const char* stored = c.mode == Destination ? g_setup.installDirectory : g_setup.groupName;
  if (c.accepted) {
    EXPECT_EQ(stored, text);
    EXPECT_TRUE(standin::Boxes().empty());
  } else {
    EXPECT_STREQ(stored, "");
    std::vector<standin::Box> boxes = standin::Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].caption, kInvalidCaption);
    EXPECT_EQ(boxes[0].text, kUnusable);
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(boxes[0].owner, "");
    EXPECT_EQ(standin::CallCount("CreateDirectoryA"), 0);
    EXPECT_EQ(standin::CallCount("SetCurrentDirectoryA"), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, PromptLength,
                         ::testing::Values(LengthCase{Destination, kMaxInstallDirectory, true},
                                           LengthCase{Destination, kMaxInstallDirectory + 1, false},
                                           LengthCase{Group, kMaxGroupName, true},
                                           LengthCase{Group, kMaxGroupName + 1, false},
                                           LengthCase{Group, 600, false}));

}  // namespace
