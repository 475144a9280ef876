#include "platform/CommandLineWords.h"

namespace kalvora {

std::optional<std::vector<CommandLineWord>> splitCommandLine(const std::string& line) {
  std::vector<CommandLineWord> words;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      inWord = false;
      continue;
    }
    if (!inWord) {
      words.push_back({"", i});
      inWord = true;
    }
    if (c == '"')
      quoted = !quoted;
    else
      words.back().text += c;
  }
  if (quoted) return std::nullopt;
  return words;
}

} // namespace kalvora
