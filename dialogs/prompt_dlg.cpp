// CPromptDlg: the destination and group questions of the install sequence.
#include "dialogs/prompt_dlg.h"

#include "app/setup_state.h"
#include "dialogs/catalogue_box.h"
#include "dialogs/validate_destination.h"
#include "res/resource.h"
#include "runtime/rt.h"
#include "text/message_catalogue.h"

namespace {

// The longest entry each mode accepts, indexed by PromptMode: an install directory must fit every
// path and registry value composed from it, and a group name must come back whole from the registry.
const int kEntryLimit[2] = {kMaxInstallDirectory, kMaxGroupName};

// Letters a to z become A to Z; every other byte, accented letters included, stays.
void UpperCaseAscii(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

}  // namespace

CPromptDlg::CPromptDlg() : CDialog(IDD_PROMPT) {}

CPromptDlg::~CPromptDlg() {}

void CPromptDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_PROMPT_ENTRY, m_entryText);
  DDX_Text(pDX, IDC_PROMPT_TEXT, m_promptText);
}

BOOL CPromptDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  PromptMode mode = g_setup.promptMode;
  m_entryText = ShowText(g_catalogue.defaultEntry[mode]);
  m_promptText = ShowText(g_catalogue.prompt[mode]);
  SetWindowTextA(m_hWnd, ShowText(g_catalogue.setupCaption));
  SetWindowTextA(GetDlgItem(IDOK), ShowText(g_catalogue.okLabel));
  SetWindowTextA(GetDlgItem(IDCANCEL), ShowText(g_catalogue.cancelLabel));
  SendMessageA(GetDlgItem(IDC_PROMPT_ENTRY), EM_LIMITTEXT, static_cast<WPARAM>(kEntryLimit[mode]), 0);
  UpdateData(FALSE);
  return TRUE;
}

void CPromptDlg::OnOK() {
  UpdateData(TRUE);
  PromptMode mode = g_setup.promptMode;
  // An entry longer than the limit (pasted or set past the edit control's limit) is refused
  // before anything touches the file system; it is never stored cut short.
  if (m_entryText.GetLength() > kEntryLimit[mode]) {
    ShowUnusableEntryBox();
    return;
  }
  if (mode == Group) {
    rt::Copy(g_setup.groupName, sizeof g_setup.groupName, m_entryText);
  } else {
    if (!ValidateDestination(m_entryText, m_hWnd)) return;
    // The field keeps the typed case; only the stored install directory is upper case.
    rt::Copy(g_setup.installDirectory, sizeof g_setup.installDirectory, m_entryText);
    UpperCaseAscii(g_setup.installDirectory);
  }
  CDialog::OnOK();
}

void CPromptDlg::OnCancel() {
  int answer = ShowCatalogueBox(0, g_catalogue.cancelQuestion, g_catalogue.cancelCaption,
                                MB_YESNO | MB_ICONQUESTION);
  if (answer == IDNO) return;
  CDialog::OnCancel();
}
