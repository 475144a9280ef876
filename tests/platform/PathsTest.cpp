// Whether a path appended to a root stays inside it.
#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace kalvora {
namespace {

TEST(Paths, StaysInsideRootTable) {
  const struct {
    const char* relative;
    bool inside;
  } cases[] = {
      {"", true},          {"a\\b.txt", true}, {"\\a\\.\\b\\", true}, {"a/b", true},       {"..a\\b..", true},
      {"a\\..\\b", false}, {"a\\...", false},  {". .\\a", false},     {"a/ /b", false},    {".. ", false},
      {"C:\\a", false},    {"a\\b:c", false},  {"\\\\srv", true},     {"a\\. \\b", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(staysInsideRoot(c.relative), c.inside) << c.relative;
}

TEST(Paths, WithoutDotPartsTable) {
  const struct {
    const char* path;
    const char* resolved;
  } cases[] = {
      {"C:\\App\\..\\x.ini", "C:\\x.ini"},
      {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
      {"C:\\..\\..\\x", "C:\\x"},
      {"C:a\\..\\..\\x", "C:x"},
      {"\\\\srv\\share\\..\\x", "\\\\srv\\share\\x"},
      {"a/b/../c", "a\\c"},
      {"C:/a//b/", "C:\\a\\b"},
      {"..\\x", "x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(withoutDotParts(c.path), c.resolved) << c.path;
}

} // namespace
} // namespace kalvora
