#include "script/TextTable.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

TEST(TextTable, ReadsLanguageKeysByNameAndNumber) {
  MemoryPlatform fs;
  fs.putFile("C:\\setup.inf", "[main]\r\nl1=Title\r\n[Language]\r\nL1=Wird geladen\r\nl17=&Weiter >\r\nl66=a\\nb\r\n");
  SetupScript script("C:\\setup.inf", fs);
  TextTable texts(script);
  EXPECT_EQ(texts.text(1), "Wird geladen");
  EXPECT_EQ(texts.text("l17"), "&Weiter >");
  EXPECT_EQ(texts.text(17), "&Weiter >");
  // No escapes: a backslash-n stays two characters.
  EXPECT_EQ(texts.text(66), "a\\nb");
  EXPECT_EQ(texts.text(66).size(), 4u);
  EXPECT_EQ(texts.text(2), "");
}

TEST(TextTable, MissingLanguageSectionGivesEmptyTexts) {
  MemoryPlatform fs;
  fs.putFile("C:\\setup.inf", "[main]\r\nl1=Title\r\nl2=Second\r\n");
  SetupScript script("C:\\setup.inf", fs);
  TextTable texts(script);
  for (int i = 1; i <= 66; ++i)
    EXPECT_EQ(texts.text(i), "") << i;
  SetupScript missingFile("C:\\nothing.inf", fs);
  EXPECT_EQ(TextTable(missingFile).text(10), "");
}

} // namespace
} // namespace kalvora
