// CAgreementDlg: the logo and the licence agreement, with Agree and Cancel.
#ifndef DIALOGS_AGREEMENT_DLG_H
#define DIALOGS_AGREEMENT_DLG_H

#include "framework/cstring.h"
#include "framework/dialog.h"

class CAgreementDlg : public CDialog {
 public:
  // Template 129, no parent window.
  CAgreementDlg();
  ~CAgreementDlg() override;

  CString m_agreementText;  // shown in the read-only edit control 1000

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Fills the agreement, the caption and the Agree / Cancel labels from the catalogue.
  BOOL OnInitDialog() override;
};

#endif  // DIALOGS_AGREEMENT_DLG_H
