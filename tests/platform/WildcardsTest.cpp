// The wildcard matcher of file name globs and of the e2e driver's expected texts.
#include <gtest/gtest.h>

#include "platform/Wildcards.h"

namespace kalvora {
namespace {

TEST(Wildcards, Table) {
  constexpr auto globs = Wildcards::StarAndQuestionMark, starOnly = Wildcards::StarOnly;
  const struct {
    const char* pattern;
    const char* text;
    Wildcards wildcards;
    bool matches;
  } cases[] = {
      {"*.txt", "readme.txt", globs, true},
      {"*.txt", "readme.txt.bak", globs, false},
      {"r?adme.*", "readme.txt", globs, true},
      {"r?adme.*", "rdme.txt", globs, false},
      {"a*", "a*b", globs, true},
      {"a*c", "a*b", globs, false},
      {"*a*a", "banana", globs, true},
      {"*", "", globs, true},
      {"?", "", globs, false},
      {"", "x", globs, false},
      {"Case", "case", globs, false},
      {"ok?", "ok!", starOnly, false},
      {"ok?", "ok?", starOnly, true},
      {"Fertig? *", "Fertig? Ja", starOnly, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(matchesWildcards(c.pattern, c.text, c.wildcards), c.matches) << c.pattern << " / " << c.text;
}

} // namespace
} // namespace kalvora
