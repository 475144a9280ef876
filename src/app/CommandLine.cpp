#include "app/CommandLine.h"

#include <algorithm>

#include "platform/CommandLineWords.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

std::string trimmedBlanks(const std::string& text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The names other installers taught administrators, as this program's own:
// /silent shows the progress as /passive does, /verysilent, /S and /qn show nothing.
std::string canonicalName(const std::string& name) {
  if (name == "silent") return "passive";
  if (name == "verysilent" || name == "s" || name == "qn") return "quiet";
  return name;
}

class Parser {
public:
  CommandLineResult result;

  void word(const std::string& text) {
    if (text.empty() || (text[0] != '/' && text[0] != '-')) return fail("unexpected argument \"" + text + "\"");
    const std::size_t equals = text.find('=');
    const std::string name =
        canonicalName(lowerCase(text.substr(1, equals == std::string::npos ? std::string::npos : equals - 1)));
    const std::optional<std::string> value =
        equals == std::string::npos ? std::nullopt : std::optional<std::string>(text.substr(equals + 1));
    if (name == "quiet" || name == "passive" || name == "norestart" || name == "removeold" ||
        name == "allowdowngrade" || name == "?" || name == "help")
      return flag(name, value);
    if (name == "dir" || name == "group" || name == "log" || name == "source" || name == "config" ||
        name == "options" || name == "saveinf" || name == "loadinf")
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
    } else if (name == "removeold") {
      s.removeOld = true;
    } else if (name == "allowdowngrade") {
      s.allowDowngrade = true;
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
    if (name == "saveinf") s.saveInf = value;
    if (name == "loadinf") s.loadInf = value;
    if (name == "config") {
      s.config = configNamed(*value);
      if (!s.config) fail("unknown configuration \"" + *value + "\" (standard, minimal, custom or medium)");
    }
    if (name == "options") {
      s.options = optionList(*value);
      if (!s.options) fail("bad option list \"" + *value + "\" (numbers 1 to 7 or names, each once, such as 1,3)");
    }
  }

  std::vector<std::string> seen_;
};

} // namespace

std::optional<ConfigChoice> configNamed(const std::string& name) {
  const std::string lower = lowerCase(name);
  if (lower == "standard") return ConfigChoice::Standard;
  if (lower == "minimal") return ConfigChoice::Minimal;
  if (lower == "custom") return ConfigChoice::Custom;
  if (lower == "medium") return ConfigChoice::Medium;
  return std::nullopt;
}

std::optional<std::vector<std::string>> optionList(const std::string& text) {
  std::vector<std::string> options;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = trimmedBlanks(text.substr(at, comma - at));
    const bool number = !item.empty() && item.find_first_not_of("0123456789") == std::string::npos;
    if (item.empty() || (number && (item.size() != 1 || item[0] < '1' || item[0] > '7'))) return std::nullopt;
    for (const std::string& earlier : options)
      if (sameNoCase(earlier, item)) return std::nullopt;
    options.push_back(item);
    at = comma + 1;
  }
  return options;
}

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
  return "setup.exe [switches], each with / or -\r\r"
         "/quiet (/qn, /verysilent, /S)\tno window at all\r"
         "/passive (/silent)\tonly the progress, no questions\r"
         "/dir=PATH\ttarget directory\r"
         "/group=NAME\tprogram group\r"
         "/config=standard|minimal|custom|medium\r"
         "/options=1,3\toptions of the custom configuration, by number or name\r"
         "/removeold\tremove an older copy first, quietly\r"
         "/allowdowngrade\tinstall over a newer version\r"
         "/saveinf=FILE\tsave the choices as an answer file\r"
         "/loadinf=FILE\ttake the choices from an answer file\r"
         "/log=FILE\talso write the install log to FILE\r"
         "/norestart\tnever restart or log off\r"
         "/source=PATH\twhere the later disks are\r"
         "/? or /help\tthis text\r\r"
         "Exit codes: 0 installed, 1 cancelled or failed (rolled back), 2 bad command line or value, "
         "3 an installed copy stops the setup, 4 not enough space, 5 a disk is missing, "
         "1603 ended at once (nothing rolled back), 1618 another setup or uninstaller is running, "
         "1638 a newer version is installed, 1641 installed, restart started, "
         "3010 installed, restart required.";
}

} // namespace kalvora
