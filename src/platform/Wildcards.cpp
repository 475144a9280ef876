#include "platform/Wildcards.h"

namespace kalvora {

bool matchesWildcards(std::string_view pattern, std::string_view text, Wildcards wildcards) {
  const bool questionMark = wildcards == Wildcards::StarAndQuestionMark;
  // On a mismatch, the last "*" takes one character more and the match resumes after it.
  std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p] == text[t] || (questionMark && pattern[p] == '?'))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

} // namespace kalvora
