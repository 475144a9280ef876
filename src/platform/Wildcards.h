#pragma once
// Matching a name or a text against a pattern with wildcards: "*" stands for
// any run of characters, and, where "?" is a wildcard too, "?" for any one.
#include <string_view>

namespace kalvora {

enum class Wildcards {
  StarAndQuestionMark, // file name globs
  StarOnly,            // texts that hold question marks of their own
};

// Whether the whole text matches the whole pattern; letter case counts.
bool matchesWildcards(std::string_view pattern, std::string_view text,
                      Wildcards wildcards = Wildcards::StarAndQuestionMark);

} // namespace kalvora
