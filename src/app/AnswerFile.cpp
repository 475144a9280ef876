#include "app/AnswerFile.h"

#include <algorithm>
#include <array>

#include "platform/NoCase.h"

namespace kalvora {
namespace {

constexpr const char* kSection = "answers";
constexpr std::array<const char*, 6> kKeys = {"dir", "group", "config", "options", "removeold", "allowdowngrade"};

std::optional<bool> flagValue(const std::string& value) {
  if (value == "0") return false;
  if (value == "1") return true;
  return std::nullopt;
}

// One key's value into the switches; false when the value is bad.
bool take(const std::string& key, const std::string& value, SetupSwitches& s) {
  if (key == "dir" || key == "group") {
    if (value.empty()) return false;
    std::optional<std::string>& target = key == "dir" ? s.dir : s.group;
    if (!target) target = value;
    return true;
  }
  if (key == "config") {
    const auto config = configNamed(value);
    if (config && !s.config) s.config = config;
    return config.has_value();
  }
  if (key == "options") {
    const auto options = optionList(value);
    if (options && !s.options) s.options = options;
    return options.has_value();
  }
  const auto flag = flagValue(value);
  if (flag && *flag) (key == "removeold" ? s.removeOld : s.allowDowngrade) = true;
  return flag.has_value();
}

const char* configName(const InstallState& state) {
  const SetupValues& setup = state.Setup;
  const auto& chosen = state.Choices.OptionChosen;
  if (state.Choices.RunFromMedium) return "medium";
  if (setup.StandardOffered && chosen == setup.OptionInStandard) return "standard";
  if (setup.MinimalOffered && !setup.CdOffered && chosen == setup.OptionInMinimal) return "minimal";
  return "custom";
}

// The chosen options by name where the name can stand for the option, else by number.
std::string optionNames(const InstallState& state) {
  std::string list;
  for (std::size_t i = 0; i < state.Setup.OptionName.size(); ++i) {
    if (!state.Choices.OptionChosen[i]) continue;
    const std::string& name = state.Setup.OptionName[i];
    const bool named = !name.empty() && name.find_first_of(",=\r\n") == std::string::npos &&
                       name.find_first_not_of("0123456789") != std::string::npos && name.front() != ' ' &&
                       name.back() != ' ' &&
                       std::count_if(state.Setup.OptionName.begin(), state.Setup.OptionName.end(),
                                     [&](const std::string& other) { return sameNoCase(other, name); }) == 1;
    list += (list.empty() ? "" : ",") + (named ? name : std::to_string(i + 1));
  }
  return list;
}

} // namespace

std::string loadAnswerFile(Platform& platform, const std::string& path, SetupSwitches& switches) {
  if (!platform.fileExists(path)) return "the answer file " + path + " cannot be read";
  for (const std::string& key : platform.readProfileKeys(path, kSection)) {
    const std::string name = lowerCase(key);
    const std::string value = platform.readProfileString(path, kSection, key, "");
    if (std::find(kKeys.begin(), kKeys.end(), name) == kKeys.end())
      return path + ": unknown key " + key + " in [" + kSection + "]";
    if (!take(name, value, switches)) return path + ": bad value of " + key + ": \"" + value + "\"";
  }
  return {};
}

std::string answerFileText(const InstallState& state, const SetupSwitches& switches) {
  const std::string config = configName(state);
  std::string text = "[answers]\r\ndir=" + state.Choices.TargetDir + "\r\ngroup=" + state.Choices.ProgramGroup +
                     "\r\nconfig=" + config + "\r\n";
  if (config == "custom") text += "options=" + optionNames(state) + "\r\n";
  // The answer to the older-copy question when it came up; the switch alone otherwise.
  if (state.Choices.RemoveOldCopy)
    text += std::string("removeold=") + (*state.Choices.RemoveOldCopy ? "1" : "0") + "\r\n";
  else if (switches.removeOld)
    text += "removeold=1\r\n";
  if (switches.allowDowngrade) text += "allowdowngrade=1\r\n";
  return text;
}

void saveAnswerFile(Platform& platform, const SetupSwitches& switches, const InstallState& state, SetupLog& log) {
  if (!switches.saveInf) return;
  if (platform.writeFileText(*switches.saveInf, answerFileText(state, switches)))
    log.line("answers", "saved to " + *switches.saveInf);
  else
    log.line("error", "the answer file " + *switches.saveInf + " cannot be written");
}

} // namespace kalvora
