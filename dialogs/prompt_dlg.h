// CPromptDlg: one entry field under a prompt; asks for the destination or the group name, as the
// prompt mode of SetupState says, and stores the accepted entry there.
#ifndef DIALOGS_PROMPT_DLG_H
#define DIALOGS_PROMPT_DLG_H

#include "framework/cstring.h"
#include "framework/dialog.h"

class CPromptDlg : public CDialog {
 public:
  // Template 102, no parent window. One object may run several times, one mode each.
  CPromptDlg();
  ~CPromptDlg() override;

  CString m_entryText;   // edit control 1000: the value typed, starting as the mode's default
  CString m_promptText;  // static control 1001: the question

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Fills both fields for the current mode, the caption and the OK / Cancel labels; limits the
  // entry to what the mode can store.
  BOOL OnInitDialog() override;
  // Group: stores the entry as typed. Destination: validates it, stores it in upper case.
  void OnOK() override;
  // Asks first; No keeps the dialog open.
  void OnCancel() override;
};

#endif  // DIALOGS_PROMPT_DLG_H
