// Readers of compiled resources: the entries of a .res file and both dialog template formats.
// Every read is bounds-checked: a truncated or hostile input gives an error, never a read past it.
#ifndef STANDIN_RES_READER_H
#define STANDIN_RES_READER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// A resource type, name, menu or class: an ordinal (0xFFFF, id), a name, or nothing (0x0000).
struct ResId {
  enum Kind { kNone, kOrdinal, kName };
  Kind kind = kNone;
  uint16_t ordinal = 0;
  std::string name;  // narrow form of the UTF-16 name (kName only)

  bool operator==(const ResId& other) const {
    return kind == other.kind && ordinal == other.ordinal && name == other.name;
  }
};

struct ResEntry {
  ResId type;
  ResId name;
  uint32_t dataVersion = 0;
  uint16_t memoryFlags = 0;
  uint16_t languageId = 0;
  uint32_t version = 0;
  uint32_t characteristics = 0;
  std::vector<unsigned char> data;
};

// The entries of a .res file, the leading empty entry left out. False (and *error says where)
// when the file is malformed; *out is then empty.
bool ParseResFile(const unsigned char* bytes, size_t size, std::vector<ResEntry>* out,
                  std::string* error);
bool ParseResFile(const std::vector<unsigned char>& bytes, std::vector<ResEntry>* out,
                  std::string* error);

struct DialogItem {
  uint32_t helpId = 0;   // extended format only
  uint32_t exStyle = 0;
  uint32_t style = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint32_t id = 0;       // a WORD in the classic format, a DWORD in the extended one
  ResId windowClass;     // ordinal 0x80 button, 0x81 edit, 0x82 static, 0x83 list box,
                         // 0x84 scroll bar, 0x85 combo box; or a class name
  ResId title;           // text or ordinal (e.g. a bitmap resource of a picture control)
  std::vector<unsigned char> creationData;
};

struct DialogTemplate {
  bool extended = false;
  uint16_t dlgVer = 0;      // extended: 1
  uint16_t signature = 0;   // extended: 0xFFFF
  uint32_t helpId = 0;      // extended only
  uint32_t exStyle = 0;
  uint32_t style = 0;
  uint16_t itemCount = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  ResId menu;
  ResId windowClass;
  std::string title;
  bool hasFont = false;     // DS_SETFONT
  uint16_t pointSize = 0;
  uint16_t weight = 0;      // extended only
  uint8_t italic = 0;       // extended only
  uint8_t charset = 0;      // extended only
  std::string typeface;
  std::vector<DialogItem> items;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX with its items. False (and *error) when malformed.
bool ParseDialogTemplate(const unsigned char* bytes, size_t size, DialogTemplate* out,
                         std::string* error);
bool ParseDialogTemplate(const std::vector<unsigned char>& bytes, DialogTemplate* out,
                         std::string* error);

// UTF-16LE text to the stand-in's narrow form: code units below 0x100 become that byte, others '?'.
std::string NarrowFromUtf16(const std::u16string& text);

}  // namespace standin

#endif  // STANDIN_RES_READER_H
