#include "app/CommandLine.h"

#include <algorithm>

#include "platform/CommandLineWords.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

std::optional<ConfigChoice> configNamed(const std::string& name) {
  const std::string lower = lowerCase(name);
  if (lower == "standard") return ConfigChoice::Standard;
  if (lower == "minimal") return ConfigChoice::Minimal;
  if (lower == "custom") return ConfigChoice::Custom;
  if (lower == "medium") return ConfigChoice::Medium;
  return std::nullopt;
}

// "1,3,7": option numbers 1 to 7, each at most once; nothing for anything else.
std::optional<std::vector<int>> optionList(const std::string& text) {
  std::vector<int> options;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    if (item.size() != 1 || item[0] < '1' || item[0] > '7') return std::nullopt;
    const int n = item[0] - '0';
    if (std::find(options.begin(), options.end(), n) != options.end()) return std::nullopt;
    options.push_back(n);
    at = comma + 1;
  }
  return options;
}

class Parser {
public:
  CommandLineResult result;

  void word(const std::string& text) {
    if (text.empty() || (text[0] != '/' && text[0] != '-')) return fail("unexpected argument \"" + text + "\"");
    const std::size_t equals = text.find('=');
    const std::string name = lowerCase(text.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const std::optional<std::string> value =
        equals == std::string::npos ? std::nullopt : std::optional<std::string>(text.substr(equals + 1));
    if (name == "quiet" || name == "passive" || name == "norestart" || name == "?" || name == "help")
      return flag(name, value);
    if (name == "dir" || name == "group" || name == "log" || name == "source" || name == "config" || name == "options")
      return valued(name, value);
    fail("unknown switch /" + name);
  }

  void fail(const std::string& why) {
    if (result.error.empty()) result.error = why;
  }

private:
  bool firstTime(const std::string& name) {
    if (std::find(seen_.begin(), seen_.end(), name) != seen_.end()) {
      fail("the switch /" + name + " is given twice");
      return false;
    }
    seen_.push_back(name);
    return true;
  }

  void flag(const std::string& name, const std::optional<std::string>& value) {
    if (value) return fail("the switch /" + name + " takes no value");
    if (!firstTime(name)) return;
    SetupSwitches& s = result.switches;
    if (name == "quiet" || name == "passive") {
      if (s.unattended()) return fail("/quiet and /passive exclude each other");
      s.mode = name == "quiet" ? UiMode::Quiet : UiMode::Passive;
    } else if (name == "norestart") {
      s.noRestart = true;
    } else {
      s.help = true;
    }
  }

  void valued(const std::string& name, const std::optional<std::string>& value) {
    if (!value || value->empty()) return fail("the switch /" + name + " needs a value: /" + name + "=...");
    if (!firstTime(name)) return;
    SetupSwitches& s = result.switches;
    if (name == "dir") s.dir = value;
    if (name == "group") s.group = value;
    if (name == "log") s.log = value;
    if (name == "source") s.source = value;
    if (name == "config") {
      s.config = configNamed(*value);
      if (!s.config) fail("unknown configuration \"" + *value + "\" (standard, minimal, custom or medium)");
    }
    if (name == "options") {
      s.options = optionList(*value);
      if (!s.options) fail("bad option list \"" + *value + "\" (numbers 1 to 7, each once, such as 1,3)");
    }
  }

  std::vector<std::string> seen_;
};

} // namespace

CommandLineResult parseSetupCommandLine(const std::string& line) {
  Parser parser;
  const auto words = splitCommandLine(line);
  if (!words) {
    parser.fail("a quote is left open");
    return parser.result;
  }
  for (const CommandLineWord& word : *words)
    parser.word(word.text);
  return parser.result;
}

std::string setupUsageText() {
  return "setup.exe [switches]\r\r"
         "/quiet\tno window at all\r"
         "/passive\tonly the progress, no questions\r"
         "/dir=PATH\ttarget directory\r"
         "/group=NAME\tprogram group\r"
         "/config=standard|minimal|custom|medium\r"
         "/options=1,3\toptions of the custom configuration\r"
         "/log=FILE\talso write the install log to FILE\r"
         "/norestart\tnever restart or log off\r"
         "/source=PATH\twhere the later disks are\r"
         "/? or /help\tthis text\r\r"
         "Exit codes: 0 installed, 1 cancelled or failed, 2 bad command line or value, "
         "3 an installed copy stops the setup, 4 not enough space, 5 a disk is missing, "
         "3010 installed, restart required.";
}

} // namespace kalvora
