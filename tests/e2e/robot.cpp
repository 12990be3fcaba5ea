// robot.exe: the person at the screen, for the end-to-end ring under Wine. It runs in the same Wine
// session as SETUP.EXE, finds its dialogs and message boxes, writes down what a person would see and
// answers them like a person would: a mouse click, a key, typing.
//
//   robot.exe [-o transcript] [-t timeout-ms] [-s shot-folder] [-f script] [command]...
//
// Commands come one per argument, or one per line of the script file (# starts a comment line).
// The operator commands act on the window in front: the topmost visible, enabled window of class
// #32770. Each waits for one, writes it down the first time it is seen, acts, and (for a key or a
// click) then waits until that window has gone or a new one has come up, so that the next command
// never acts on a window that is about to close.
//   enter | esc | tab        the key, posted as WM_KEYDOWN to the control that has the focus
//   click <id>               a posted WM_LBUTTONDOWN / WM_LBUTTONUP in the middle of that control
//   answer IDOK|IDCANCEL|IDYES|IDNO   the same click on that button of a message box
//   type <id> <text>         WM_SETTEXT of the text (the rest of the line; \n \r \t \xHH escapes)
//   chars <id> <text>        one posted WM_CHAR per character, as if typed at the caret
//   text <id>                writes down the control's text now ("text <id> <text>")
//   shot <name>              the window in front as <shot-folder>\<name>.bmp (screen pixels)
//   look                     writes down the window in front again, without acting
//   wait <caption>           waits for a visible #32770 window with exactly that caption
//   all                      writes down every visible #32770 window (used after a failure)
//   time <program>           starts the program, writes down the milliseconds until its first
//                            window is visible ("first-window <ms>"), closes it with Esc and
//                            waits for the program to end
// Exit code: 0 when every command was carried out, 3 when a wait timed out, 2 on a bad command.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

FILE* g_out = stdout;
DWORD g_timeout = 10000;
std::string g_shots = ".";

void Line(const std::string& s) {
  std::fputs(s.c_str(), g_out);
  std::fputc('\n', g_out);
  std::fflush(g_out);
}

// The escapes of the scenario table: \n \r \t \xHH; any other backslash is itself.
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char n = i + 1 < s.size() ? s[i + 1] : 0;
    if (s[i] != '\\') { out += s[i]; continue; }
    if (n == 'n') { out += '\n'; ++i; }
    else if (n == 'r') { out += '\r'; ++i; }
    else if (n == 't') { out += '\t'; ++i; }
    else if (n == 'x' && i + 3 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
             std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
      out += static_cast<char>(std::strtol(s.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Text in one line: line breaks, tabs and bytes outside printable ASCII as \n \r \t \xHH.
std::string Visible(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    char buf[8];
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 32 || c > 126) { std::snprintf(buf, sizeof buf, "\\x%02X", c); out += buf; }
    else out += static_cast<char>(c);
  }
  return out;
}

// Across processes only the messages ask the control itself (GetWindowTextA would not).
std::string TextOf(HWND w) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return "";
  std::vector<char> buf(len + 2, 0);
  DWORD_PTR got = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  return std::string(buf.data());
}

std::string ClassOf(HWND w) {
  char buf[64] = {0};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

bool IsDialogWindow(HWND w) { return IsWindowVisible(w) && ClassOf(w) == "#32770"; }

BOOL CALLBACK CollectDialog(HWND w, LPARAM p) {
  if (IsDialogWindow(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND c, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(c);
  return TRUE;
}

std::vector<HWND> DialogWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;  // topmost first
}

// A message box: its text is the static control 65535. A dialog's own controls without an ID (-1,
// such as a picture) carry 65535 too, so a picture does not count.
bool IsBox(HWND w) {
  HWND text = GetDlgItem(w, 0xFFFF);
  return text && (GetWindowLongA(text, GWL_STYLE) & 0x1F) != SS_BITMAP;
}

std::vector<HWND> Children(HWND w) {
  std::vector<HWND> found;
  EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FocusOf(HWND w) {
  GUITHREADINFO info;
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string Flags(HWND c, HWND focus) {
  std::string out;
  LONG style = GetWindowLongA(c, GWL_STYLE);
  std::string cls = ClassOf(c);
  if (cls == "Button" && (style & 0x0F) == BS_DEFPUSHBUTTON) out += " default";
  if (style & WS_TABSTOP) out += " tabstop";
  if (!IsWindowVisible(c)) out += " hidden";
  if (!IsWindowEnabled(c)) out += " disabled";
  if (cls == "Edit") {
    if (style & ES_READONLY) out += " readonly";
    if (style & ES_MULTILINE) out += " multiline";
    if (style & WS_VSCROLL) out += " vscroll";
    DWORD_PTR limit = 0;
    SendMessageTimeoutA(c, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 2000, &limit);
    out += " limit=" + std::to_string(limit);
  }
  if (cls == "Static" && (style & 0x1F) == SS_BITMAP) {
    DWORD_PTR bmp = 0;
    SendMessageTimeoutA(c, STM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_ABORTIFHUNG, 2000, &bmp);
    out += bmp ? " bitmap=yes" : " bitmap=none";
  }
  if (c == focus) out += " focus";
  return out;
}

// What a person sees of a window, and where it sits: one summary line, then indented details.
void Describe(HWND w) {
  std::string caption = TextOf(w);
  if (IsBox(w)) Line("box " + Visible(caption) + " | " + Visible(TextOf(GetDlgItem(w, 0xFFFF))));
  else Line("dialog " + Visible(caption));

  RECT r, wa;
  GetWindowRect(w, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0);
  int dx = (r.left - wa.left) - ((wa.right - wa.left) - (r.right - r.left)) / 2;
  int dy = (r.top - wa.top) - ((wa.bottom - wa.top) - (r.bottom - r.top)) / 2;
  bool centred = dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
  char buf[160];
  std::snprintf(buf, sizeof buf, "  rect %ld,%ld %ldx%ld workarea %ld,%ld %ldx%ld %s", r.left, r.top,
                r.right - r.left, r.bottom - r.top, wa.left, wa.top, wa.right - wa.left,
                wa.bottom - wa.top, centred ? "centred" : "off-centre");
  Line(buf);
  HWND owner = GetWindow(w, GW_OWNER);
  Line(owner ? "  owner " + Visible(TextOf(owner)) : std::string("  owner none"));
  DWORD_PTR def = 0;
  SendMessageTimeoutA(w, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &def);
  if (HIWORD(def) == DC_HASDEFID) Line("  defid " + std::to_string(LOWORD(def)));

  HWND focus = FocusOf(w);
  for (HWND c : Children(w)) {
    if (GetParent(c) != w) continue;
    int id = GetDlgCtrlID(c);
    Line("  control " + std::to_string(id) + " " + ClassOf(c) + " \"" + Visible(TextOf(c)) + "\"" +
         Flags(c, focus));
  }
  for (HWND other : DialogWindows()) {
    if (other == w) continue;
    Line("  other " + Visible(TextOf(other)) + (IsWindowEnabled(other) ? " enabled" : " disabled"));
  }
}

// Polls until pick() gives a window; nullptr after the timeout.
template <typename Pick>
HWND WaitFor(Pick pick) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = pick()) return w;
    if (GetTickCount() - start > g_timeout) return nullptr;
    Sleep(20);
  }
}

HWND FrontNow() {
  for (HWND w : DialogWindows())
    if (IsWindowEnabled(w)) return w;
  return nullptr;
}

// The window in front: the topmost visible #32770 window that takes input, once it has stayed in
// front for a moment. A dialog whose handler has just had its box answered is still up for a few
// milliseconds while it ends; a key sent to it then would be lost.
HWND Front() {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = WaitFor(FrontNow);
    if (!w) return nullptr;
    DWORD seen = GetTickCount();
    while (FrontNow() == w && GetTickCount() - seen < 200) Sleep(20);
    if (FrontNow() == w) return w;
    if (GetTickCount() - start > g_timeout) return nullptr;
  }
}

// After an action that closes or answers: wait until that window has gone or a window that was not
// there before the action is up (a box of its handler), so the next command acts on what follows.
bool Settle(HWND acted, const std::vector<HWND>& before) {
  return WaitFor([acted, &before] () -> HWND {
    if (!IsWindow(acted) || !IsWindowVisible(acted)) return acted;
    for (HWND w : DialogWindows()) {
      bool old = false;
      for (HWND b : before) old = old || b == w;
      if (!old && IsWindowEnabled(w)) return w;
    }
    return nullptr;
  }) != nullptr;
}

std::set<HWND> g_described;

HWND Acquire(const std::string& cmd) {
  HWND w = Front();
  if (!w) {
    Line("timeout waiting for a window for: " + cmd);
    return nullptr;
  }
  if (!g_described.count(w)) {
    g_described.insert(w);
    Describe(w);
  }
  return w;
}

void Click(HWND c) {
  RECT r;
  GetClientRect(c, &r);
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(c, WM_LBUTTONUP, 0, at);
}

void Key(HWND w, WPARAM vk, UINT scan) {
  HWND target = FocusOf(w);
  if (!target || (target != w && !IsChild(w, target))) target = w;
  PostMessageA(target, WM_KEYDOWN, vk, MAKELPARAM(1, scan));
}

bool SaveShot(HWND w, const std::string& name) {
  RECT r;
  GetWindowRect(w, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = ((width * 3 + 3) / 4) * 4, size = stride * height;
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  std::string path = g_shots + "\\" + name + ".bmp";
  FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f != nullptr;
  if (f) {
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
    std::fwrite(bits, 1, size, f);
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

int TimeFirstWindow(const std::string& program) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = "\"" + program + "\"";
  DWORD start = GetTickCount();
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    Line("cannot start " + program);
    return 3;
  }
  DWORD child = pi.dwProcessId;
  HWND w = WaitFor([child] () -> HWND {
    for (HWND d : DialogWindows()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(d, &owner);
      if (owner == child) return d;
    }
    return nullptr;
  });
  DWORD elapsed = GetTickCount() - start;
  if (w) Key(w, VK_ESCAPE, 0x01);
  if (WaitForSingleObject(pi.hProcess, g_timeout) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!w) {
    Line("timeout waiting for the first window of " + program);
    return 3;
  }
  Line("first-window " + std::to_string(elapsed));
  return 0;
}

int ButtonId(const std::string& name) {
  if (name == "IDOK") return IDOK;
  if (name == "IDCANCEL") return IDCANCEL;
  if (name == "IDYES") return IDYES;
  if (name == "IDNO") return IDNO;
  return -1;
}

// Carries out one command; 0 done, 2 bad command, 3 timed out.
int Run(const std::string& line) {
  std::string cmd = line, rest;
  size_t sp = line.find(' ');
  if (sp != std::string::npos) { cmd = line.substr(0, sp); rest = line.substr(sp + 1); }
  int id = std::atoi(rest.c_str());
  std::string arg =
      Unescape(rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1));

  if (cmd == "wait") {
    HWND w = WaitFor([&rest] () -> HWND {
      for (HWND d : DialogWindows()) if (TextOf(d) == rest) return d;
      return nullptr;
    });
    Line(w ? "seen " + Visible(rest) : "timeout waiting for " + Visible(rest));
    return w ? 0 : 3;
  }
  if (cmd == "time") return TimeFirstWindow(rest);
  if (cmd == "all") {
    for (HWND w : DialogWindows()) Describe(w);
    return 0;
  }
  bool stays = cmd == "type" || cmd == "chars" || cmd == "text" || cmd == "shot" || cmd == "look";
  bool acts = cmd == "enter" || cmd == "esc" || cmd == "tab" || cmd == "click" || cmd == "answer";
  if (!stays && !acts) {
    Line("bad command: " + line);
    return 2;
  }
  HWND w = Acquire(line);
  if (!w) return 3;
  std::vector<HWND> before = DialogWindows();
  Line("> " + line);

  if (cmd == "look") { Describe(w); return 0; }
  if (cmd == "shot") {
    if (!SaveShot(w, rest)) Line("shot failed: " + rest);
    return 0;
  }
  if (cmd == "enter" || cmd == "esc") {
    Key(w, cmd == "enter" ? VK_RETURN : VK_ESCAPE, cmd == "enter" ? 0x1C : 0x01);
  } else if (cmd == "tab") {
    Key(w, VK_TAB, 0x0F);
    // The focus moves inside the same dialog: wait until it has.
    HWND before = FocusOf(w);
    DWORD start = GetTickCount();
    while (FocusOf(w) == before && GetTickCount() - start < 2000) Sleep(20);
    Line("  focus " + std::to_string(GetDlgCtrlID(FocusOf(w))));
    return 0;
  } else {
    if (cmd == "answer") id = ButtonId(rest);
    HWND c = GetDlgItem(w, id);
    if (!c) {
      Line("no control " + rest);
      return 2;
    }
    if (cmd == "type") {
      SendMessageTimeoutA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg.c_str()),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
      return 0;
    }
    if (cmd == "chars") {
      for (unsigned char ch : arg) PostMessageA(c, WM_CHAR, ch, 1);
      // Posted: wait until the control has taken them all in (or stopped taking them).
      std::string last;
      for (int i = 0; i < 100; ++i) {
        Sleep(20);
        std::string now = TextOf(c);
        if (now == last && i > 2) break;
        last = now;
      }
      Line("  text " + Visible(TextOf(c)));
      return 0;
    }
    if (cmd == "text") {
      Line("text " + std::to_string(id) + " " + Visible(TextOf(c)));
      return 0;
    }
    Click(c);
  }
  if (!Settle(w, before)) {
    Line("timeout: window stayed after: " + line);
    return 3;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> commands;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "-o" || a == "-t" || a == "-f" || a == "-s") && i + 1 < argc) {
      std::string v = argv[++i];
      if (a == "-o") {
        g_out = std::fopen(v.c_str(), "wb");  // LF line ends, as the scripts read them
        if (!g_out) { std::fprintf(stderr, "robot: cannot write %s\n", v.c_str()); return 2; }
      } else if (a == "-t") {
        g_timeout = std::strtoul(v.c_str(), nullptr, 10);
      } else if (a == "-s") {
        g_shots = v;
      } else {
        FILE* f = std::fopen(v.c_str(), "r");
        if (!f) { std::fprintf(stderr, "robot: cannot read %s\n", v.c_str()); return 2; }
        char buf[4096];
        while (std::fgets(buf, sizeof buf, f)) {
          std::string l = buf;
          while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
          if (!l.empty() && l[0] != '#') commands.push_back(l);
        }
        std::fclose(f);
      }
    } else {
      commands.push_back(a);
    }
  }
  for (const std::string& c : commands) {
    int rc = Run(c);
    if (rc) return rc;
  }
  return 0;
}
