#include "app/UnattendedChoices.h"

#include <algorithm>

#include "app/ExitCodes.h"
#include "platform/NoCase.h"
#include "wizard/Configurations.h"
#include "wizard/DiskSpace.h"
#include "wizard/EntryRules.h"
#include "wizard/LeaderControls.h"

namespace kalvora {
namespace {

const char* configName(ConfigChoice choice) {
  switch (choice) {
  case ConfigChoice::Standard: return "standard";
  case ConfigChoice::Minimal: return "minimal";
  case ConfigChoice::Custom: return "custom";
  case ConfigChoice::Medium: return "medium";
  }
  return "";
}

// Whether the script offers the configuration. Minimal and medium share one
// radio button, which is the medium one when the script offers both.
bool offered(ConfigChoice choice, const InstallState& s) {
  switch (choice) {
  case ConfigChoice::Standard: return s.Setup.StandardOffered;
  case ConfigChoice::Minimal: return s.Setup.MinimalOffered && !s.Setup.CdOffered;
  case ConfigChoice::Custom: return s.Setup.CustomOffered;
  case ConfigChoice::Medium: return s.Setup.CdOffered;
  }
  return false;
}

Configuration radioOf(ConfigChoice choice) {
  switch (choice) {
  case ConfigChoice::Standard: return Configuration::Standard;
  case ConfigChoice::Custom: return Configuration::Custom;
  case ConfigChoice::Minimal:
  case ConfigChoice::Medium: return Configuration::Minimal;
  }
  return Configuration::Standard;
}

ChoiceOutcome refused(int exitCode, const std::string& why) { return {exitCode, oneLine(why)}; }

class Choices {
public:
  Choices(const SetupSwitches& switches, InstallState& state, Platform& platform)
      : switches_(switches), state_(state), platform_(platform), configurations_(controls_, state, platform) {}

  ChoiceOutcome apply() {
    const DirectoryCheck dir = checkDirectoryEntry(switches_.dir.value_or(state_.Choices.TargetDir));
    if (dir.fault != EntryFault::None)
      return refused(kExitBadValue, "target directory: " + entryFaultMessage(dir.fault, state_.Setup.TextTable));
    if (FreeSpace(platform_, dir.driveNumber) < state_.Setup.TotalMin) return noSpace(dir.drive);

    if (const ChoiceOutcome named = namedConfiguration(switches_, state_, configurations_.preselection); !named.ok())
      return named;
    configurations_.setUp();
    if (const ChoiceOutcome outcome = chooseConfiguration(dir); !outcome.ok()) return outcome;
    configurations_.settleChoice();
    if (configurations_.chosenSpace() > FreeSpace(platform_, dir.driveNumber)) return noSpace(dir.drive);

    const GroupCheck group = checkGroupEntry(switches_.group.value_or(state_.Choices.ProgramGroup));
    if (group.fault != EntryFault::None)
      return refused(kExitBadValue, "program group: " + entryFaultMessage(group.fault, state_.Setup.TextTable));
    state_.Choices.ProgressTotal = configurations_.progressTotal();
    state_.Choices.TargetDir = dir.cleaned;
    state_.Choices.ProgramGroup = group.cleaned;
    return {};
  }

private:
  ChoiceOutcome noSpace(const std::string& drive) const {
    return refused(kExitNoSpace, drive + " " + state_.Setup.TextTable[16] + ": " + state_.Setup.TextTable[13]);
  }

  // The configuration page as the wizard's Next leaves it; without /config the
  // wizard's first choice stands, without /options the script's custom defaults.
  ChoiceOutcome chooseConfiguration(const DirectoryCheck& dir) {
    if (configurations_.chosen() == Configuration::Standard &&
        FreeSpace(platform_, dir.driveNumber) < state_.Setup.TotalStandard)
      return noSpace(dir.drive);
    return {};
  }

  const SetupSwitches& switches_;
  InstallState& state_;
  Platform& platform_;
  LeaderControls controls_;
  Configurations configurations_;
};

// The option an item of /options names: its number, or the name its box
// shows (without regard to case); 0 when the setup has no such option.
int optionNumber(const std::string& item, const SetupValues& setup) {
  for (int n = 1; n <= kOptionCount; ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    if (item == std::to_string(n) || (!setup.OptionName[i].empty() && sameNoCase(item, setup.OptionName[i])))
      return Configurations::optionShown(setup, n) ? n : 0;
  }
  return 0;
}

} // namespace

ChoiceOutcome namedConfiguration(const SetupSwitches& switches, const InstallState& state, Preselection& named) {
  std::optional<ConfigChoice> choice = switches.config;
  if (!choice && switches.options) choice = ConfigChoice::Custom;
  if (switches.options && choice != ConfigChoice::Custom)
    return refused(kExitBadValue, "/options applies to the custom configuration only");
  if (choice && !offered(*choice, state))
    return refused(kExitBadValue,
                   std::string("this setup does not offer the ") + configName(*choice) + " configuration");
  if (choice) named.configuration = radioOf(*choice);
  if (switches.options) {
    std::array<bool, kOptionCount> listed{};
    for (const std::string& item : *switches.options) {
      const int n = optionNumber(item, state.Setup);
      if (n == 0) return refused(kExitBadValue, "this setup has no option " + item);
      listed[static_cast<std::size_t>(n - 1)] = true;
    }
    named.options = listed;
  }
  return {};
}

std::string oneLine(const std::string& text) {
  std::string line = text;
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

ChoiceOutcome applyUnattendedChoices(const SetupSwitches& switches, InstallState& state, Platform& platform) {
  return Choices(switches, state, platform).apply();
}

} // namespace kalvora
