// Small dialog templates and .res images built in memory for the class library and desktop tests.
#ifndef TESTS_UNIT_STANDIN_DESKTOP_TEMPLATES_H
#define TESTS_UNIT_STANDIN_DESKTOP_TEMPLATES_H

#include <string>
#include <vector>

#include "win32/api.h"

namespace desktop_test {

enum : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82 };

struct Item {
  int id;
  WORD cls;
  std::string text;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  short x, y, cx, cy;
};

struct Template {
  bool extended;
  DWORD style;
  short x, y, cx, cy;
  std::string caption;
  std::vector<Item> items;
  DWORD exStyle = 0;
};

class Bytes {
 public:
  std::vector<unsigned char> out;
  void Word(unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  }
  void Dword(unsigned v) {
    Word(v & 0xFFFF);
    Word(v >> 16);
  }
  void Text(const std::string& s) {
    for (unsigned char c : s) Word(c);
    Word(0);
  }
  void Align() {
    while (out.size() % 4) out.push_back(0);
  }
};

// A template of either format, with an 8-point font when the style asks for one.
inline std::vector<unsigned char> BuildTemplate(const Template& t) {
  Bytes b;
  if (t.extended) {
    b.Word(1);
    b.Word(0xFFFF);
    b.Dword(0);  // help ID
    b.Dword(t.exStyle);
    b.Dword(t.style);
  } else {
    b.Dword(t.style);
    b.Dword(t.exStyle);
  }
  b.Word(static_cast<unsigned>(t.items.size()));
  for (short v : {t.x, t.y, t.cx, t.cy}) b.Word(static_cast<unsigned short>(v));
  b.Word(0);  // no menu
  b.Word(0);  // the dialog class
  b.Text(t.caption);
  if (t.style & DS_SETFONT) {
    b.Word(8);
    if (t.extended) {
      b.Word(400);
      b.out.push_back(0);  // not italic
      b.out.push_back(1);  // DEFAULT_CHARSET
    }
    b.Text("MS Sans Serif");
  }
  for (const Item& item : t.items) {
    b.Align();
    DWORD style = item.style | WS_CHILD | WS_VISIBLE;
    if (t.extended) {
      b.Dword(0);
      b.Dword(0);
      b.Dword(style);
    } else {
      b.Dword(style);
      b.Dword(0);
    }
    for (short v : {item.x, item.y, item.cx, item.cy}) b.Word(static_cast<unsigned short>(v));
    if (t.extended) b.Dword(static_cast<unsigned>(item.id)); else b.Word(static_cast<unsigned>(item.id) & 0xFFFF);
    b.Word(0xFFFF);
    b.Word(item.cls);
    b.Text(item.text);
    b.Word(0);  // no creation data
  }
  return b.out;
}

// A .res image: the leading empty entry, then one entry per (type, name, data), language US English.
struct Resource {
  WORD type;
  WORD name;
  std::vector<unsigned char> data;
};
inline std::vector<unsigned char> BuildRes(const std::vector<Resource>& resources) {
  Bytes b;
  auto entry = [&b](WORD type, WORD name, const std::vector<unsigned char>& data) {
    b.Dword(static_cast<unsigned>(data.size()));
    b.Dword(32);  // header size: two sizes, two ordinals, five fields
    b.Word(0xFFFF);
    b.Word(type);
    b.Word(0xFFFF);
    b.Word(name);
    b.Dword(0);       // data version
    b.Word(0x1030);   // memory flags
    b.Word(0x0409);   // language
    b.Dword(0);       // version
    b.Dword(0);       // characteristics
    b.out.insert(b.out.end(), data.begin(), data.end());
    b.Align();
  };
  entry(0, 0, {});
  for (const Resource& r : resources) entry(r.type, r.name, r.data);
  return b.out;
}

// The test dialogs: an OK/Cancel pair, an edit field and a static text.
enum { kEditId = 300, kStaticId = 301 };
inline std::vector<Item> StandardItems() {
  return {{IDOK, kButton, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 80, 50, 14},
          {IDCANCEL, kButton, "Cancel", WS_TABSTOP, 100, 80, 50, 14},
          {kEditId, kEdit, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 50, 180, 12},
          {kStaticId, kStatic, "Question", SS_LEFT, 10, 10, 180, 30}};
}

}  // namespace desktop_test

#endif  // TESTS_UNIT_STANDIN_DESKTOP_TEMPLATES_H
