// The scenario language of the end-to-end driver, tested natively.
#include "e2e/driver/Script.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kvdrive {
namespace {

TEST(Scenario, WordsQuotesCommentsAndLineNumbers) {
  const auto commands = parseScenario("# heading\n\nstart\n  wait-box Error \"two\\rlines\"  # note\r\n"
                                      "expect Tmain.Lbl_1 text \"\"\nini a.inf s k \"C:\\APPS\\TOOL\"\n");
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[0].words, std::vector<std::string>{"start"});
  EXPECT_EQ(commands[1].line, 4);
  EXPECT_EQ(commands[1].words, (std::vector<std::string>{"wait-box", "Error", "two\rlines"}));
  EXPECT_EQ(commands[2].words, (std::vector<std::string>{"expect", "Tmain.Lbl_1", "text", ""}));
  // Backslashes of Windows paths stay; only the named escapes are taken.
  EXPECT_EQ(commands[3].words.back(), "C:\\APPS\\TOOL");
  EXPECT_EQ(parseScenario("x \"a\\\\b\\\"c\"")[0].words[1], "a\\b\"c");
  EXPECT_EQ(parseScenario("x a#b")[0].words, (std::vector<std::string>{"x", "a#b"}));
}

TEST(Scenario, UnclosedQuoteNamesItsLine) {
  try {
    parseScenario("start\nwait-box \"Error\n");
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "line 2: unclosed quote");
  }
}

TEST(Scenario, TraceWildcards) {
  EXPECT_TRUE(matches("pr_load 7 pr_load 100", "pr_load 7 pr_load 100"));
  EXPECT_FALSE(matches("pr_load 7", "pr_load 7 pr_load 100"));
  EXPECT_TRUE(matches("pr_load 65 * pr_load 90 pr_load 100", "pr_load 65 pr_load 70 pr_load 90 pr_load 100"));
  EXPECT_TRUE(matches("*pr_load 100", "pr_load 100"));
  EXPECT_TRUE(matches("a*b*c", "aXbYbc"));
  EXPECT_FALSE(matches("a*b*c", "aXbYd"));
  EXPECT_TRUE(matches("*", ""));
  EXPECT_FALSE(matches("", "x"));
}

} // namespace
} // namespace kvdrive
