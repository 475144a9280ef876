// The built-in text sets: every language has every key, in Windows-1252, with
// the placement rules the setup program relies on.
#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "media/AnsiText.h"
#include "media/BuiltinTexts.h"

namespace kalvora::media {
namespace {

const char* const kNames[] = {"english",    "german",  "french", "spanish",   "italian", "dutch",
                              "portuguese", "swedish", "danish", "norwegian", "finnish"};

// The accelerator letter of a caption ("< &Back" -> 'b'), 0 without one.
char accelerator(const std::string& caption) {
  const auto at = caption.find('&');
  return at == std::string::npos || at + 1 == caption.size()
             ? 0
             : static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
}

TEST(BuiltinTexts, EveryLanguageHasEveryKeyInPlace) {
  const auto english = builtinTexts(TextLanguage::English, "P");
  ASSERT_EQ(english.size(), 65u);
  int languages = 0;
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    const auto language = textLanguageNamed(name);
    ASSERT_TRUE(language);
    const auto texts = builtinTexts(*language, "Product");
    ASSERT_EQ(texts.size(), english.size());
    std::map<std::string, std::string> byKey;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].first, english[i].first);
      EXPECT_FALSE(texts[i].second.empty()) << texts[i].first;
      EXPECT_TRUE(utf8ToAnsi(texts[i].second)) << texts[i].first << " is not Windows-1252";
      EXPECT_EQ(texts[i].second.find('{'), std::string::npos) << texts[i].first;
      byKey[texts[i].first] = texts[i].second;
    }
    // l20 is followed by the quoted disk number: kept with its blank, in quotes.
    const std::string& l20 = byKey["l20"];
    EXPECT_TRUE(l20.size() > 3 && l20.front() == '"' && l20.substr(l20.size() - 2) == " \"") << l20;
    // The captions of one page take different accelerators; the decline button
    // of the cancel dialog is "&no" or "&nein".
    for (const auto& page :
         {std::vector<std::string>{"l12", "l17", "l24"}, std::vector<std::string>{"l12", "l17", "l41", "l42", "l43"}}) {
      std::map<char, std::string> seen;
      for (const auto& key : page) {
        const char letter = accelerator(byKey[key]);
        EXPECT_NE(letter, 0) << key;
        EXPECT_TRUE(seen.emplace(letter, key).second) << key << " and " << seen[letter] << " share &" << letter;
      }
    }
    EXPECT_NE(accelerator(byKey["l15"]), 'n');
    EXPECT_NE(byKey["l21"].find("Product"), std::string::npos);
    ++languages;
  }
  EXPECT_EQ(languages, 11);
  EXPECT_EQ(textLanguageList(), "english, german, french, spanish, italian, dutch, portuguese, swedish, danish, "
                                "norwegian, finnish or none");
}

} // namespace
} // namespace kalvora::media
