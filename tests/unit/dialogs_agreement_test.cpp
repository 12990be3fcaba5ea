// The agreement dialog: what it shows, and how each way of closing it ends.
#include <cstring>

#include "dialogs/agreement_dlg.h"
#include "framework/app.h"
#include "tests/unit/dialogs_test_machine.h"
#include "text/message_catalogue.h"

namespace {

using namespace dialogs_test;

struct Close {
  const char* action;
  INT_PTR result;
  WPARAM lastWParam;  // what the class library's default shut-down would return as exit code
};

void PrintTo(const Close& c, std::ostream* os) { *os << c.action; }

class AgreementClose : public Machine, public ::testing::WithParamInterface<Close> {};

TEST_P(AgreementClose, EndsAtOnceWithoutAQuestion) {
  const Close& c = GetParam();
  standin::ScriptOperator({c.action});
  CAgreementDlg dialog;
  INT_PTR result = 0;
  RunWithOperator([&] { result = dialog.DoModal(); });

  EXPECT_EQ(result, c.result);
  EXPECT_TRUE(standin::Boxes().empty());
  EXPECT_EQ(AfxGetApp()->LastMessage().wParam, c.lastWParam);
}

INSTANTIATE_TEST_SUITE_P(Actions, AgreementClose,
                         ::testing::Values(Close{"enter", IDOK, VK_RETURN},
                                           Close{"click 1", IDOK, 0},
                                           Close{"click 2", IDCANCEL, 0},
                                           Close{"esc", IDCANCEL, VK_ESCAPE}));

TEST_F(Machine, AgreementShowsTheCatalogueTexts) {
  standin::ScriptOperator({"enter"});
  CAgreementDlg dialog;
  RunWithOperator([&] { dialog.DoModal(); });

  std::vector<standin::Dialog> dialogs = standin::Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  const standin::Dialog& shown = dialogs[0];
  EXPECT_EQ(shown.templateId, 129);
  EXPECT_EQ(shown.caption, "Vantrel Software License Agreement");
  EXPECT_EQ(ControlText(shown, IDOK), "&Agree");
  EXPECT_EQ(ControlText(shown, IDCANCEL), "&Cancel");
  EXPECT_EQ(ControlText(shown, 1000), g_catalogue.agreementText);
  EXPECT_EQ(std::strlen(g_catalogue.agreementText), 2580u);
  EXPECT_TRUE(shown.centred);
  EXPECT_EQ(shown.focusId, IDOK);
  // OK exchanged the (read-only) control back into the member.
  EXPECT_STREQ(static_cast<const char*>(dialog.m_agreementText), g_catalogue.agreementText);
}

}  // namespace
