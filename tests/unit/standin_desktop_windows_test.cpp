// The stand-in's desktop through the raw API: texts, edit limits, focus, the dialog manager's
// Enter / Esc / click routing, the queue, the operator's mismatches and message boxes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "standin/control.h"
#include "tests/unit/standin_desktop_templates.h"

namespace {

using namespace desktop_test;

// What the dialog procedure saw, and what it answers to WM_INITDIALOG.
struct ProcLog {
  std::vector<WPARAM> commands;
  LPARAM initParam = 0;
  BOOL initResult = TRUE;
};
ProcLog g_log;

INT_PTR CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    g_log.initParam = lParam;
    return g_log.initResult;
  }
  if (message == WM_COMMAND) g_log.commands.push_back(wParam);
  return FALSE;
}

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    standin::SetExitThrows(true);
    g_log = ProcLog();
  }
  void TearDown() override { standin::Reset(); }

  HWND Create(const Template& t, HWND owner = 0) {
    bytes_ = BuildTemplate(t);
    return CreateDialogIndirectParamA(0, reinterpret_cast<LPCDLGTEMPLATEA>(bytes_.data()), owner,
                                      RecordingProc, 42);
  }
  HWND CreateStandard(DWORD extraStyle = WS_VISIBLE) {
    return Create({false, static_cast<DWORD>(WS_POPUP | WS_CAPTION | extraStyle), 0, 0, 200, 100, "Raw",
                   StandardItems()});
  }
  // The exit code when fn ends the process, -1 when it returns.
  template <typename Fn>
  static int ExitOf(Fn fn) {
    try {
      fn();
    } catch (const standin::ProcessExit& exit) {
      return static_cast<int>(exit.code);
    }
    return -1;
  }
  static std::string LastJournalLine(const char* prefix) {
    std::string found;
    for (const std::string& line : standin::Journal())
      if (line.compare(0, std::strlen(prefix), prefix) == 0) found = line;
    return found;
  }

  std::vector<unsigned char> bytes_;
};

TEST_F(Desktop, DialogAndControlsFromTheTemplate) {
  HWND dialog = CreateStandard();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(g_log.initParam, 42);
  std::vector<HWND> handles = {dialog};
  for (int id : {IDOK, IDCANCEL, int(kEditId), int(kStaticId)}) {
    HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr) << id;
    EXPECT_EQ(GetDlgCtrlID(control), id);
    for (HWND other : handles) EXPECT_NE(control, other);
    handles.push_back(control);
  }
  EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);

  // Control rectangles in pixels: 6/4 across and 13/8 down per dialog unit, inside the dialog.
  RECT d, ok;
  GetWindowRect(dialog, &d);
  GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
  EXPECT_EQ(d.right - d.left, 300);
  EXPECT_EQ(d.bottom - d.top, 162);
  EXPECT_EQ(ok.left - d.left, 30);
  EXPECT_EQ(ok.top - d.top, 130);

  std::vector<standin::Dialog> shown = standin::Dialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Raw");
  EXPECT_EQ(shown[0].controls,
            (std::vector<std::string>{"1 button OK", "2 button Cancel", "300 edit ", "301 static Question"}));
  EXPECT_FALSE(shown[0].centred);
  EXPECT_EQ(shown[0].focusId, IDOK);

  EXPECT_TRUE(DestroyWindow(dialog));
  for (HWND h : handles) EXPECT_FALSE(IsWindow(h));
}

// A hidden template stays hidden until shown, and is recorded only then.
TEST_F(Desktop, HiddenDialogIsRecordedWhenFirstShown) {
  HWND dialog = CreateStandard(0);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDOK)));
  EXPECT_TRUE(standin::Dialogs().empty());
  SetWindowTextA(dialog, "Renamed");
  ShowWindow(dialog, SW_SHOWNORMAL);
  ShowWindow(dialog, SW_HIDE);
  ShowWindow(dialog, SW_SHOWNORMAL);
  ASSERT_EQ(standin::Dialogs().size(), 1u);
  EXPECT_EQ(standin::Dialogs()[0].caption, "Renamed");
}

TEST_F(Desktop, FocusAfterInitDialog) {
  // TRUE: the first control with a tab stop that is enabled; FALSE: the procedure's own choice.
  std::vector<Item> items = StandardItems();
  items[0].style |= WS_DISABLED;
  HWND dialog = Create({false, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, "F", items});
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL));
  DestroyWindow(dialog);

  g_log.initResult = FALSE;
  dialog = CreateStandard();
  EXPECT_EQ(GetFocus(), nullptr);
}

struct TextCase {
  int bufferSize;
  int result;
  const char* text;
};

// GetWindowTextA and WM_GETTEXT copy what fits with a NUL and return the characters copied.
TEST_F(Desktop, TextIsCutToTheCallersBuffer) {
  HWND dialog = CreateStandard();
  HWND label = GetDlgItem(dialog, kStaticId);
  ASSERT_TRUE(SetWindowTextA(label, "Question"));
  EXPECT_EQ(GetWindowTextLengthA(label), 8);
  EXPECT_EQ(SendMessageA(label, WM_GETTEXTLENGTH, 0, 0), 8);
  for (const TextCase& c : {TextCase{0, 0, "#####"}, TextCase{1, 0, ""}, TextCase{4, 3, "Que"},
                            TextCase{9, 8, "Question"}, TextCase{64, 8, "Question"}}) {
    char buffer[80];
    std::memset(buffer, '#', sizeof buffer);
    buffer[5] = '\0';
    EXPECT_EQ(GetWindowTextA(label, buffer, c.bufferSize), c.result) << c.bufferSize;
    EXPECT_STREQ(buffer, c.text) << c.bufferSize;
    std::memset(buffer, '#', sizeof buffer);
    buffer[5] = '\0';
    EXPECT_EQ(SendMessageA(label, WM_GETTEXT, c.bufferSize, reinterpret_cast<LPARAM>(buffer)),
              c.result);
    EXPECT_STREQ(buffer, c.text) << c.bufferSize;
    EXPECT_EQ(buffer[c.bufferSize < 64 ? c.bufferSize : 63], '#');  // nothing written past it
  }
  EXPECT_EQ(GetWindowTextLengthA(reinterpret_cast<HWND>(0x1234)), 0);
}

// EM_LIMITTEXT limits what the operator types, not what the program sets.
TEST_F(Desktop, EditLimitAppliesToTypingOnly) {
  HWND dialog = CreateStandard();
  HWND edit = GetDlgItem(dialog, kEditId);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  SendMessageA(edit, EM_LIMITTEXT, 5, 0);
  SetWindowTextA(edit, "abcdefgh");
  char buffer[16];
  GetWindowTextA(edit, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "abcdefgh");

  standin::ScriptOperator({"type 300 12\\t4\\x415678", "esc"});
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));  // the typing posts nothing; Esc does
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msg.hwnd, edit);  // typing moved the focus there
  GetWindowTextA(edit, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "12\t4A");
}

struct KeyCase {
  const char* name;
  std::vector<std::string> script;
  int focusId;              // 0: leave the initial focus
  bool withDefaultButton;
  std::vector<WPARAM> commands;
};

class DialogManager : public Desktop, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogManager, RoutesKeysAndClicksToCommands) {
  const KeyCase& c = GetParam();
  std::vector<Item> items = StandardItems();
  if (!c.withDefaultButton) items[0].style &= ~static_cast<DWORD>(BS_DEFPUSHBUTTON);
  items[0].id = 7;  // so that "the default button" and IDOK differ
  HWND dialog = Create({false, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, "K", items});
  if (c.focusId != 0) SetFocus(GetDlgItem(dialog, c.focusId));
  standin::ScriptOperator(c.script);
  MSG msg;
  // Mouse actions post two messages: take every message the script leads to.
  size_t posted = 0;
  for (const std::string& a : c.script) posted += a.compare(0, 5, "click") == 0 ? 2 : 1;
  for (size_t i = 0; i < posted; ++i) {
    ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));
    EXPECT_TRUE(IsDialogMessageA(dialog, &msg));
  }
  EXPECT_EQ(g_log.commands, c.commands);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogManager,
    ::testing::Values(
        KeyCase{"EnterPressesTheDefaultButton", {"enter"}, kEditId, true, {MAKEWPARAM(7, BN_CLICKED)}},
        KeyCase{"EnterWithoutDefaultIsIdok", {"enter"}, kEditId, false, {MAKEWPARAM(IDOK, BN_CLICKED)}},
        // The default moves with the dialog manager's Tab, not with SetFocus or a click (as in Wine).
        KeyCase{"EnterIgnoresSetFocus", {"enter"}, IDCANCEL, true, {MAKEWPARAM(7, BN_CLICKED)}},
        KeyCase{"EnterAfterAClick", {"click 2", "enter"}, 0, true,
                {MAKEWPARAM(IDCANCEL, BN_CLICKED), MAKEWPARAM(7, BN_CLICKED)}},
        KeyCase{"TabToAButtonMakesItTheDefault", {"tab", "enter"}, 0, true,
                {MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        KeyCase{"TabOnToTheEditGivesTheDefaultBack", {"tab", "tab", "enter"}, 0, true,
                {MAKEWPARAM(7, BN_CLICKED)}},
        KeyCase{"EscIsIdcancel", {"esc"}, 0, true, {MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        KeyCase{"ClickAButton", {"click 2"}, 0, true, {MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        KeyCase{"ClickAStaticIsNoCommand", {"click 301"}, 0, true, {}}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Messages for other windows are not the dialog's.
TEST_F(Desktop, IsDialogMessageOnlyForItsOwnWindows) {
  HWND first = CreateStandard();
  HWND second = CreateStandard();
  MSG msg = {};
  msg.hwnd = GetDlgItem(second, IDOK);
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_ESCAPE;
  EXPECT_FALSE(IsDialogMessageA(first, &msg));
  EXPECT_TRUE(g_log.commands.empty());
  EXPECT_TRUE(IsDialogMessageA(second, &msg));
  EXPECT_EQ(g_log.commands.size(), 1u);
}

TEST_F(Desktop, QueueOrderAndQuit) {
  HWND dialog = CreateStandard();
  PostMessageA(dialog, WM_NULL, 1, 0);
  PostQuitMessage(9);
  PostMessageA(dialog, WM_NULL, 2, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));
  EXPECT_EQ(msg.wParam, 1u);
  ASSERT_TRUE(GetMessageA(&msg, 0, 0, 0));
  EXPECT_EQ(msg.wParam, 2u);
  EXPECT_FALSE(GetMessageA(&msg, 0, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 9u);
}

struct MismatchCase {
  const char* name;
  std::vector<std::string> script;
  DWORD okStyle;  // extra style of the OK button
};

class OperatorMismatch : public Desktop, public ::testing::WithParamInterface<MismatchCase> {};

// An action that does not fit the dialog in front ends the process with the operator fault.
TEST_P(OperatorMismatch, EndsTheProcess) {
  const MismatchCase& c = GetParam();
  std::vector<Item> items = StandardItems();
  items[0].style |= c.okStyle;
  HWND dialog = Create({false, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, "M", items});
  standin::ScriptOperator(c.script);
  EXPECT_EQ(ExitOf([&] {
              MSG msg;
              while (GetMessageA(&msg, 0, 0, 0)) IsDialogMessageA(dialog, &msg);
            }),
            standin::kOperatorFault);
  EXPECT_NE(LastJournalLine("operator: "), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OperatorMismatch,
    ::testing::Values(MismatchCase{"BoxAnswerForADialog", {"answer IDYES"}, 0},
                      MismatchCase{"UnknownControl", {"click 999"}, 0},
                      MismatchCase{"NoActionLeft", {}, 0},
                      MismatchCase{"TypingIntoAStatic", {"type 301 x"}, 0},
                      MismatchCase{"ClickOnADisabledButton", {"click 1"}, WS_DISABLED},
                      MismatchCase{"UnknownAction", {"wave"}, 0}),
    [](const ::testing::TestParamInfo<MismatchCase>& info) { return std::string(info.param.name); });

TEST_F(Desktop, NoDialogToActOnIsAnOperatorFault) {
  standin::ScriptOperator({"enter"});
  MSG msg;
  EXPECT_EQ(ExitOf([&] { GetMessageA(&msg, 0, 0, 0); }), standin::kOperatorFault);
}

struct BoxCase {
  const char* name;
  UINT type;
  const char* action;
  int answer;  // 0: the operator fault
};

class MessageBoxes : public Desktop, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxes, TakeOnlyAnAnswerTheBoxHas) {
  const BoxCase& c = GetParam();
  standin::ScriptOperator({c.action});
  int answer = -1;
  int exit = ExitOf([&] { answer = MessageBoxA(0, "Text\nmore", "Caption", c.type); });
  if (c.answer == 0) {
    EXPECT_EQ(exit, standin::kOperatorFault);
    EXPECT_TRUE(standin::Boxes().empty());
    return;
  }
  EXPECT_EQ(exit, -1);
  EXPECT_EQ(answer, c.answer);
  std::vector<standin::Box> boxes = standin::Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Caption");
  EXPECT_EQ(boxes[0].text, "Text\nmore");
  EXPECT_EQ(boxes[0].type, c.type);
  EXPECT_EQ(boxes[0].owner, "");
  EXPECT_EQ(boxes[0].answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageBoxes,
    ::testing::Values(BoxCase{"OkAnswered", MB_OK | MB_ICONHAND, "answer IDOK", IDOK},
                      BoxCase{"OkRefusesCancel", MB_OK, "answer IDCANCEL", 0},
                      BoxCase{"OkCancelCancelled", MB_OKCANCEL, "answer IDCANCEL", IDCANCEL},
                      BoxCase{"YesNoNo", MB_YESNO | MB_ICONQUESTION, "answer IDNO", IDNO},
                      BoxCase{"YesNoRefusesOk", MB_YESNO, "answer IDOK", 0},
                      BoxCase{"KeysAreNotAnswers", MB_YESNO, "enter", 0},
                      BoxCase{"ClickIsNotAnAnswer", MB_OK, "click 1", 0}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST_F(Desktop, MessageBoxJournalAndFault) {
  standin::ScriptOperator({"answer IDYES", "answer IDOK"});
  EXPECT_EQ(MessageBoxA(0, "Go \"on\"?", "Ask", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(LastJournalLine("box "),
            "box owner=\"\" type=0x24 caption=\"Ask\" text=\"Go \\\"on\\\"?\" -> IDYES");

  // A failing box shows nothing, takes no action and returns 0.
  standin::ArmFault("MessageBoxA");
  EXPECT_EQ(MessageBoxA(0, "x", "y", MB_OK), 0);
  EXPECT_EQ(standin::Boxes().size(), 1u);
  EXPECT_EQ(MessageBoxA(0, "x", "y", MB_OK), IDOK);

  // So does a box whose owner is no window.
  standin::ScriptOperator({"answer IDOK"});
  EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x1234), "x", "y", MB_OK), 0);
  EXPECT_EQ(standin::Boxes().size(), 2u);
}

// The owner is disabled while the box is open and given back only what it had: a dialog that was
// disabled before stays disabled.
TEST_F(Desktop, BoxOwnerIsDisabledWhileOpen) {
  for (bool enabledBefore : {true, false}) {
    SCOPED_TRACE(enabledBefore ? "enabled before" : "disabled before");
    standin::Reset();
    standin::SetExitThrows(true);
    HWND dialog = CreateStandard();
    EnableWindow(dialog, enabledBefore);
    bool enabledWhileOpen = true;
    standin::ObserveOperator([&](const std::string&) { enabledWhileOpen = IsWindowEnabled(dialog); });
    standin::ScriptOperator({"answer IDOK"});
    EXPECT_EQ(MessageBoxA(GetDlgItem(dialog, kEditId), "t", "c", MB_OK), IDOK);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_EQ(IsWindowEnabled(dialog) != 0, enabledBefore);
    EXPECT_EQ(standin::Boxes().at(0).owner, "dialog 0");  // a template that is no resource
  }
}

// DS_CENTER centres in the work area, or over the owner when there is one.
TEST_F(Desktop, CentringStyle) {
  RECT work = {0, 100, 600, 500};
  standin::SetWorkArea(work);
  RECT got;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &got, 0));
  EXPECT_EQ(got.top, 100);
  Template small{false, WS_POPUP | WS_VISIBLE | DS_CENTER, 0, 0, 100, 40, "C", StandardItems()};
  HWND alone = Create(small);
  RECT r;
  GetWindowRect(alone, &r);
  EXPECT_EQ(r.left, (600 - 150) / 2);
  EXPECT_EQ(r.top, 100 + (400 - 65) / 2);
  EXPECT_TRUE(standin::Dialogs().back().centred);

  SetWindowPos(alone, 0, 10, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Template smaller = small;
  smaller.cx = 40;
  smaller.cy = 16;
  HWND owned = Create(smaller, alone);
  GetWindowRect(owned, &r);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), alone);
  EXPECT_EQ(r.left, 10 + (150 - 60) / 2);
  EXPECT_EQ(r.top, 120 + (65 - 26) / 2);
  EXPECT_FALSE(standin::Dialogs().back().centred);
}

}  // namespace
