// %s composition into a bounded buffer: at, under and over its size, and the format's odd corners.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/rt.h"

namespace {

struct ComposeCase {
  const char* name;
  const char* format;
  std::vector<const char*> args;
  size_t size;
  bool fits;
  const char* result;  // the buffer's text afterwards ("" whenever it did not fit)
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class Compose : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(Compose, WritesAllOrNothing) {
  const ComposeCase& c = GetParam();
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_LE(c.size, sizeof buffer);
  bool fits = rt::ComposeN(buffer, c.size, c.format, c.args.data(), static_cast<int>(c.args.size()));
  EXPECT_EQ(fits, c.fits);
  EXPECT_STREQ(buffer, c.result);
  // Nothing is written past the buffer's size.
  for (size_t i = c.size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Compose,
    ::testing::Values(
        ComposeCase{"ExactFit", "%s\\%s", {"C:\\HARVEL95", "GRPNAM.DAT"}, 23, true, "C:\\HARVEL95\\GRPNAM.DAT"},
        ComposeCase{"OneOver", "%s\\%s", {"C:\\HARVEL95", "GRPNAM.DAT"}, 22, false, ""},
        ComposeCase{"OneOverInLiteral", "%s.DAT", {"GRPNAM"}, 10, false, ""},
        ComposeCase{"Under", "%s", {"abc"}, 64, true, "abc"},
        ComposeCase{"EmptyInSizeOne", "%s", {""}, 1, true, ""},
        ComposeCase{"TextInSizeOne", "a", {}, 1, false, ""},
        ComposeCase{"Percent", "100%% %s", {"done"}, 64, true, "100% done"},
        ComposeCase{"LonePercents", "50% off %d %", {}, 64, true, "50% off %d %"},
        ComposeCase{"MissingArgument", "%s and %s", {"one"}, 64, false, ""},
        ComposeCase{"NullArgumentIsEmpty", "[%s]", {nullptr}, 64, true, "[]"},
        ComposeCase{"ArgumentNotReread", "%s", {"%s%%"}, 64, true, "%s%%"}),
    [](const ::testing::TestParamInfo<ComposeCase>& info) { return std::string(info.param.name); });

TEST(ComposeSize, ZeroSizeWritesNothing) {
  char buffer[4] = {'#', '#', '#', '#'};
  EXPECT_FALSE(rt::Compose(buffer, 0, "", "x"));
  EXPECT_EQ(buffer[0], '#');
}

}  // namespace
