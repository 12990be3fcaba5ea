// CAgreementDlg: the logo and the licence agreement. OK (Agree) and Cancel are the base class's:
// Cancel ends the dialog at once, without a question.
#include "dialogs/agreement_dlg.h"

#include "res/resource.h"
#include "text/message_catalogue.h"

CAgreementDlg::CAgreementDlg() : CDialog(IDD_AGREEMENT) {}

CAgreementDlg::~CAgreementDlg() {}

void CAgreementDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_AGREEMENT_TEXT, m_agreementText);
}

BOOL CAgreementDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_agreementText = ShowText(g_catalogue.agreementText);
  SetWindowTextA(m_hWnd, ShowText(g_catalogue.agreementCaption));
  SetWindowTextA(GetDlgItem(IDOK), ShowText(g_catalogue.agreeLabel));
  SetWindowTextA(GetDlgItem(IDCANCEL), ShowText(g_catalogue.cancelLabel));
  UpdateData(FALSE);
  return TRUE;
}
