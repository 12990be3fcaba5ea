// The message catalogue's texts and ShowText's conversion from OEM to ANSI in the entry itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/setup_state.h"
#include "standin/control.h"
#include "text/message_catalogue.h"

namespace {

struct Expected {
  const char* name;
  const char* stored;
  const char* text;
};

TEST(Catalogue, EveryTextAsTheUserMustSeeIt) {
  const Expected cases[] = {
      {"agreement caption", g_catalogue.agreementCaption, "Vantrel Software License Agreement"},
      {"OK label", g_catalogue.okLabel, "&OK"},
      {"Cancel label", g_catalogue.cancelLabel, "&Cancel"},
      {"Agree label", g_catalogue.agreeLabel, "&Agree"},
      {"setup caption", g_catalogue.setupCaption, "Harvelon Setup for Windows 95"},
      {"default destination", g_catalogue.defaultEntry[Destination], "C:\\HARVEL95"},
      {"default group", g_catalogue.defaultEntry[Group], "Harvelon for Windows 95"},
      {"uninstall question", g_catalogue.uninstallQuestion,
       "This will remove the Harvelon application!\n\nAre you sure you wish to do this?"},
      {"uninstall caption", g_catalogue.uninstallCaption, "Confirm Uninstall"},
      {"destination prompt", g_catalogue.prompt[Destination],
       "\nWelcome to Harvelon Setup for Windows 95!\n\nThis installation requires about 5MB of "
       "disk space.\n\nPlease choose your installation directory,\nthen press ENTER or click on OK"},
      {"group prompt", g_catalogue.prompt[Group],
       "\n\nPlease choose a preferred Groupname,\n\nthen press ENTER or click on OK"},
      {"incomplete path", g_catalogue.incompletePath, "Please enter a full path including drive."},
      {"incomplete path caption", g_catalogue.incompletePathCaption, "Incomplete Directory Name"},
      {"existing directory", g_catalogue.existingDirectory,
       "That directory already exists.\n\nInstall to it anyway?"},
      {"existing directory caption", g_catalogue.existingDirectoryCaption,
       "Confirm Directory Choice"},
      {"unusable entry", g_catalogue.unusableEntry, "Cannot accept that entry"},
      {"unusable entry caption", g_catalogue.unusableEntryCaption, "Invalid Directory Name"},
      {"cancel question", g_catalogue.cancelQuestion, "Are you sure you wish to cancel?"},
      {"cancel caption", g_catalogue.cancelCaption, "Confirm Cancel"},
      {"name too long", g_catalogue.nameTooLong,
       "Please use a directory name with up to 8 characters\n(with an optional extension of up "
       "to 3 characters)."},
      {"name too long caption", g_catalogue.nameTooLongCaption, "Invalid Directory Name"},
  };
  for (const Expected& c : cases) EXPECT_STREQ(c.stored, c.text) << c.name;
}

TEST(Catalogue, AgreementTextHasItsForm) {
  const std::string text = g_catalogue.agreementText;
  EXPECT_EQ(text.size(), 2580u);
  size_t pairs = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r') << "line feed without carriage return at " << i;
      ++pairs;
    } else if (text[i] == '\r') {
      EXPECT_EQ(i + 1 < text.size() ? text[i + 1] : '\0', '\n') << "lone CR at " << i;
    }
    EXPECT_LT(static_cast<unsigned char>(text[i]), 128u) << "not 7-bit at " << i;
  }
  EXPECT_EQ(pairs, 12u);
  EXPECT_EQ(text.rfind("All users of Harvelon must agree to the terms that follow", 0), 0u);
  // The four numbered headings, each on a line of its own, in order.
  const char* headings[] = {"\r\n1. PERMITTED USES\r\n", "\r\n2. USES NOT PERMITTED\r\n",
                            "\r\n3. LIMITED WARRANTY\r\n", "\r\n4. MISCELLANEOUS\r\n"};
  size_t from = 0;
  for (const char* heading : headings) {
    size_t at = text.find(heading, from);
    EXPECT_NE(at, std::string::npos) << heading;
    if (at != std::string::npos) from = at + 1;
  }
  // It fits the text scratch.
  EXPECT_LT(text.size(), static_cast<size_t>(kTextScratchSize));
}

class ShowTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    scratch_.assign(kTextScratchSize, 'S');
    g_setup.textScratch = scratch_.data();
  }
  void TearDown() override { g_setup.textScratch = nullptr; }
  std::vector<char> scratch_;
};

TEST_F(ShowTextTest, SevenBitTextsAreShownUnchangedFromTheirOwnStorage) {
  char* entries[] = {g_catalogue.agreementText, g_catalogue.setupCaption,
                     g_catalogue.prompt[Destination], g_catalogue.uninstallQuestion};
  for (char* entry : entries) {
    const std::string before = entry;
    EXPECT_EQ(ShowText(entry), entry);
    EXPECT_EQ(std::string(entry), before);
  }
}

// OEM 437 bytes that the ANSI code page shows differently: 0x82 is e-acute, 0x81 u-umlaut.
TEST_F(ShowTextTest, CaptionAndMessageConvertedOneAfterTheOtherStayApart) {
  char caption[] = "Caf\x82";
  char message[] = "Gr\x81\x8E" "e";
  const char* shownCaption = ShowText(caption);
  const char* shownMessage = ShowText(message);
  EXPECT_EQ(shownCaption, caption);
  EXPECT_EQ(shownMessage, message);
  EXPECT_STREQ(shownCaption, "Caf\xE9");
  EXPECT_STREQ(shownMessage, "Gr\xFC\xC4" "e");
}

TEST_F(ShowTextTest, ConvertsInPlaceWithoutScratchOrWhenTheScratchIsTooSmall) {
  struct Case {
    const char* name;
    bool withScratch;
    size_t length;
  };
  const Case cases[] = {
      {"no scratch", false, 10},
      {"fills the scratch exactly", true, kTextScratchSize - 1},
      {"one more than the scratch holds", true, kTextScratchSize},
      {"far longer", true, 3 * kTextScratchSize},
  };
  for (const Case& c : cases) {
    g_setup.textScratch = c.withScratch ? scratch_.data() : nullptr;
    scratch_.assign(kTextScratchSize, 'S');
    std::string text(c.length, '\x82');
    std::vector<char> entry(text.begin(), text.end());
    entry.push_back('\0');
    entry.push_back('G');  // a guard byte after the entry's NUL
    EXPECT_EQ(ShowText(entry.data()), entry.data()) << c.name;
    EXPECT_EQ(std::string(entry.data()), std::string(c.length, '\xE9')) << c.name;
    EXPECT_EQ(entry.back(), 'G') << c.name;
  }
}

}  // namespace
