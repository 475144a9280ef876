#pragma once
// The built-in sets of user-interface texts ([language] l1 to l66) that a
// project may choose instead of writing all of them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalvora::media {

enum class TextLanguage {
  None,
  English,
  German,
  French,
  Spanish,
  Italian,
  Dutch,
  Portuguese,
  Swedish,
  Danish,
  Norwegian,
  Finnish
};

std::optional<TextLanguage> textLanguageNamed(const std::string& name);
// The names textLanguageNamed takes, for messages: "english, german, ... or none".
std::string textLanguageList();

// The texts as (key, value) pairs in key order, "{name}" replaced by the
// product name; values in UTF-8 as a project file holds them. A value that
// ends with a blank is quoted, since INI readers drop blanks at line ends.
std::vector<std::pair<std::string, std::string>> builtinTexts(TextLanguage language, const std::string& productName);

} // namespace kalvora::media
