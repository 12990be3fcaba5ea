// The message queue, the operator's actions on the dialog in front, and the dialog manager's
// keyboard and mouse handling (IsDialogMessageA).
#include <cctype>
#include <cstdlib>
#include <string>

#include "standin/desktop.h"

namespace standin {
namespace internal {
namespace {

DWORD g_time = 0;

struct Quit {
  bool posted = false;
  int code = 0;
};
Quit& QuitFlag() {
  static Quit quit;
  return quit;
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m = {};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = ++g_time;
  D().queue.push_back(m);
}

std::string DialogName(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? "dialog " + std::to_string(w->templateId) : "no dialog";
}

// The control of the dialog with that ID, given as the action's text.
Window* ControlOf(HWND dialog, const std::string& idText, const std::string& action) {
  char* end = nullptr;
  long id = std::strtol(idText.c_str(), &end, 10);
  if (idText.empty() || *end != '\0')
    OperatorFault("\"" + action + "\": not a control ID, while " + DialogName(dialog) + " waits");
  HWND control = GetDlgItem(dialog, static_cast<int>(id));
  Window* c = Find(control);
  if (c == nullptr)
    OperatorFault("\"" + action + "\": " + DialogName(dialog) + " has no control " + idText);
  if (!c->enabled || !IsWindowVisible(control))
    OperatorFault("\"" + action + "\": control " + idText + " of " + DialogName(dialog) +
                  " cannot be used (disabled or hidden)");
  return c;
}

// Takes operator actions for the dialog in front until one of them posts a message.
void TakeOperatorAction() {
  for (;;) {
    HWND front = FrontDialog();
    if (front == 0) OperatorFault("the program waits for input but no dialog can take it");
    std::string action = NextAction();
    if (action.empty()) OperatorFault("no action left while " + DialogName(front) + " waits");
    if (action == "enter" || action == "esc" || action == "tab") {
      HWND target = D().focus;
      Window* f = Find(target);
      if (f == nullptr || (f->handle != front && f->parent != front)) target = front;
      WPARAM key = action == "enter" ? VK_RETURN : action == "esc" ? VK_ESCAPE : VK_TAB;
      Post(target, WM_KEYDOWN, key, 1);
      return;
    }
    size_t space = action.find(' ');
    std::string verb = action.substr(0, space);
    std::string rest = space == std::string::npos ? "" : action.substr(space + 1);
    if (verb == "click") {
      Window* c = ControlOf(front, rest, action);
      Post(c->handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      Post(c->handle, WM_LBUTTONUP, 0, 0);
      return;
    }
    if (verb == "type") {
      size_t gap = rest.find(' ');
      std::string idText = rest.substr(0, gap);
      std::string text = gap == std::string::npos ? "" : Unescape(rest.substr(gap + 1));
      Window* c = ControlOf(front, idText, action);
      if (c->kind != Kind::kEdit || (c->style & ES_READONLY))
        OperatorFault("\"" + action + "\": control " + idText + " of " + DialogName(front) +
                      " takes no typing");
      // Select all, then type: what does not fit the edit limit is refused key by key.
      if (text.size() > c->limit) text.resize(c->limit);
      c->text = text;
      SetFocus(c->handle);
      continue;
    }
    OperatorFault("\"" + action + "\" does not fit while " + DialogName(front) + " waits");
  }
}

void MoveFocus(Window& dialog) {
  const std::vector<HWND>& kids = dialog.children;
  size_t n = kids.size(), start = n;
  for (size_t i = 0; i < n; ++i)
    if (kids[i] == D().focus) start = i;
  for (size_t k = 1; k <= n; ++k) {
    Window* c = Find(kids[(start + k) % (n == 0 ? 1 : n)]);
    if (c && (c->style & WS_TABSTOP) && c->enabled && c->visible) {
      SetFocus(c->handle);
      // Focus moved by the dialog manager makes a push button the default, and gives the default
      // back to the template's when it moves on to another kind of control. SetFocus and mouse
      // clicks leave the default where it is (as Wine's dialog manager does).
      dialog.defaultId = IsPushButton(*c) ? c->id : dialog.templateDefaultId;
      return;
    }
  }
}

}  // namespace

std::string NextAction() {
  std::string action = PeekAction();
  if (!action.empty() && D().observer) {
    auto observer = D().observer;
    observer(action);
  }
  return TakeAction();
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out.push_back(c);
      continue;
    }
    char e = text[++i];
    switch (e) {
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case '\\': out.push_back('\\'); break;
      case 'x': {
        std::string hex;
        while (hex.size() < 2 && i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])))
          hex.push_back(text[++i]);
        if (hex.empty()) {
          out += "\\x";
        } else {
          out.push_back(static_cast<char>(std::strtol(hex.c_str(), nullptr, 16)));
        }
        break;
      }
      default:
        out.push_back('\\');
        out.push_back(e);
    }
  }
  return out;
}

void QueueReset() {
  QuitFlag() = Quit();
  D().queue.clear();
}

}  // namespace internal
}  // namespace standin

using namespace standin::internal;

extern "C" {

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (lpMsg == nullptr) return -1;
  if (D().queue.empty() && !QuitFlag().posted) TakeOperatorAction();
  if (!D().queue.empty()) {
    *lpMsg = D().queue.front();
    D().queue.pop_front();
    return TRUE;
  }
  MSG quit = {};
  quit.message = WM_QUIT;
  quit.wParam = static_cast<WPARAM>(QuitFlag().code);
  quit.time = ++g_time;
  QuitFlag() = Quit();
  *lpMsg = quit;
  return FALSE;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd != 0 && Find(hWnd) == nullptr) return FALSE;
  Post(hWnd, Msg, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  QuitFlag().posted = true;
  QuitFlag().code = nExitCode;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Find(hWnd) == nullptr) return 0;
  return Deliver(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (lpMsg == nullptr || lpMsg->hwnd == 0 || Find(lpMsg->hwnd) == nullptr) return 0;
  return Deliver(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  Window* dialog = Find(hDlg);
  if (dialog == nullptr || lpMsg == nullptr || dialog->kind != Kind::kDialog) return FALSE;
  Window* target = Find(lpMsg->hwnd);
  if (target == nullptr || (target->handle != hDlg && target->parent != hDlg)) return FALSE;
  if (lpMsg->message == WM_KEYDOWN) {
    if (lpMsg->wParam == VK_RETURN) {
      // Enter presses the default button; nothing happens when it is disabled.
      HWND button = GetDlgItem(hDlg, dialog->defaultId);
      Window* b = Find(button);
      if (b != nullptr && !b->enabled) return TRUE;
      Deliver(hDlg, WM_COMMAND, MAKEWPARAM(dialog->defaultId, BN_CLICKED),
              reinterpret_cast<LPARAM>(button));
      return TRUE;
    }
    if (lpMsg->wParam == VK_ESCAPE) {
      HWND cancel = 0;
      for (HWND child : dialog->children) {
        Window* c = Find(child);
        if (c && c->id == IDCANCEL) cancel = child;
      }
      Deliver(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return TRUE;
    }
    if (lpMsg->wParam == VK_TAB) {
      MoveFocus(*dialog);
      return TRUE;
    }
  }
  Deliver(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
  return TRUE;
}

}  // extern "C"
