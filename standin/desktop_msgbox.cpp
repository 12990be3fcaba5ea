// MessageBoxA: a modal box answered by the operator, its owner disabled while it is open.
#include <cstdio>
#include <string>

#include "standin/desktop.h"

namespace standin {
namespace internal {
namespace {

struct Answer {
  const char* name;
  int id;
};
const Answer kAnswers[] = {{"IDOK", IDOK},       {"IDCANCEL", IDCANCEL}, {"IDABORT", 3},
                           {"IDRETRY", 4},       {"IDIGNORE", 5},        {"IDYES", IDYES},
                           {"IDNO", IDNO}};

const char* AnswerName(int id) {
  for (const Answer& a : kAnswers)
    if (a.id == id) return a.name;
  return "?";
}

// The buttons of each MB_ type, as answers.
std::vector<int> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case 2: return {3, 4, 5};  // abort, retry, ignore
    case 3: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case 5: return {4, IDCANCEL};  // retry, cancel
    default: return {};
  }
}

const char* ButtonLabel(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case 3: return "&Abort";
    case 4: return "&Retry";
    case 5: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
  }
}

std::string OwnerDescription(HWND owner) {
  Window* w = Find(owner);
  if (w == nullptr) return "";
  if (w->kind == Kind::kDialog) return "dialog " + std::to_string(w->templateId);
  return w->className;
}

// The box as a window of its own, so that the desktop shows it while the operator answers.
HWND CreateBoxWindow(HWND owner, const std::string& text, const std::string& caption,
                     const std::vector<int>& buttons) {
  Window& box = NewWindow(Kind::kBox);
  HWND hwnd = box.handle;
  box.className = "#32770";
  box.text = caption;
  box.owner = owner;
  box.visible = true;
  box.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
  const RECT& work = D().workArea;
  int width = 300, height = 120;
  int left = work.left + ((work.right - work.left) - width) / 2;
  int top = work.top + ((work.bottom - work.top) - height) / 2;
  box.rect = {left, top, left + width, top + height};
  D().topLevel.push_back(hwnd);
  Window& label = NewWindow(Kind::kStatic);
  label.className = "Static";
  label.text = text;
  label.id = 0xFFFF;
  label.parent = hwnd;
  label.visible = true;
  Find(hwnd)->children.push_back(label.handle);
  for (int id : buttons) {
    Window& b = NewWindow(Kind::kButton);
    b.className = "Button";
    b.text = ButtonLabel(id);
    b.id = id;
    b.parent = hwnd;
    b.visible = true;
    b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    Find(hwnd)->children.push_back(b.handle);
  }
  return hwnd;
}

}  // namespace
}  // namespace internal
}  // namespace standin

using namespace standin::internal;

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  if (Fails("MessageBoxA", lpCaption ? lpCaption : "")) {
    SetLastErrorCode(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  std::string text = lpText ? lpText : "";
  // No caption gives the system's "Error", as on Windows.
  std::string caption = lpCaption ? lpCaption : "Error";
  std::vector<int> buttons = ButtonsOf(uType);
  if (buttons.empty()) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // An owner that is not a window makes the call fail, as on Windows; nothing is shown.
  if (hWnd != 0 && Find(hWnd) == nullptr) return 0;
  HWND owner = hWnd;
  // A control as owner stands for its dialog.
  if (owner != 0 && Find(owner)->parent != 0) owner = Find(owner)->parent;
  std::string ownerText = OwnerDescription(owner);

  // The box is modal to its owner: the owner cannot be used until the box is answered.
  bool ownerWasEnabled = owner != 0 && IsWindowEnabled(owner);
  HWND focusBefore = GetFocus();
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  HWND box = CreateBoxWindow(owner, text, caption, buttons);
  SetFocus(GetDlgItem(box, buttons[0]));

  // The box's own loop: it does not go through the class library, nor through the queue.
  std::string action = NextAction();
  int answer = 0;
  if (action.compare(0, 7, "answer ") == 0) {
    std::string name = action.substr(7);
    for (const Answer& a : kAnswers)
      if (name == a.name) answer = a.id;
  }
  bool fits = false;
  for (int id : buttons) fits = fits || id == answer;
  char typeText[16];
  std::snprintf(typeText, sizeof typeText, "0x%02X", uType);
  if (!fits) {
    std::string why = action.empty() ? "no action left" : "\"" + action + "\" does not fit";
    OperatorFault(why + " while the box " + Quoted(caption) + " (type=" + typeText + ") waits");
  }

  DestroyWindow(box);
  if (ownerWasEnabled && Find(owner) != nullptr) EnableWindow(owner, TRUE);
  if (focusBefore != 0 && Find(focusBefore) != nullptr) SetFocus(focusBefore);

  M().boxes.push_back({caption, text, uType, ownerText, answer});
  Log("box owner=" + Quoted(ownerText) +
      " type=" + typeText + " caption=" + Quoted(caption) + " text=" + Quoted(text) + " -> " +
      AnswerName(answer));
  return answer;
}
