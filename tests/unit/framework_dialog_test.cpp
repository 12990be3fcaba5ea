// The class library's CDialog on the stand-in, in-process: modal results, the keyboard and mouse
// paths to OnOK / OnCancel, data exchange, placement after OnInitDialog, and owned message boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/dialog.h"
#include "standin/control.h"
#include "tests/unit/standin_desktop_templates.h"

namespace {

using namespace desktop_test;

enum {
  kHidden = 200,         // classic, hidden, at 0, 0, no centring style
  kCentredByStyle = 201, // extended, visible, DS_CENTER
  kPlaced = 202,         // classic, hidden, at 10, 10
  kSmall = 203,          // classic, hidden, at 0, 0, smaller
  kMissing = 299,
};

const DWORD kPopup = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

std::vector<unsigned char> TestResources() {
  auto dialog = [](WORD id, bool extended, DWORD style, short x, short y, short cx = 200) {
    return Resource{5, id, BuildTemplate({extended, style, x, y, cx, 100, "Test", StandardItems()})};
  };
  return BuildRes({dialog(kHidden, false, kPopup, 0, 0),
                   dialog(kCentredByStyle, true, kPopup | WS_VISIBLE | DS_CENTER, 0, 0),
                   dialog(kPlaced, false, kPopup, 10, 10),
                   dialog(kSmall, false, kPopup, 0, 0, 120)});
}

// A dialog with an entry bound to the edit field and a few knobs for the cases below.
class TestDlg : public CDialog {
 public:
  explicit TestDlg(UINT id = kHidden, HWND owner = 0) : CDialog(id, owner) {}

  CString entry = "hello";
  bool bindMissingControl = false;  // DDX_Text also on an ID the template lacks
  int refuseOk = 0;                 // OnOK calls to answer by staying open
  bool moveInInit = false;          // OnInitDialog places the dialog itself
  bool showInInit = false;          // OnInitDialog shows the dialog itself
  UINT boxOnOk = 0;                 // OnOK first shows a box of this type (owned or not)
  bool ownBox = true;
  int okCalls = 0, cancelCalls = 0;
  RECT rectAfterInit = {};

  BOOL OnInitDialog() override {
    BOOL result = CDialog::OnInitDialog();
    if (moveInInit) SetWindowPos(m_hWnd, 0, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (showInInit) ShowWindow(m_hWnd, SW_SHOW);
    GetWindowRect(m_hWnd, &rectAfterInit);
    return result;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kEditId, entry);
    if (bindMissingControl) DDX_Text(pDX, 999, entry);
  }
  void OnOK() override {
    ++okCalls;
    if (boxOnOk != 0) {
      if (ownBox) MessageBox("Sure?", "Check", boxOnOk); else ::MessageBoxA(0, "Sure?", "Check", boxOnOk);
    }
    if (refuseOk > 0) {
      --refuseOk;
      return;
    }
    CDialog::OnOK();
  }
  void OnCancel() override {
    ++cancelCalls;
    CDialog::OnCancel();
  }
};

class FrameworkDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    standin::SetExitThrows(true);
    ASSERT_TRUE(standin::SetModuleResources(TestResources()));
  }
  void TearDown() override { standin::Reset(); }

  // Runs the dialog's modal loop; an operator mismatch becomes a failure showing the journal.
  static INT_PTR Run(CDialog& dialog) {
    try {
      return dialog.DoModal();
    } catch (const standin::ProcessExit& exit) {
      std::string journal;
      for (const std::string& line : standin::Journal()) journal += line + "\n";
      ADD_FAILURE() << "the process ended with " << exit.code << "\n" << journal;
      return -2;
    }
  }
  static const MSG& Last() { return AfxGetApp()->LastMessage(); }
};

struct EndCase {
  const char* name;
  std::vector<std::string> script;
  INT_PTR result;
  WPARAM lastWParam;  // of the last message the class library's loop retrieved
  UINT lastMessage;
  int okCalls, cancelCalls;
};

class DialogEnds : public FrameworkDialog, public ::testing::WithParamInterface<EndCase> {};

// Enter and Esc reach OnOK / OnCancel through the dialog manager and leave their key code as the
// last message; a click leaves the button-up's 0.
TEST_P(DialogEnds, ReturnsTheResultAndLeavesTheLastMessage) {
  const EndCase& c = GetParam();
  standin::ScriptOperator(c.script);
  TestDlg dialog;
  EXPECT_EQ(Run(dialog), c.result);
  EXPECT_EQ(Last().message, c.lastMessage);
  EXPECT_EQ(Last().wParam, c.lastWParam);
  EXPECT_EQ(dialog.okCalls, c.okCalls);
  EXPECT_EQ(dialog.cancelCalls, c.cancelCalls);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogEnds,
    ::testing::Values(EndCase{"Enter", {"enter"}, IDOK, VK_RETURN, WM_KEYDOWN, 1, 0},
                      EndCase{"Esc", {"esc"}, IDCANCEL, VK_ESCAPE, WM_KEYDOWN, 0, 1},
                      EndCase{"ClickOk", {"click 1"}, IDOK, 0, WM_LBUTTONUP, 1, 0},
                      EndCase{"ClickCancel", {"click 2"}, IDCANCEL, 0, WM_LBUTTONUP, 0, 1},
                      // A click on the edit field only moves the focus; Enter then still means OK.
                      EndCase{"ClickEditThenEnter", {"click 300", "enter"}, IDOK, VK_RETURN,
                              WM_KEYDOWN, 1, 0}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(FrameworkDialog, CannotBeCreatedGivesMinusOne) {
  TestDlg missing(kMissing);
  EXPECT_EQ(Run(missing), -1);
  EXPECT_TRUE(standin::Dialogs().empty());

  standin::ArmFault("CreateDialogIndirectParamA");
  TestDlg refused;
  EXPECT_EQ(Run(refused), -1);
  EXPECT_EQ(refused.m_hWnd, nullptr);
  EXPECT_TRUE(standin::Dialogs().empty());
}

// An OnOK that does not end the dialog keeps it open for the next action.
TEST_F(FrameworkDialog, OnOkThatDoesNotEndKeepsTheDialogOpen) {
  standin::ScriptOperator({"enter", "click 1"});
  TestDlg dialog;
  dialog.refuseOk = 1;
  EXPECT_EQ(Run(dialog), IDOK);
  EXPECT_EQ(dialog.okCalls, 2);
  EXPECT_EQ(standin::Dialogs().size(), 1u);
}

// The base OnInitDialog fills the controls; OK saves them back. A failed exchange (an ID the
// template lacks) keeps the base OnOK from ending the dialog.
TEST_F(FrameworkDialog, DataExchangeBothWays) {
  standin::ScriptOperator({"type 300 new \\x41\\\\text", "enter"});
  TestDlg dialog;
  EXPECT_EQ(Run(dialog), IDOK);
  ASSERT_EQ(standin::Dialogs().size(), 1u);
  EXPECT_EQ(standin::Dialogs()[0].controls[2], "300 edit hello");
  EXPECT_STREQ(dialog.entry, "new A\\text");

  standin::Reset();
  standin::SetExitThrows(true);
  ASSERT_TRUE(standin::SetModuleResources(TestResources()));
  standin::ScriptOperator({"type 300 changed", "enter", "esc"});
  TestDlg failing;
  failing.bindMissingControl = true;
  EXPECT_EQ(Run(failing), IDCANCEL);
  EXPECT_EQ(failing.okCalls, 1);
}

TEST_F(FrameworkDialog, GetDlgItemOfAnAbsentIdFails) {
  standin::ScriptOperator({"esc"});
  struct Probe : TestDlg {
    HWND absent = reinterpret_cast<HWND>(1), present = 0;
    BOOL OnInitDialog() override {
      absent = GetDlgItem(999);
      present = GetDlgItem(kEditId);
      return TestDlg::OnInitDialog();
    }
  } dialog;
  Run(dialog);
  EXPECT_EQ(dialog.absent, nullptr);
  EXPECT_NE(dialog.present, nullptr);
  EXPECT_EQ(dialog.GetDlgItem(kEditId), nullptr);  // no window once the dialog is gone
}

struct PlaceCase {
  const char* name;
  UINT templateId;
  bool moveInInit;
  bool showInInit;
  bool centred;
};

class DialogPlacement : public FrameworkDialog, public ::testing::WithParamInterface<PlaceCase> {};

// Centred on first showing: a hidden template at 0, 0 by the class library after OnInitDialog, a
// DS_CENTER template by the dialog manager; not a dialog that OnInitDialog placed or showed, nor
// one placed by its template.
TEST_P(DialogPlacement, CentredOnlyByTheRule) {
  const PlaceCase& c = GetParam();
  RECT work = {100, 40, 700, 540};
  standin::SetWorkArea(work);
  standin::ScriptOperator({"esc"});
  TestDlg dialog(c.templateId);
  dialog.moveInInit = c.moveInInit;
  dialog.showInInit = c.showInInit;
  Run(dialog);
  std::vector<standin::Dialog> shown = standin::Dialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].centred, c.centred);
  EXPECT_EQ(shown[0].templateId, static_cast<int>(c.templateId));
  // Shown during its initialisation, it is recorded before the dialog manager sets the focus.
  EXPECT_EQ(shown[0].focusId, c.showInInit ? 0 : IDOK);
  if (c.moveInInit) {
    EXPECT_EQ(dialog.rectAfterInit.left, 5);
    EXPECT_EQ(dialog.rectAfterInit.top, 5);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogPlacement,
    ::testing::Values(PlaceCase{"HiddenAtOrigin", kHidden, false, false, true},
                      PlaceCase{"CentringStyle", kCentredByStyle, false, false, true},
                      PlaceCase{"MovedByOnInitDialog", kHidden, true, false, false},
                      PlaceCase{"ShownByOnInitDialog", kHidden, false, true, false},
                      PlaceCase{"PlacedByTemplate", kPlaced, false, false, false}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

// A hidden template at 0, 0 with an enabled owner stays at the owner's origin.
TEST_F(FrameworkDialog, HiddenDialogWithAnEnabledOwnerIsNotCentred) {
  standin::ScriptOperator({"esc", "esc"});
  struct Outer : TestDlg {
    bool innerCentred = true;
    RECT innerRect = {}, outerRect = {};
    void OnCancel() override {
      TestDlg inner(kSmall, m_hWnd);
      inner.DoModal();
      innerCentred = standin::Dialogs().back().centred;
      innerRect = inner.rectAfterInit;
      GetWindowRect(m_hWnd, &outerRect);
      TestDlg::OnCancel();
    }
  } outer;
  // The outer dialog is shown first; Esc there opens the inner one, owned by the outer.
  Run(outer);
  ASSERT_EQ(standin::Dialogs().size(), 2u);
  EXPECT_TRUE(standin::Dialogs()[0].centred);
  EXPECT_FALSE(outer.innerCentred);
  EXPECT_EQ(outer.innerRect.left, outer.outerRect.left);
  EXPECT_EQ(outer.innerRect.top, outer.outerRect.top);
}

// A box owned by the dialog disables it while it is open and gives it back afterwards; an unowned
// box leaves it alone. Either way the box's own loop leaves the class library's last message.
TEST_F(FrameworkDialog, OwnedMessageBoxDisablesItsDialogWhileOpen) {
  for (bool owned : {true, false}) {
    SCOPED_TRACE(owned ? "owned" : "unowned");
    standin::Reset();
    standin::SetExitThrows(true);
    ASSERT_TRUE(standin::SetModuleResources(TestResources()));
    TestDlg dialog;
    dialog.boxOnOk = MB_OKCANCEL | MB_ICONQUESTION;
    dialog.ownBox = owned;
    std::vector<std::pair<std::string, bool>> seen;
    standin::ObserveOperator([&](const std::string& action) {
      seen.push_back({action, dialog.m_hWnd != 0 && IsWindowEnabled(dialog.m_hWnd)});
    });
    standin::ScriptOperator({"enter", "answer IDCANCEL"});
    EXPECT_EQ(Run(dialog), IDOK);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].second);
    EXPECT_EQ(seen[1].first, "answer IDCANCEL");
    EXPECT_EQ(seen[1].second, !owned);
    EXPECT_EQ(Last().wParam, static_cast<WPARAM>(VK_RETURN));
    std::vector<standin::Box> boxes = standin::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, owned ? "dialog 200" : "");
    EXPECT_EQ(boxes[0].answer, IDCANCEL);
  }
}

}  // namespace
