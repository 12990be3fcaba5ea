// CreateDialogIndirectParamA: a dialog and its controls from a template of either format, its
// placement, WM_INITDIALOG and the initial focus; and the record of each dialog first shown.
#include <string>

#include "standin/desktop.h"
#include "standin/res_reader.h"

namespace standin {
namespace internal {
namespace {

const DWORD kErrorInvalidParameter = ERROR_INVALID_PARAMETER;
// The bound for a template that is not one of the module's resources.
const size_t kMaxTemplateBytes = 64 * 1024;

Kind KindOfClass(const ResId& cls, std::string* name) {
  if (cls.kind == ResId::kOrdinal) {
    switch (cls.ordinal) {
      case 0x80: *name = "Button"; return Kind::kButton;
      case 0x81: *name = "Edit"; return Kind::kEdit;
      case 0x82: *name = "Static"; return Kind::kStatic;
      case 0x83: *name = "ListBox"; return Kind::kOther;
      case 0x84: *name = "ScrollBar"; return Kind::kOther;
      case 0x85: *name = "ComboBox"; return Kind::kOther;
      default: *name = "#" + std::to_string(cls.ordinal); return Kind::kOther;
    }
  }
  *name = cls.name;
  std::string lower;
  for (char c : cls.name) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
  if (lower == "button") return Kind::kButton;
  if (lower == "edit") return Kind::kEdit;
  if (lower == "static") return Kind::kStatic;
  return Kind::kOther;
}

const char* KindWord(Kind kind) {
  switch (kind) {
    case Kind::kButton: return "button";
    case Kind::kEdit: return "edit";
    case Kind::kStatic: return "static";
    default: return "control";
  }
}

// A template from the module's resources is read within its resource's size. One from elsewhere
// (a test's own bytes) has no known size, as with the real call: the reader then stops where the
// template's own fields say it ends, within a generous bound.
bool ParseAt(const void* bytes, DialogTemplate* out, std::string* error) {
  size_t size = ModuleResourceSize(bytes);
  return ParseDialogTemplate(static_cast<const unsigned char*>(bytes),
                             size != 0 ? size : kMaxTemplateBytes, out, error);
}

}  // namespace

void NoteShown(Window& dialog) {
  if (dialog.recorded) return;
  dialog.recorded = true;
  Dialog record;
  record.templateId = dialog.templateId;
  record.caption = dialog.text;
  for (HWND child : dialog.children) {
    Window* c = Find(child);
    if (c == nullptr) continue;
    std::string text = c->text.empty() ? c->titleOrdinal : c->text;
    record.controls.push_back(std::to_string(c->id) + " " + KindWord(c->kind) + " " + text);
  }
  record.centred = CentredInWorkArea(dialog.rect);
  Window* focus = Find(D().focus);
  record.focusId = (focus && focus->parent == dialog.handle) ? focus->id : 0;
  M().dialogs.push_back(record);
  std::string line = "dialog " + std::to_string(record.templateId) + " caption=" +
                     Quoted(record.caption) + (record.centred ? " centred" : " not-centred") +
                     " focus=" + std::to_string(record.focusId) + " controls:";
  // The journal shows the start of long texts; the record keeps them whole.
  const size_t kShown = 72;
  for (const std::string& control : record.controls)
    line += " [" + Quoted(control.size() > kShown ? control.substr(0, kShown) + "..." : control) + "]";
  Log(line);
}

}  // namespace internal
}  // namespace standin

using namespace standin::internal;

extern "C" HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate,
                                                  HWND hWndParent, DLGPROC lpDialogFunc,
                                                  LPARAM dwInitParam) {
  if (Fails("CreateDialogIndirectParamA")) return 0;
  if (lpTemplate == nullptr) {
    SetLastErrorCode(kErrorInvalidParameter);
    return 0;
  }
  standin::DialogTemplate t;
  std::string error;
  if (!ParseAt(lpTemplate, &t, &error)) {
    Log("dialog template refused: " + error);
    SetLastErrorCode(kErrorInvalidParameter);
    return 0;
  }
  Window* owner = nullptr;
  if (hWndParent != 0) {
    owner = Find(hWndParent);
    if (owner == nullptr) return 0;
    // The owner of a dialog is a top-level window: a control's dialog owns it.
    if (owner->parent != 0) owner = Find(owner->parent);
  }

  Window& dialog = NewWindow(Kind::kDialog);
  HWND hwnd = dialog.handle;
  dialog.className = "#32770";
  dialog.text = t.title;
  dialog.style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
  dialog.exStyle = t.exStyle;
  dialog.owner = owner ? owner->handle : 0;
  dialog.enabled = (t.style & WS_DISABLED) == 0;
  dialog.proc = lpDialogFunc;
  dialog.templateId = DialogTemplateIdAt(lpTemplate);
  int width = DialogUnitsToPixelsX(t.cx), height = DialogUnitsToPixelsY(t.cy);
  int left = DialogUnitsToPixelsX(t.x), top = DialogUnitsToPixelsY(t.y);
  if (owner) {
    left += owner->rect.left;
    top += owner->rect.top;
  }
  if (t.style & DS_CENTER) {
    const RECT& work = D().workArea;
    RECT around = owner ? owner->rect : work;
    left = around.left + ((around.right - around.left) - width) / 2;
    top = around.top + ((around.bottom - around.top) - height) / 2;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
  }
  dialog.rect = {left, top, left + width, top + height};
  D().topLevel.push_back(hwnd);

  for (const standin::DialogItem& item : t.items) {
    std::string className;
    Kind kind = KindOfClass(item.windowClass, &className);
    Window& c = NewWindow(kind);
    Window* d = Find(hwnd);  // the map may not move, but look it up again for clarity
    c.className = className;
    if (item.title.kind == standin::ResId::kName) c.text = item.title.name;
    if (item.title.kind == standin::ResId::kOrdinal) c.titleOrdinal = "#" + std::to_string(item.title.ordinal);
    c.id = t.extended ? static_cast<int>(item.id) : static_cast<int>(item.id & 0xFFFF);
    c.style = item.style;
    c.exStyle = item.exStyle;
    c.parent = hwnd;
    c.enabled = (item.style & WS_DISABLED) == 0;
    c.visible = (item.style & WS_VISIBLE) != 0;
    int cl = d->rect.left + DialogUnitsToPixelsX(item.x);
    int ct = d->rect.top + DialogUnitsToPixelsY(item.y);
    c.rect = {cl, ct, cl + DialogUnitsToPixelsX(item.cx), ct + DialogUnitsToPixelsY(item.cy)};
    d->children.push_back(c.handle);
    if (IsDefaultPushButton(c)) d->defaultId = d->templateDefaultId = c.id;
  }

  // The control that gets the focus: the first one with a tab stop that can take it.
  HWND first = 0;
  for (HWND child : Find(hwnd)->children) {
    Window* c = Find(child);
    if (c && (c->style & WS_TABSTOP) && c->enabled && c->visible) {
      first = child;
      break;
    }
  }
  LRESULT focusDefault = Deliver(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), dwInitParam);
  Window* after = Find(hwnd);
  if (after == nullptr) return 0;  // destroyed during its initialisation
  if (focusDefault && first != 0 && Find(first) != nullptr) SetFocus(first);
  if (t.style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOWNORMAL);
  return hwnd;
}
