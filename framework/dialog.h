// CDialog, CDataExchange and DDX_Text: modal dialogs from templates, with data exchange.
#ifndef FRAMEWORK_DIALOG_H
#define FRAMEWORK_DIALOG_H

#include "framework/cstring.h"
#include "win32/api.h"

class CDialog;

// One run of data exchange between a dialog's controls and its members.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate);
  // The control that the next exchange works on; 0 (and the exchange failed) when there is none.
  HWND PrepareCtrl(int id);
  // Marks the exchange as failed.
  void Fail() { m_bFailed = TRUE; }

  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CDialog* m_pDlgWnd;
  BOOL m_bFailed;
};

// Moves the text of control id into value (saving) or the value into the control.
void DDX_Text(CDataExchange* pDX, int id, CString& value);

class CDialog {
 public:
  // Constructed with the number of its dialog template; the owner window is optional.
  explicit CDialog(UINT templateId, HWND parent = 0);
  virtual ~CDialog();

  // Creates the dialog from its template and runs its modal loop until EndDialog.
  // Returns the EndDialog result, or -1 when the dialog cannot be created.
  virtual INT_PTR DoModal();

  // Called once the controls exist, before the dialog is first shown; base: UpdateData(FALSE),
  // then TRUE so that the dialog manager sets the initial focus.
  virtual BOOL OnInitDialog();
  // Called for IDOK (the OK button or Enter); base: UpdateData(TRUE), then EndDialog(IDOK).
  virtual void OnOK();
  // Called for IDCANCEL (the Cancel button or Esc); base: EndDialog(IDCANCEL).
  virtual void OnCancel();
  // Called by UpdateData to move data between controls and members; base: nothing.
  virtual void DoDataExchange(CDataExchange* pDX);

  // Runs DoDataExchange in one direction; FALSE when the exchange failed.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // Ends the modal loop; DoModal returns result.
  void EndDialog(int result);
  // The control with the given ID, 0 when the template has none.
  HWND GetDlgItem(int id) const;
  // A message box owned by this dialog.
  int MessageBox(LPCSTR text, LPCSTR caption, UINT type);

  HWND m_hWnd;  // the dialog window while it exists, else 0

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL HandleInitDialog();

  UINT template_id_;
  HWND parent_;
  int result_;
  bool ended_;
  // Header fields of the template, read before creation, for the centring rule.
  DWORD template_style_;
  short template_x_;
  short template_y_;

  CDialog(const CDialog&);
  CDialog& operator=(const CDialog&);
};

#endif  // FRAMEWORK_DIALOG_H
