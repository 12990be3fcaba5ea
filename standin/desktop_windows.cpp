// The stand-in's windows: handles, texts, IDs, styles, owners, enabled and visible state, focus,
// rectangles, and the window procedures of the controls.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "standin/desktop.h"

namespace standin {
namespace internal {
namespace {

const DWORD kErrorInvalidWindowHandle = 1400;
ULONG_PTR g_nextHandle = 0x10010;

}  // namespace

bool IsPushButton(const Window& w) {
  DWORD type = w.style & 0x0F;
  return w.kind == Kind::kButton && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

Desktop& D() {
  static Desktop desktop;
  return desktop;
}

Window* Find(HWND hwnd) {
  auto it = D().windows.find(hwnd);
  if (hwnd == 0 || it == D().windows.end()) {
    SetLastErrorCode(kErrorInvalidWindowHandle);
    return nullptr;
  }
  return &it->second;
}

Window& NewWindow(Kind kind) {
  // Handles keep growing across resets, so that a stale handle never names a new window.
  HWND handle = reinterpret_cast<HWND>(g_nextHandle);
  g_nextHandle += 4;
  Window& w = D().windows[handle];
  w.handle = handle;
  w.kind = kind;
  return w;
}

void RemoveWindow(HWND hwnd) {
  Desktop& d = D();
  d.windows.erase(hwnd);
  d.topLevel.erase(std::remove(d.topLevel.begin(), d.topLevel.end(), hwnd), d.topLevel.end());
  if (d.focus == hwnd) d.focus = 0;
  if (d.pressed == hwnd) d.pressed = 0;
  // Messages still queued for it are dropped, as its queue entries die with a window.
  d.queue.erase(std::remove_if(d.queue.begin(), d.queue.end(),
                               [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                d.queue.end());
}

HWND FrontDialog() {
  Desktop& d = D();
  for (auto it = d.topLevel.rbegin(); it != d.topLevel.rend(); ++it) {
    Window* w = Find(*it);
    if (w && w->kind == Kind::kDialog && w->visible && w->enabled) return w->handle;
  }
  return 0;
}

bool CentredInWorkArea(const RECT& r) {
  const RECT& work = D().workArea;
  int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
  int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
  return std::abs(r.left - x) <= 1 && std::abs(r.top - y) <= 1;
}

// The window procedures: the default dialog procedure's text handling and the controls' own.
LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (w == nullptr) return 0;
  if (w->kind == Kind::kDialog && w->proc != nullptr) {
    DLGPROC proc = w->proc;
    INT_PTR handled = proc(hwnd, message, wParam, lParam);
    w = Find(hwnd);  // the procedure may have destroyed it
    if (w == nullptr) return handled;
    if (handled) return message == WM_INITDIALOG ? handled : w->msgResult;
  }
  switch (message) {
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      size_t n = std::min<size_t>(w->text.size(), wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case EM_LIMITTEXT:
      if (w->kind != Kind::kEdit) return 0;
      w->limit = wParam == 0 ? kMaxEditLimit : static_cast<UINT>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return w->kind == Kind::kEdit ? static_cast<LRESULT>(w->limit) : 0;
    case WM_LBUTTONDOWN:
      if (w->parent != 0 && w->enabled && (w->kind == Kind::kButton || w->kind == Kind::kEdit))
        SetFocus(hwnd);
      if (w->kind == Kind::kButton && w->enabled) D().pressed = hwnd;
      return 0;
    case WM_LBUTTONUP: {
      // A button released after being pressed tells its dialog it was clicked.
      bool click = D().pressed == hwnd && w->kind == Kind::kButton && w->enabled;
      D().pressed = 0;
      if (click && w->parent != 0)
        Deliver(w->parent, WM_COMMAND, MAKEWPARAM(w->id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case BM_CLICK:
      if (w->kind != Kind::kButton) return 0;
      Deliver(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      Deliver(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return 0;
  }
}

void DesktopReset() {
  Desktop& d = D();
  d = Desktop();
  QueueReset();
  ResourcesReset();
}

bool IsDefaultPushButton(const Window& w) {
  return IsPushButton(w) && (w.style & 0x0F) == BS_DEFPUSHBUTTON;
}

}  // namespace internal

void SetWorkArea(const RECT& area) { internal::D().workArea = area; }

void ObserveOperator(std::function<void(const std::string& action)> observer) {
  internal::D().observer = std::move(observer);
}

}  // namespace standin

using namespace standin::internal;

extern "C" {

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (Fails("SetWindowTextA")) return FALSE;
  if (Find(hWnd) == nullptr) return FALSE;
  return static_cast<BOOL>(Deliver(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (Fails("GetWindowTextA")) {
    if (lpString && nMaxCount > 0) lpString[0] = '\0';
    return 0;
  }
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  if (Find(hWnd) == nullptr) return 0;
  return static_cast<int>(Deliver(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                  reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  if (Find(hWnd) == nullptr) return 0;
  return static_cast<int>(Deliver(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* dialog = Find(hDlg);
  if (dialog == nullptr) return 0;
  for (HWND child : dialog->children) {
    Window* c = Find(child);
    if (c && c->id == nIDDlgItem) return child;
  }
  const DWORD kErrorControlIdNotFound = 1421;
  SetLastErrorCode(kErrorControlIdNotFound);
  return 0;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  Window* w = Find(hWnd);
  if (w == nullptr || w->parent == 0) return 0;
  return w->id;
}

BOOL WINAPI IsWindow(HWND hWnd) { return D().windows.count(hWnd) != 0 && hWnd != 0; }

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Window* w = Find(hWnd);
  if (w == nullptr) return FALSE;
  BOOL was = w->visible;
  w->visible = nCmdShow != SW_HIDE;
  if (w->visible) w->style |= WS_VISIBLE; else w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  if (w->visible && w->kind == Kind::kDialog) NoteShown(*w);
  return was;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  Window* w = Find(hWnd);
  if (w == nullptr || !w->visible) return FALSE;
  // A control is visible only while its dialog is.
  return w->parent == 0 ? TRUE : IsWindowVisible(w->parent);
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = Find(hWnd);
  if (w == nullptr) return FALSE;
  BOOL wasDisabled = !w->enabled;
  w->enabled = bEnable != FALSE;
  if (w->enabled) w->style &= ~static_cast<DWORD>(WS_DISABLED); else w->style |= WS_DISABLED;
  // A window that is disabled loses the focus, and so do its controls.
  if (!w->enabled && D().focus != 0) {
    Window* f = Find(D().focus);
    if (f && (f->handle == hWnd || f->parent == hWnd)) D().focus = 0;
  }
  return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Window* w = Find(hWnd);
  return w != nullptr && w->enabled;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  Window* w = Find(hWnd);
  if (w == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = w->rect;
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  Window* w = Find(hWnd);
  if (w == nullptr) return FALSE;
  RECT r = w->rect;
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  if (!(uFlags & SWP_NOSIZE)) {
    width = cx;
    height = cy;
  }
  // A control's position is relative to its dialog.
  int left = r.left, top = r.top;
  if (!(uFlags & SWP_NOMOVE)) {
    left = X;
    top = Y;
    if (w->parent != 0) {
      Window* p = Find(w->parent);
      if (p) {
        left += p->rect.left;
        top += p->rect.top;
      }
    }
  }
  int dx = left - r.left, dy = top - r.top;
  w->rect = {left, top, left + width, top + height};
  // Controls move with their dialog.
  for (HWND child : w->children) {
    Window* c = Find(child);
    if (c) c->rect = {c->rect.left + dx, c->rect.top + dy, c->rect.right + dx, c->rect.bottom + dy};
  }
  return TRUE;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  Window* w = Find(hWnd);
  if (w == nullptr) return 0;
  if (uCmd == GW_OWNER) return w->owner;
  return 0;
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
  Window* w = Find(hWnd);
  if (w == nullptr) return 0;
  if (nIndex == GWL_STYLE) return static_cast<LONG>(w->style);
  const int kExStyle = -20, kId = -12;
  if (nIndex == kExStyle) return static_cast<LONG>(w->exStyle);
  if (nIndex == kId) return w->id;
  SetLastErrorCode(ERROR_INVALID_PARAMETER);
  return 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  Window* w = Find(hWnd);
  if (w == nullptr) return 0;
  if (w->kind == Kind::kDialog) {
    if (nIndex == DWLP_USER) return w->user;
    if (nIndex == DWLP_MSGRESULT) return w->msgResult;
    if (nIndex == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(w->proc);
  }
  return GetWindowLongA(hWnd, nIndex);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  Window* w = Find(hWnd);
  if (w == nullptr) return 0;
  LONG_PTR old = 0;
  if (w->kind == Kind::kDialog && nIndex == DWLP_USER) {
    old = w->user;
    w->user = dwNewLong;
  } else if (w->kind == Kind::kDialog && nIndex == DWLP_MSGRESULT) {
    old = w->msgResult;
    w->msgResult = dwNewLong;
  } else if (nIndex == GWL_STYLE) {
    old = static_cast<LONG_PTR>(w->style);
    w->style = static_cast<DWORD>(dwNewLong);
  } else {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
  }
  return old;
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni) {
  if (uiAction != SPI_GETWORKAREA || pvParam == nullptr) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *static_cast<RECT*>(pvParam) = D().workArea;
  return TRUE;
}

HWND WINAPI GetFocus(void) { return D().focus; }

HWND WINAPI SetFocus(HWND hWnd) {
  HWND old = D().focus;
  if (hWnd == 0) {
    D().focus = 0;
    return old;
  }
  Window* w = Find(hWnd);
  if (w == nullptr || !w->enabled) return 0;
  if (w->parent != 0) {
    Window* p = Find(w->parent);
    if (p == nullptr || !p->enabled) return 0;
  }
  D().focus = hWnd;
  return old;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  Window* w = Find(hWnd);
  if (w == nullptr) return FALSE;
  Deliver(hWnd, WM_DESTROY, 0, 0);
  w = Find(hWnd);
  if (w == nullptr) return TRUE;
  std::vector<HWND> children = w->children;
  for (HWND child : children) RemoveWindow(child);
  // Windows it owns go with it.
  std::vector<HWND> owned;
  for (auto& entry : D().windows)
    if (entry.second.owner == hWnd) owned.push_back(entry.first);
  for (HWND o : owned) DestroyWindow(o);
  if (w->parent != 0) {
    Window* p = Find(w->parent);
    if (p) p->children.erase(std::remove(p->children.begin(), p->children.end(), hWnd), p->children.end());
  }
  RemoveWindow(hWnd);
  return TRUE;
}

}  // extern "C"
