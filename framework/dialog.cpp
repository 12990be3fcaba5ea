// CDialog and data exchange, written once over win32/api.h: the real dialog manager on Windows,
// the stand-in's elsewhere. The modal loop is the class library's own, so that the last message
// it retrieves decides the exit code.
#include "framework/dialog.h"

#include "framework/app.h"
#include "runtime/rt.h"

namespace {

WORD ReadWord(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

DWORD ReadDword(const unsigned char* p) {
  return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
         (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}

// Centres the window in the work area of the screen.
void CentreInWorkArea(HWND hwnd) {
  RECT work;
  RECT window;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  if (!GetWindowRect(hwnd, &window)) return;
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = work.left + ((work.right - work.left) - width) / 2;
  int y = work.top + ((work.bottom - work.top) - height) / 2;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(hwnd, 0, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CDataExchange::CDataExchange(CDialog* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog), m_bFailed(FALSE) {}

HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = m_pDlgWnd->GetDlgItem(id);
  if (control == 0) Fail();
  return control;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  HWND control = pDX->PrepareCtrl(id);
  if (control == 0) return;
  if (!pDX->m_bSaveAndValidate) {
    SetWindowTextA(control, value);
    return;
  }
  int length = GetWindowTextLengthA(control);
  char* buffer = value.GetBuffer(length);
  if (buffer == 0) {
    pDX->Fail();
    return;
  }
  int got = GetWindowTextA(control, buffer, length + 1);
  value.ReleaseBuffer(got < 0 ? 0 : got);
}

CDialog::CDialog(UINT templateId, HWND parent)
    : m_hWnd(0), template_id_(templateId), parent_(parent), result_(-1), ended_(false),
      template_style_(0), template_x_(0), template_y_(0) {}

CDialog::~CDialog() {
  if (m_hWnd != 0) DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (m_hWnd == 0) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.m_bFailed;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
}

HWND CDialog::GetDlgItem(int id) const { return m_hWnd != 0 ? ::GetDlgItem(m_hWnd, id) : 0; }

int CDialog::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  return ::MessageBoxA(m_hWnd, text, caption, type);
}

BOOL CDialog::HandleInitDialog() {
  RECT before;
  bool hadRect = GetWindowRect(m_hWnd, &before) != 0;
  bool wasVisible = IsWindowVisible(m_hWnd) != 0;
  BOOL result = OnInitDialog();
  // A modal dialog hidden until now, still hidden, unmoved, without an enabled owner and placed at
  // 0, 0 by a template without DS_CENTER is centred in the work area.
  RECT after;
  HWND owner = GetWindow(m_hWnd, GW_OWNER);
  if (hadRect && !wasVisible && !IsWindowVisible(m_hWnd) && GetWindowRect(m_hWnd, &after) &&
      after.left == before.left && after.top == before.top &&
      (owner == 0 || !IsWindowEnabled(owner)) && template_x_ == 0 && template_y_ == 0 &&
      (template_style_ & DS_CENTER) == 0) {
    CentreInWorkArea(m_hWnd);
  }
  return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    dialog->m_hWnd = hwnd;
    return dialog->HandleInitDialog();
  }
  CDialog* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (dialog == 0) return FALSE;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      dialog->OnOK();
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      dialog->OnCancel();
      return TRUE;
    }
  }
  return FALSE;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(template_id_), RT_DIALOG);
  if (found == 0) return -1;
  DWORD size = SizeofResource(module, found);
  const unsigned char* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  if (bytes == 0 || size < 18) return -1;

  // Both template formats: the extended one starts with version 1 and the signature 0xFFFF.
  if (ReadWord(bytes) == 1 && ReadWord(bytes + 2) == 0xFFFF) {
    if (size < 26) return -1;
    template_style_ = ReadDword(bytes + 12);
    template_x_ = static_cast<short>(ReadWord(bytes + 18));
    template_y_ = static_cast<short>(ReadWord(bytes + 20));
  } else {
    template_style_ = ReadDword(bytes);
    template_x_ = static_cast<short>(ReadWord(bytes + 10));
    template_y_ = static_cast<short>(ReadWord(bytes + 12));
  }

  result_ = -1;
  ended_ = false;
  HWND hwnd = CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(bytes), parent_,
                                         DialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd == 0) {
    m_hWnd = 0;
    return -1;
  }
  m_hWnd = hwnd;

  CWinApp* app = AfxGetApp();
  while (!ended_) {
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    BOOL got = GetMessageA(&msg, 0, 0, 0);
    if (got == 0 || got == -1) {
      // WM_QUIT (or a broken queue) ends the dialog; the quit is passed on to the outer loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (app != 0) app->NoteMessage(msg);
    if (!IsDialogMessageA(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  DestroyWindow(hwnd);
  m_hWnd = 0;
  return result_;
}
