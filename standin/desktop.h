// Internal state of the stand-in's desktop, shared by the desktop_*.cpp files and resources.cpp.
#ifndef STANDIN_DESKTOP_H
#define STANDIN_DESKTOP_H

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "standin/machine.h"

namespace standin {
namespace internal {

// Fixed dialog base units: a dialog unit is 6/4 pixel across and 13/8 pixel down, whatever the
// template's font (the stand-in draws nothing, so no font is measured).
enum { kBaseUnitX = 6, kBaseUnitY = 13 };
inline int DialogUnitsToPixelsX(int du) { return du * kBaseUnitX / 4; }
inline int DialogUnitsToPixelsY(int du) { return du * kBaseUnitY / 8; }

// The edit control's limit before EM_LIMITTEXT, and what EM_LIMITTEXT 0 sets.
enum : UINT { kDefaultEditLimit = 30000, kMaxEditLimit = 0x7FFFFFFE };

enum class Kind { kDialog, kBox, kButton, kEdit, kStatic, kOther };

struct Window {
  HWND handle = 0;
  Kind kind = Kind::kOther;
  std::string className;  // "#32770", "Button", "Edit", "Static" or the template's class name
  std::string text;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND owner = 0;   // top-level windows
  HWND parent = 0;  // controls: their dialog
  bool enabled = true;
  bool visible = false;
  RECT rect = {0, 0, 0, 0};  // screen coordinates
  UINT limit = kDefaultEditLimit;
  LONG_PTR user = 0;
  LONG_PTR msgResult = 0;
  DLGPROC proc = 0;
  int templateId = 0;          // dialogs created from a resource of the module
  std::vector<HWND> children;  // controls in template order
  int defaultId = IDOK;        // dialogs: the button Enter presses (the dialog manager's DM_GETDEFID)
  int templateDefaultId = IDOK;  // the template's BS_DEFPUSHBUTTON, else IDOK
  bool recorded = false;       // its M().dialogs entry exists
  std::string titleOrdinal;    // "#131" when the template gave an ordinal title
};

struct Desktop {
  std::map<HWND, Window> windows;
  std::vector<HWND> topLevel;  // dialogs and boxes, oldest first
  std::deque<MSG> queue;
  HWND focus = 0;
  HWND pressed = 0;  // the button that got the mouse down
  RECT workArea = {0, 0, 800, 572};
  std::function<void(const std::string&)> observer;
};

Desktop& D();

// The window of a handle, or 0 (last error ERROR_INVALID_WINDOW_HANDLE) when it is not one.
Window* Find(HWND hwnd);
// A new window with a fresh distinct handle.
Window& NewWindow(Kind kind);
void RemoveWindow(HWND hwnd);

// The screen: 800 by 600 pixels.
enum { kScreenWidth = 800, kScreenHeight = 600 };

// The top-level dialog that takes the operator's actions: the newest visible, enabled dialog.
HWND FrontDialog();

// The window's procedure: what SendMessageA and DispatchMessageA deliver to.
LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A push button (BS_PUSHBUTTON or BS_DEFPUSHBUTTON).
bool IsPushButton(const Window& w);
// A push button with BS_DEFPUSHBUTTON.
bool IsDefaultPushButton(const Window& w);

// Records the dialog's M().dialogs entry and journal line the first time it becomes visible.
void NoteShown(Window& dialog);
// Whether a rectangle is centred in the work area (within a pixel).
bool CentredInWorkArea(const RECT& rect);

// A text in double quotes, escaped for the journal.
inline std::string Quoted(const std::string& text) {
  std::string q = Quote(text);
  if (q.size() >= 2 && q.front() == '"' && q.back() == '"') return q;
  return "\"" + q + "\"";
}

// The next operator action, after the observer (if any) has seen it.
std::string NextAction();
// An action's text argument with its C escapes (\n \r \t \\ \xHH) resolved.
std::string Unescape(const std::string& text);

// Empties the message queue and forgets a posted quit.
void QueueReset();

// The template number of the module's RT_DIALOG resource whose data starts at bytes, else 0.
int DialogTemplateIdAt(const void* bytes);
// The size of the module resource whose data starts at bytes, else 0.
size_t ModuleResourceSize(const void* bytes);
// Drops a module resource image set by a test; the embedded one is used again.
void ResourcesReset();

}  // namespace internal
}  // namespace standin

#endif  // STANDIN_DESKTOP_H
