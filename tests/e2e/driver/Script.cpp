#include "Script.h"

#include <stdexcept>

#include "platform/Wildcards.h"

namespace kvdrive {

std::vector<Command> parseScenario(const std::string& text) {
  std::vector<Command> commands;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    Command command{lineNumber, {}};
    std::size_t i = 0;
    while (i < line.size()) {
      const char c = line[i];
      if (c == ' ' || c == '\t' || c == '\r') {
        ++i;
      } else if (c == '#') {
        break;
      } else if (c == '"') {
        std::string word;
        ++i;
        bool closed = false;
        while (i < line.size()) {
          char ch = line[i++];
          if (ch == '"') {
            closed = true;
            break;
          }
          // Only \r \n \t \" and \\ are escapes: other backslashes stay, as in Windows paths.
          if (ch == '\\' && i < line.size() && std::string("rnt\"\\").find(line[i]) != std::string::npos) {
            const char e = line[i++];
            ch = e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
          }
          word += ch;
        }
        if (!closed) throw std::runtime_error("line " + std::to_string(lineNumber) + ": unclosed quote");
        command.words.push_back(word);
      } else {
        const std::size_t from = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
          ++i;
        command.words.push_back(line.substr(from, i - from));
      }
    }
    if (!command.words.empty()) commands.push_back(command);
    if (end == text.size()) break;
  }
  return commands;
}

bool matches(const std::string& pattern, const std::string& text) {
  // The texts of the program under test hold question marks of their own.
  return kalvora::matchesWildcards(pattern, text, kalvora::Wildcards::StarOnly);
}

} // namespace kvdrive
