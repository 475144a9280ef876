#pragma once
// The wizard's choices of an unattended run: the target directory, the
// configuration with its options and the program group come from the switches
// (or the script's defaults, as the wizard proposes them) and pass the rules
// the wizard applies to its entries and pages: characters, drive, group name,
// the offered configurations and the free space.
#include <string>

#include "app/CommandLine.h"
#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/Configurations.h"

namespace kalvora {

struct ChoiceOutcome {
  int exitCode = 0;    // SetupExit
  std::string failure; // the broken rule's text, one line; empty when the choices stand

  bool ok() const { return failure.empty(); }
};

// On success the choices are in the state as the wizard leaves them at its
// start page: TargetDir, ProgramGroup, OptionChosen, RunFromMedium and
// ProgressTotal. On failure nothing may be installed: the run must not start.
ChoiceOutcome applyUnattendedChoices(const SetupSwitches& switches, InstallState& state, Platform& platform);

// The configuration and options that /config and /options name (options by
// number or by the name their box shows), tested against what the setup
// offers; /options alone means the custom configuration. Both the unattended
// choices and the wizard's preselection take them from here.
ChoiceOutcome namedConfiguration(const SetupSwitches& switches, const InstallState& state, Preselection& named);

// A message box's text on one line, for a log.
std::string oneLine(const std::string& text);

} // namespace kalvora
