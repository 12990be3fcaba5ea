// The program's compiled resources read back: both dialog templates field by field, the logo
// bitmap, the icon group with its images, and the version record.
//
// By default the .res linked into the native program is checked. When SETUP_RES_UNDER_TEST names a
// file, that file is: a .res, or a PE program (scripts/check-resources.sh passes each Windows
// SETUP.EXE), whose resource tree is read directly.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "standin/res_reader.h"
#include "win32/api.h"

extern "C" const unsigned char standin_module_resources[];
extern "C" const unsigned long standin_module_resources_size;

namespace {

// The numbers the other programs and the tests know these resources by.
static_assert(IDD_PROMPT == 102 && IDD_AGREEMENT == 129, "dialog template numbers");
static_assert(IDB_LOGO == 131 && IDI_SETUP == 128, "bitmap and icon numbers");
static_assert(IDC_PROMPT_ENTRY == 1000 && IDC_PROMPT_TEXT == 1001 && IDC_AGREEMENT_TEXT == 1000,
              "control numbers");

const uint16_t kTypeBitmap = 2, kTypeIcon = 3, kTypeDialog = 5, kTypeGroupIcon = 14,
               kTypeVersion = 16;
const uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
const uint32_t kChild = WS_CHILD | WS_VISIBLE;

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

uint16_t U16(const std::vector<unsigned char>& d, size_t at) {
  return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}
uint32_t U32(const std::vector<unsigned char>& d, size_t at) {
  return static_cast<uint32_t>(U16(d, at) | static_cast<uint32_t>(U16(d, at + 2)) << 16);
}

// The resource tree of a PE file (type, name, language, data), read into the form of .res entries.
// Every offset is checked against the file; false and *error on a malformed file.
bool ParsePeResources(const std::vector<unsigned char>& d, std::vector<standin::ResEntry>* out,
                      std::string* error) {
  auto in = [&](size_t at, size_t n) { return at <= d.size() && n <= d.size() - at; };
  if (!in(0, 0x40) || !in(U32(d, 0x3c), 24) || U32(d, U32(d, 0x3c)) != 0x00004550)
    return *error = "no PE header", false;
  const size_t pe = U32(d, 0x3c), sections = U16(d, pe + 6), optional = pe + 24,
               optionalSize = U16(d, pe + 20);
  if (!in(optional, optionalSize) || optionalSize < 2) return *error = "short optional header", false;
  const uint16_t magic = U16(d, optional);
  const size_t directory = optional + (magic == 0x20b ? 112 : 96) + 2 * 8;  // entry 2: resources
  if (directory + 8 > optional + optionalSize) return *error = "no resource directory entry", false;
  const uint32_t rsrcRva = U32(d, directory);
  if (rsrcRva == 0) return *error = "no resources", false;
  // File offset of an RVA and how many bytes of its section follow it there.
  auto offsetOf = [&](uint32_t rva, size_t n, size_t* offset) {
    for (size_t i = 0; i < sections; ++i) {
      const size_t h = optional + optionalSize + 40 * i;
      if (!in(h, 40)) return false;
      const uint32_t va = U32(d, h + 12), raw = U32(d, h + 16), pointer = U32(d, h + 20);
      if (rva >= va && rva - va < raw && n <= raw - (rva - va) && in(pointer + (rva - va), n)) {
        *offset = pointer + (rva - va);
        return true;
      }
    }
    return false;
  };
  size_t root;
  if (!offsetOf(rsrcRva, 16, &root)) return *error = "resource directory outside the file", false;
  // The entries of the directory at `dir` (an offset from the root) as (id or name, target).
  struct Entry {
    standin::ResId id;
    uint32_t target;
  };
  auto entries = [&](uint32_t dir, std::vector<Entry>* list) {
    if (!in(root + dir, 16)) return false;
    const size_t count = size_t{U16(d, root + dir + 12)} + U16(d, root + dir + 14);
    for (size_t i = 0; i < count; ++i) {
      const size_t e = root + dir + 16 + 8 * i;
      if (!in(e, 8)) return false;
      Entry entry;
      const uint32_t name = U32(d, e);
      if (name & 0x80000000u) {
        const size_t at = root + (name & 0x7fffffffu);
        if (!in(at, 2) || !in(at + 2, 2 * size_t{U16(d, at)})) return false;
        std::u16string text;
        for (size_t k = 0; k < U16(d, at); ++k) text += static_cast<char16_t>(U16(d, at + 2 + 2 * k));
        entry.id.kind = standin::ResId::kName;
        entry.id.name = standin::NarrowFromUtf16(text);
      } else {
        entry.id.kind = standin::ResId::kOrdinal;
        entry.id.ordinal = static_cast<uint16_t>(name);
      }
      entry.target = U32(d, e + 4);
      list->push_back(entry);
    }
    return true;
  };
  std::vector<Entry> types;
  if (!entries(0, &types)) return *error = "bad type directory", false;
  for (const Entry& type : types) {
    std::vector<Entry> names;
    if (!(type.target & 0x80000000u) || !entries(type.target & 0x7fffffffu, &names))
      return *error = "bad name directory", false;
    for (const Entry& name : names) {
      std::vector<Entry> languages;
      if (!(name.target & 0x80000000u) || !entries(name.target & 0x7fffffffu, &languages))
        return *error = "bad language directory", false;
      for (const Entry& language : languages) {
        size_t data;
        if ((language.target & 0x80000000u) || !in(root + language.target, 16) ||
            !offsetOf(U32(d, root + language.target), U32(d, root + language.target + 4), &data))
          return *error = "bad data entry", false;
        standin::ResEntry r;
        r.type = type.id;
        r.name = name.id;
        r.languageId = language.id.ordinal;
        r.data.assign(d.begin() + data, d.begin() + data + U32(d, root + language.target + 4));
        out->push_back(std::move(r));
      }
    }
  }
  return true;
}

// The resources under test, read once.
struct Module {
  std::string source;
  std::string error;
  std::vector<standin::ResEntry> entries;

  Module() {
    std::vector<unsigned char> bytes;
    const char* path = std::getenv("SETUP_RES_UNDER_TEST");
    if (path && *path) {
      source = path;
      bytes = ReadFile(path);
      if (bytes.empty()) {
        error = "cannot read " + source;
        return;
      }
    } else {
      source = "the native program's embedded .res";
      bytes.assign(standin_module_resources,
                   standin_module_resources + standin_module_resources_size);
    }
    const bool pe = bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
    if (!(pe ? ParsePeResources(bytes, &entries, &error)
             : standin::ParseResFile(bytes, &entries, &error)))
      error = source + ": " + error;
  }

  const standin::ResEntry* Find(uint16_t type, uint16_t name) const {
    for (const standin::ResEntry& e : entries)
      if (e.type.kind == standin::ResId::kOrdinal && e.type.ordinal == type &&
          e.name.kind == standin::ResId::kOrdinal && e.name.ordinal == name)
        return &e;
    return nullptr;
  }
};

const Module& TheModule() {
  static const Module module;
  return module;
}

// Fetches a resource or fails the test with what is missing.
#define FIND_RESOURCE(var, type, name)                                                  \
  ASSERT_TRUE(TheModule().error.empty()) << TheModule().error;                          \
  const standin::ResEntry* var = TheModule().Find(type, name);                          \
  ASSERT_NE(var, nullptr) << "no resource of type " << (type) << " named " << (name)     \
                          << " in " << TheModule().source

// ---- Dialog templates ---------------------------------------------------------------------------

struct ExpectedControl {
  int32_t id;
  uint16_t windowClass;
  const char* text;       // nullptr: the text is the ordinal below
  uint16_t textOrdinal;
  uint32_t style;
  int16_t x, y, cx, cy;
};

struct ExpectedDialog {
  uint16_t resource;
  bool extended;
  uint32_t style, exStyle;
  int16_t x, y, cx, cy;
  const char* caption;
  uint16_t pointSize, weight;
  uint8_t italic, charset;
  const char* typeface;
  std::vector<ExpectedControl> controls;
};

const ExpectedDialog kDialogs[] = {
    {102, true,
     WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_3DLOOK,
     WS_EX_APPWINDOW, 0, 0, 286, 135, "Harvelon Setup for Windows 95 ", 12, 0, 0, 1, "System",
     {
         {1, kButton, "OK", 0, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 64, 108, 50, 14},
         {2, kButton, "Cancel", 0, kChild | WS_TABSTOP, 172, 108, 50, 14},
         {1000, kEdit, "", 0, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 84, 268, 12},
         {1001, kStatic, "", 0, kChild | SS_CENTER | SS_SUNKEN | WS_BORDER, 8, 4, 268, 64},
     }},
    {129, false, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 314, 205, "Dialog",
     10, 0, 0, 0, "MS Sans Serif",
     {
         {1, kButton, "OK", 0, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 184, 50, 14},
         {2, kButton, "Cancel", 0, kChild | WS_TABSTOP, 214, 184, 50, 14},
         {-1, kStatic, nullptr, 131, kChild | SS_BITMAP, 8, 4, 115, 55},
         {1000, kEdit, "",
          0, kChild | ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 4, 64, 304,
          112},
     }},
};

TEST(ResourceCheck, DialogTemplatesMatchTheirTable) {
  for (const ExpectedDialog& want : kDialogs) {
    SCOPED_TRACE("dialog template " + std::to_string(want.resource));
    FIND_RESOURCE(entry, kTypeDialog, want.resource);
    standin::DialogTemplate got;
    std::string error;
    ASSERT_TRUE(standin::ParseDialogTemplate(entry->data, &got, &error)) << error;

    EXPECT_EQ(got.extended, want.extended);
    if (want.extended) {
      EXPECT_EQ(got.dlgVer, 1);
      EXPECT_EQ(got.signature, 0xFFFF);
      EXPECT_EQ(got.helpId, 0u);
      EXPECT_EQ(got.weight, want.weight);
      EXPECT_EQ(got.italic, want.italic);
      EXPECT_EQ(got.charset, want.charset);
    }
    EXPECT_EQ(Hex(got.style), Hex(want.style)) << "window style";
    EXPECT_EQ(Hex(got.exStyle), Hex(want.exStyle)) << "extended style";
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(got.menu.kind, standin::ResId::kNone) << "menu";
    EXPECT_EQ(got.windowClass.kind, standin::ResId::kNone) << "window class";
    EXPECT_EQ(got.title, want.caption);
    EXPECT_TRUE(got.hasFont);
    EXPECT_EQ(got.pointSize, want.pointSize);
    EXPECT_EQ(got.typeface, want.typeface);

    ASSERT_EQ(got.itemCount, want.controls.size());
    ASSERT_EQ(got.items.size(), want.controls.size());
    for (size_t i = 0; i < want.controls.size(); ++i) {
      const ExpectedControl& wc = want.controls[i];
      const standin::DialogItem& gc = got.items[i];
      SCOPED_TRACE("control " + std::to_string(i + 1) + " (ID " + std::to_string(wc.id) + ")");
      // The classic format stores the ID in 16 bits, the extended one in 32.
      uint32_t wantId = want.extended ? static_cast<uint32_t>(wc.id)
                                      : static_cast<uint16_t>(wc.id);
      EXPECT_EQ(gc.id, wantId);
      EXPECT_EQ(gc.windowClass.kind, standin::ResId::kOrdinal) << "class " << gc.windowClass.name;
      EXPECT_EQ(Hex(gc.windowClass.ordinal), Hex(wc.windowClass)) << "class";
      if (wc.text) {
        // An empty text is stored as a lone NUL, which reads as no name at all.
        EXPECT_NE(gc.title.kind, standin::ResId::kOrdinal) << "text is an ordinal, not a text";
        EXPECT_EQ(gc.title.name, wc.text) << "text";
      } else {
        EXPECT_EQ(gc.title.kind, standin::ResId::kOrdinal) << "text";
        EXPECT_EQ(gc.title.ordinal, wc.textOrdinal) << "text";
      }
      EXPECT_EQ(Hex(gc.style), Hex(wc.style)) << "style";
      EXPECT_EQ(Hex(gc.exStyle), Hex(0)) << "extended style";
      EXPECT_EQ(gc.helpId, 0u);
      EXPECT_EQ(gc.x, wc.x);
      EXPECT_EQ(gc.y, wc.y);
      EXPECT_EQ(gc.cx, wc.cx);
      EXPECT_EQ(gc.cy, wc.cy);
      EXPECT_TRUE(gc.creationData.empty());
    }
  }
}

// ---- Logo bitmap and icon ----------------------------------------------------------------------

struct BitmapHeader {
  uint32_t size;
  int32_t width, height;
  uint16_t planes, bitCount;
  uint32_t compression, clrUsed;
};

BitmapHeader ReadBitmapHeader(const std::vector<unsigned char>& d, size_t at) {
  return {U32(d, at),      static_cast<int32_t>(U32(d, at + 4)), static_cast<int32_t>(U32(d, at + 8)),
          U16(d, at + 12), U16(d, at + 14),  U32(d, at + 16), U32(d, at + 32)};
}

size_t Stride(int32_t width, uint16_t bpp) { return ((width * bpp + 31) / 32) * 4; }

TEST(ResourceCheck, LogoIsA230By110BlackAndWhiteBitmap) {
  FIND_RESOURCE(logo, kTypeBitmap, 131);
  const std::vector<unsigned char>& d = logo->data;
  ASSERT_GE(d.size(), 48u);
  BitmapHeader h = ReadBitmapHeader(d, 0);
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, 230);
  EXPECT_EQ(h.height, 110);
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, 1);
  EXPECT_EQ(h.compression, 0u);
  EXPECT_TRUE(h.clrUsed == 0 || h.clrUsed == 2) << h.clrUsed;
  EXPECT_EQ(Hex(U32(d, 40)), Hex(0x000000)) << "palette entry 0 (blue, green, red, 0)";
  EXPECT_EQ(Hex(U32(d, 44)), Hex(0xFFFFFF)) << "palette entry 1";
  const size_t bits = 48, rowBytes = Stride(230, 1);
  ASSERT_EQ(d.size(), bits + rowBytes * 110);
  // Both colours are used: the image is not blank.
  size_t ink = 0;
  for (size_t row = 0; row < 110; ++row)
    for (size_t x = 0; x < 230; ++x)
      ink += ((d[bits + row * rowBytes + x / 8] >> (7 - x % 8)) & 1) == 0;
  EXPECT_GT(ink, 0u);
  EXPECT_LT(ink, 230u * 110u);
}

struct ExpectedIconImage {
  uint8_t width, height, colourCount;
  uint16_t bitCount;
};

// In group order. The second image is 4 bits per pixel but entered as 8 colours.
const ExpectedIconImage kIconImages[] = {
    {32, 16, 2, 1},
    {32, 32, 8, 4},
    {32, 32, 2, 1},
    {32, 32, 16, 4},
};

TEST(ResourceCheck, IconGroupListsFourImagesInOrder) {
  FIND_RESOURCE(group, kTypeGroupIcon, 128);
  const std::vector<unsigned char>& d = group->data;
  const size_t count = std::size(kIconImages);
  ASSERT_EQ(d.size(), 6 + 14 * count);
  EXPECT_EQ(U16(d, 0), 0) << "reserved";
  EXPECT_EQ(U16(d, 2), 1) << "type: icon";
  ASSERT_EQ(U16(d, 4), count);
  std::vector<uint16_t> ids;
  for (size_t i = 0; i < count; ++i) {
    const ExpectedIconImage& want = kIconImages[i];
    SCOPED_TRACE("icon directory entry " + std::to_string(i + 1));
    const size_t at = 6 + 14 * i;
    EXPECT_EQ(d[at], want.width);
    EXPECT_EQ(d[at + 1], want.height);
    EXPECT_EQ(d[at + 2], want.colourCount);
    EXPECT_EQ(d[at + 3], 0) << "reserved";
    EXPECT_EQ(U16(d, at + 4), 1) << "planes";
    EXPECT_EQ(U16(d, at + 6), want.bitCount);
    const uint32_t bytes = U32(d, at + 8);
    const uint16_t id = U16(d, at + 12);
    for (uint16_t seen : ids) EXPECT_NE(seen, id) << "two entries name one image";
    ids.push_back(id);

    // The image the entry names: its header agrees with the entry (height doubled for the mask).
    FIND_RESOURCE(image, kTypeIcon, id);
    ASSERT_EQ(image->data.size(), bytes);
    ASSERT_GE(bytes, 40u);
    BitmapHeader h = ReadBitmapHeader(image->data, 0);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, want.width);
    EXPECT_EQ(h.height, 2 * want.height);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, want.bitCount);
    EXPECT_EQ(h.compression, 0u);
    const size_t palette = 4u << want.bitCount;
    EXPECT_EQ(bytes, 40 + palette + (Stride(want.width, want.bitCount) + Stride(want.width, 1)) *
                                        want.height);
  }
}

// The resources carry the committed artwork, not an older or foreign copy.
TEST(ResourceCheck, BitmapAndIconImagesAreTheCommittedArtwork) {
  FIND_RESOURCE(logo, kTypeBitmap, 131);
  FIND_RESOURCE(group, kTypeGroupIcon, 128);
  const std::vector<unsigned char> bmp = ReadFile(SETUP_SOURCE_DIR "/res/logo.bmp");
  const std::vector<unsigned char> ico = ReadFile(SETUP_SOURCE_DIR "/res/setup.ico");
  ASSERT_GT(bmp.size(), 14u);
  EXPECT_TRUE(std::vector<unsigned char>(bmp.begin() + 14, bmp.end()) == logo->data)
      << "bitmap 131 is not res/logo.bmp without its file header";
  ASSERT_GE(ico.size(), 6u);
  const size_t count = U16(ico, 4);
  ASSERT_EQ(count, U16(group->data, 4));
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE("icon image " + std::to_string(i + 1));
    const uint32_t bytes = U32(ico, 6 + 16 * i + 8), offset = U32(ico, 6 + 16 * i + 12);
    ASSERT_LE(size_t{offset} + bytes, ico.size());
    FIND_RESOURCE(image, kTypeIcon, U16(group->data, 6 + 14 * i + 12));
    EXPECT_TRUE(std::vector<unsigned char>(ico.begin() + offset, ico.begin() + offset + bytes) ==
                image->data)
        << "not the image of res/setup.ico";
  }
}

// ---- Version record ----------------------------------------------------------------------------

// One node of a VS_VERSIONINFO tree: length, value length, type, key, value, children, each
// aligned to 4 bytes from the start of the record.
struct VersionNode {
  std::u16string key;
  uint16_t type = 0;
  uint16_t valueLength = 0;
  std::vector<unsigned char> value;
  std::vector<VersionNode> children;

  const VersionNode* Child(const std::u16string& name) const {
    for (const VersionNode& c : children)
      if (c.key == name) return &c;
    return nullptr;
  }
  // A string value: UTF-16 up to its terminating NUL, narrowed.
  std::string Text() const {
    std::u16string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
      char16_t c = static_cast<char16_t>(value[i] | value[i + 1] << 8);
      if (c == 0) break;
      text += c;
    }
    return standin::NarrowFromUtf16(text);
  }
};

size_t Align4(size_t at) { return (at + 3) & ~size_t{3}; }

// Reads the node at `at` within d[0, end); false when a length runs past its container.
bool ReadVersionNode(const std::vector<unsigned char>& d, size_t at, size_t end, VersionNode* node,
                     std::string* error) {
  if (at + 6 > end) return *error = "node header past its container", false;
  const size_t length = U16(d, at);
  node->valueLength = U16(d, at + 2);
  node->type = U16(d, at + 4);
  if (length < 6 || at + length > end) return *error = "node length past its container", false;
  const size_t nodeEnd = at + length;
  size_t p = at + 6;
  for (;;) {
    if (p + 2 > nodeEnd) return *error = "unterminated key", false;
    char16_t c = static_cast<char16_t>(U16(d, p));
    p += 2;
    if (c == 0) break;
    node->key += c;
  }
  p = Align4(p);
  // A text value's length counts UTF-16 units, a binary one bytes.
  const size_t valueBytes = node->type == 1 ? 2u * node->valueLength : node->valueLength;
  if (p + valueBytes > nodeEnd) return *error = "value past its node", false;
  node->value.assign(d.begin() + p, d.begin() + p + valueBytes);
  p = Align4(p + valueBytes);
  while (p < nodeEnd) {
    VersionNode child;
    if (!ReadVersionNode(d, p, nodeEnd, &child, error)) return false;
    p = Align4(p + U16(d, p));
    node->children.push_back(std::move(child));
  }
  return true;
}

TEST(ResourceCheck, VersionRecordHoldsTheProductVersionAndStrings) {
  FIND_RESOURCE(version, kTypeVersion, 1);
  VersionNode root;
  std::string error;
  ASSERT_TRUE(ReadVersionNode(version->data, 0, version->data.size(), &root, &error)) << error;
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  EXPECT_EQ(root.type, 0);

  // VS_FIXEDFILEINFO, as 13 DWORDs.
  ASSERT_EQ(root.value.size(), 52u);
  const struct {
    const char* field;
    uint32_t value;
  } fixed[] = {
      {"signature", 0xFEEF04BD}, {"structure version", 0x00010000},
      {"file version MS", 0x00010000}, {"file version LS", 0x00000001},
      {"product version MS", 0x00010000}, {"product version LS", 0x00000001},
      {"file flags", 0}, {"file OS (VOS__WINDOWS32)", 0x4}, {"file type (VFT_APP)", 0x1},
      {"file subtype", 0}, {"file date MS", 0}, {"file date LS", 0},
  };
  const size_t offsets[] = {0, 4, 8, 12, 16, 20, 28, 32, 36, 40, 44, 48};
  for (size_t i = 0; i < std::size(fixed); ++i)
    EXPECT_EQ(Hex(U32(root.value, offsets[i])), Hex(fixed[i].value)) << fixed[i].field;

  const VersionNode* strings = root.Child(u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->children.size(), 1u) << "one string table";
  const VersionNode& table = strings->children[0];
  EXPECT_EQ(table.key, u"040904B0");
  std::map<std::string, std::string> got;
  for (const VersionNode& s : table.children) {
    EXPECT_EQ(s.type, 1) << standin::NarrowFromUtf16(s.key) << " is not a text value";
    got[standin::NarrowFromUtf16(s.key)] = s.Text();
  }
  const std::map<std::string, std::string> want = {
      {"CompanyName", ""},
      {"FileDescription", "SETUP MFC Application"},
      {"FileVersion", "1, 0, 0, 1"},
      {"InternalName", "SETUP"},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "SETUP.EXE"},
      {"ProductName", "SETUP Application"},
      {"ProductVersion", "1, 0, 0, 1"},
  };
  EXPECT_EQ(got, want);

  const VersionNode* vars = root.Child(u"VarFileInfo");
  ASSERT_NE(vars, nullptr);
  const VersionNode* translation = vars->Child(u"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->type, 0) << "binary value";
  ASSERT_EQ(translation->value.size(), 4u);
  EXPECT_EQ(U16(translation->value, 0), 0x409) << "language";
  EXPECT_EQ(U16(translation->value, 2), 1200) << "code page";
}

TEST(ResourceCheck, EveryResourceIsUsEnglish) {
  ASSERT_TRUE(TheModule().error.empty()) << TheModule().error;
  ASSERT_FALSE(TheModule().entries.empty()) << TheModule().source << " holds no resources";
  for (const standin::ResEntry& e : TheModule().entries)
    EXPECT_EQ(Hex(e.languageId), Hex(0x409))
        << "type " << e.type.ordinal << e.type.name << " name " << e.name.ordinal << e.name.name;
}

}  // namespace
