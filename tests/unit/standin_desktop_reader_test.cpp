// The stand-in's readers of .res files and dialog templates: every field of both formats, and
// truncated or hostile input refused without a read past its end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/res_reader.h"
#include "tests/unit/standin_desktop_templates.h"

extern "C" const unsigned char standin_module_resources[];
extern "C" const unsigned long standin_module_resources_size;

namespace {

using namespace desktop_test;
using standin::DialogTemplate;
using standin::ResId;

Template Sample(bool extended) {
  Template t{extended, WS_POPUP | WS_CAPTION | DS_SETFONT | DS_CENTER, -3, 7, 210, 99, "Caption",
             StandardItems()};
  t.exStyle = WS_EX_APPWINDOW;
  return t;
}

class TemplateFormats : public ::testing::TestWithParam<bool> {};

// Header, font and items come back as written, in both formats.
TEST_P(TemplateFormats, ReadsEveryField) {
  bool extended = GetParam();
  std::vector<unsigned char> bytes = BuildTemplate(Sample(extended));
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(standin::ParseDialogTemplate(bytes, &t, &error)) << error;
  EXPECT_EQ(t.extended, extended);
  EXPECT_EQ(t.dlgVer, extended ? 1 : 0);
  EXPECT_EQ(t.signature, extended ? 0xFFFF : 0);
  EXPECT_EQ(t.style, static_cast<uint32_t>(WS_POPUP | WS_CAPTION | DS_SETFONT | DS_CENTER));
  EXPECT_EQ(t.exStyle, static_cast<uint32_t>(WS_EX_APPWINDOW));
  EXPECT_EQ(t.itemCount, 4);
  EXPECT_EQ(t.x, -3);
  EXPECT_EQ(t.y, 7);
  EXPECT_EQ(t.cx, 210);
  EXPECT_EQ(t.cy, 99);
  EXPECT_EQ(t.menu.kind, ResId::kNone);
  EXPECT_EQ(t.windowClass.kind, ResId::kNone);
  EXPECT_EQ(t.title, "Caption");
  EXPECT_TRUE(t.hasFont);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.weight, extended ? 400 : 0);
  EXPECT_EQ(t.italic, 0);
  EXPECT_EQ(t.charset, extended ? 1 : 0);
  EXPECT_EQ(t.typeface, "MS Sans Serif");
  ASSERT_EQ(t.items.size(), 4u);
  const standin::DialogItem& ok = t.items[0];
  EXPECT_EQ(ok.id, static_cast<uint32_t>(IDOK));
  EXPECT_EQ(ok.style, static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP));
  EXPECT_EQ(ok.windowClass.kind, ResId::kOrdinal);
  EXPECT_EQ(ok.windowClass.ordinal, kButton);
  EXPECT_EQ(ok.title.name, "OK");
  EXPECT_EQ(ok.x, 20);
  EXPECT_EQ(ok.y, 80);
  EXPECT_EQ(ok.cx, 50);
  EXPECT_EQ(ok.cy, 14);
  EXPECT_EQ(t.items[2].windowClass.ordinal, kEdit);
  EXPECT_EQ(t.items[2].title.kind, ResId::kNone);  // an empty text is stored as a lone 0
  EXPECT_EQ(t.items[3].id, static_cast<uint32_t>(kStaticId));
  EXPECT_EQ(t.items[3].title.name, "Question");
}

// Every shorter prefix of a valid template is refused (AddressSanitizer sees any over-read).
TEST_P(TemplateFormats, RefusesEveryTruncation) {
  std::vector<unsigned char> bytes = BuildTemplate(Sample(GetParam()));
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + n);
    DialogTemplate t;
    std::string error;
    // The last item's trailing padding is not needed; only the bytes it declares are.
    EXPECT_FALSE(standin::ParseDialogTemplate(prefix, &t, &error)) << "prefix of " << n;
    EXPECT_FALSE(error.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Both, TemplateFormats, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Extended" : "Classic");
                         });

// The parts the builder does not write: named class, ordinal title, menu by name, creation data.
TEST(DialogTemplate, NamedClassOrdinalTitleAndCreationData) {
  for (bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "extended" : "classic");
    Bytes b;
    if (extended) {
      b.Word(1), b.Word(0xFFFF), b.Dword(77), b.Dword(0), b.Dword(WS_POPUP);
    } else {
      b.Dword(WS_POPUP), b.Dword(0);
    }
    b.Word(1);
    for (int i = 0; i < 4; ++i) b.Word(0);
    b.Text("MENU");
    b.Word(0xFFFF), b.Word(0x1234);  // class by ordinal
    b.Text("T");
    b.Align();
    if (extended) {
      b.Dword(5), b.Dword(0), b.Dword(SS_BITMAP), b.Dword(0), b.Dword(0), b.Dword(0xFFFFFFFF);
    } else {
      b.Dword(SS_BITMAP), b.Dword(0), b.Dword(0), b.Dword(0), b.Word(0xFFFF);
    }
    b.Text("MyClass");
    b.Word(0xFFFF), b.Word(131);
    b.Word(extended ? 3 : 5);  // three bytes of data (the classic count includes its own word)
    b.out.insert(b.out.end(), {0xA, 0xB, 0xC});
    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(standin::ParseDialogTemplate(b.out, &t, &error)) << error;
    EXPECT_EQ(t.helpId, extended ? 77u : 0u);
    EXPECT_EQ(t.menu.kind, ResId::kName);
    EXPECT_EQ(t.menu.name, "MENU");
    EXPECT_EQ(t.windowClass.ordinal, 0x1234);
    EXPECT_FALSE(t.hasFont);
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(t.items[0].helpId, extended ? 5u : 0u);
    EXPECT_EQ(t.items[0].id, extended ? 0xFFFFFFFFu : 0xFFFFu);
    EXPECT_EQ(t.items[0].windowClass.name, "MyClass");
    EXPECT_EQ(t.items[0].title.kind, ResId::kOrdinal);
    EXPECT_EQ(t.items[0].title.ordinal, 131);
    EXPECT_EQ(t.items[0].creationData, (std::vector<unsigned char>{0xA, 0xB, 0xC}));
  }
}

// A count of items that the bytes cannot hold is refused at once, not allocated for.
TEST(DialogTemplate, RefusesAnItemCountBeyondTheBytes) {
  std::vector<unsigned char> bytes = BuildTemplate(Sample(false));
  bytes[8] = 0xFF;
  bytes[9] = 0xFF;
  DialogTemplate t;
  std::string error;
  EXPECT_FALSE(standin::ParseDialogTemplate(bytes, &t, &error));
  EXPECT_TRUE(t.items.empty());
}

TEST(ResFile, ReadsEntriesAfterTheEmptyOne) {
  std::vector<unsigned char> image =
      BuildRes({{5, 200, {1, 2, 3}}, {2, 131, {}}, {16, 1, {9, 9, 9, 9, 9}}});
  std::vector<standin::ResEntry> entries;
  std::string error;
  ASSERT_TRUE(standin::ParseResFile(image, &entries, &error)) << error;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].type.ordinal, 5);
  EXPECT_EQ(entries[0].name.ordinal, 200);
  EXPECT_EQ(entries[0].data, (std::vector<unsigned char>{1, 2, 3}));
  EXPECT_EQ(entries[0].memoryFlags, 0x1030);
  EXPECT_EQ(entries[0].languageId, 0x0409);
  EXPECT_TRUE(entries[1].data.empty());
  EXPECT_EQ(entries[2].data.size(), 5u);
}

struct BadRes {
  const char* name;
  size_t offset;  // of the byte to overwrite, counted from the second entry
  unsigned char value;
};

class ResFileDamage : public ::testing::TestWithParam<BadRes> {};

// Sizes that point past the end, a header too small to hold its fields, or a missing empty entry.
TEST_P(ResFileDamage, IsRefused) {
  std::vector<unsigned char> image = BuildRes({{5, 200, {1, 2, 3, 4}}});
  const BadRes& c = GetParam();
  if (std::string(c.name) == "NoEmptyEntry") image.erase(image.begin(), image.begin() + 32);
  else image[32 + c.offset] = c.value;
  std::vector<standin::ResEntry> entries;
  std::string error;
  EXPECT_FALSE(standin::ParseResFile(image, &entries, &error));
  EXPECT_TRUE(entries.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ResFileDamage,
                         ::testing::Values(BadRes{"DataPastTheEnd", 3, 0x7F},
                                           BadRes{"HeaderPastTheEnd", 5, 0x10},
                                           BadRes{"HeaderTooSmall", 4, 12},
                                           BadRes{"NoEmptyEntry", 0, 0}),
                         [](const ::testing::TestParamInfo<BadRes>& info) {
                           return std::string(info.param.name);
                         });

TEST(ResFile, RefusesEveryTruncation) {
  std::vector<unsigned char> image = BuildRes({{5, 200, {1, 2, 3, 4, 5, 6, 7, 8}}});
  for (size_t n = 0; n < image.size(); ++n) {
    if (n == 32) continue;  // the empty entry alone: a valid image without resources
    std::vector<unsigned char> prefix(image.begin(), image.begin() + n);
    std::vector<standin::ResEntry> entries;
    std::string error;
    EXPECT_FALSE(standin::ParseResFile(prefix, &entries, &error)) << "prefix of " << n;
  }
}

// The image linked into the program is compiled by windres: an independent writer of both formats.
TEST(ResFile, ReadsTheLinkedImageOfWindres) {
  std::vector<standin::ResEntry> entries;
  std::string error;
  ASSERT_TRUE(standin::ParseResFile(standin_module_resources, standin_module_resources_size,
                                    &entries, &error))
      << error;
  int dialogs = 0;
  for (const standin::ResEntry& e : entries) {
    if (e.type.ordinal != 5) continue;
    ++dialogs;
    DialogTemplate t;
    ASSERT_TRUE(standin::ParseDialogTemplate(e.data, &t, &error)) << e.name.ordinal << ": " << error;
    EXPECT_EQ(t.items.size(), t.itemCount);
    EXPECT_TRUE(t.hasFont);
  }
  EXPECT_GE(dialogs, 2);
}

}  // namespace
