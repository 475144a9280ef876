#include "wizard/Configurations.h"

#include "platform/SpaceText.h"
#include "wizard/DiskSpace.h"
#include "wizard/WizardTexts.h"

namespace kalvora {

namespace {

using C = LeaderControl;

std::size_t at(int n) { return static_cast<std::size_t>(n - 1); }

} // namespace

Configurations::Configurations(LeaderControls& controls, InstallState& state, Platform& platform)
    : controls_(controls), state_(state), platform_(platform) {}

void Configurations::setUp() {
  controls_[C::cf_standard].text = wizardText(state_, 41);
  controls_[C::cf_min].text = wizardText(state_, 42);
  controls_[C::cf_custom].text = wizardText(state_, 43);
  controls_[C::cfl_standard].text = wizardText(state_, 44);
  if (state_.Setup.MinimalOffered) controls_[C::cfl_min].text = wizardText(state_, 45);
  if (state_.Setup.CdOffered) controls_[C::cfl_min].text = wizardText(state_, 46);
  controls_[C::cfl_custom].text = wizardText(state_, 47);
  for (C label : {C::Lbl_need2, C::Lbl_need})
    controls_[label].text = wizardText(state_, 25);
  for (C label : {C::Lbl_free2, C::Lbl_free})
    controls_[label].text = wizardText(state_, 26);
  for (C unit : {C::Mb1, C::Mb2, C::Mb3, C::mb4})
    controls_[unit].text = "kB";
  for (C figure : {C::Lbl_need2z, C::Lbl_needz, C::Lbl_free2z, C::Lbl_freez})
    controls_[figure].text = "---";

  for (int n = 1; n <= kOptionCount; ++n) {
    setTick(n, state_.Setup.OptionInCustom[at(n)]);
    WizardControl& box = controls_[optionBox(n)];
    box.text = state_.Setup.OptionName[at(n)];
    box.visible = optionShown(state_.Setup, n);
  }

  const bool minimalFirst = state_.Setup.CdOffered && !state_.Setup.StandardOffered;
  controls_[C::cf_standard].checked = !minimalFirst;
  controls_[C::cf_min].checked = minimalFirst;
  controls_[C::cf_custom].checked = false;

  controls_[C::cf_standard].visible = controls_[C::cfl_standard].visible = state_.Setup.StandardOffered;
  controls_[C::cf_custom].visible = controls_[C::cfl_custom].visible = state_.Setup.CustomOffered;
  controls_[C::cf_min].visible = controls_[C::cfl_min].visible = state_.Setup.MinimalOffered || state_.Setup.CdOffered;

  // Only the choice: the figures follow the page's own rules, as for the script's first choice.
  if (const auto radio = preselection.configuration) {
    controls_[C::cf_standard].checked = *radio == Configuration::Standard;
    controls_[C::cf_min].checked = *radio == Configuration::Minimal;
    controls_[C::cf_custom].checked = *radio == Configuration::Custom;
  }
  if (preselection.options && state_.Setup.FirstOptionLocked) (*preselection.options)[0] = true;
  if (preselection.options)
    for (int n = 1; n <= kOptionCount; ++n)
      setTick(n, (*preselection.options)[at(n)]);
  enforceLock();
}

bool Configurations::optionShown(const SetupValues& setup, int n) { return n <= 2 || !setup.OptionName[at(n)].empty(); }

const std::array<bool, kOptionCount>& Configurations::customTicks() const {
  return preselection.options ? *preselection.options : state_.Setup.OptionInCustom;
}

Configuration Configurations::chosen() const {
  if (controls_[C::cf_min].checked) return Configuration::Minimal;
  if (controls_[C::cf_custom].checked) return Configuration::Custom;
  return Configuration::Standard;
}

void Configurations::cf_standardClick(Configuration clicked) {
  controls_[C::cf_standard].checked = clicked == Configuration::Standard;
  controls_[C::cf_min].checked = clicked == Configuration::Minimal;
  controls_[C::cf_custom].checked = clicked == Configuration::Custom;
  switch (clicked) {
  case Configuration::Standard: setNeeded(state_.Setup.TotalStandard, false); break;
  case Configuration::Minimal: setNeeded(state_.Setup.TotalMin, false); break;
  case Configuration::Custom:
    // Preselected boxes make their own total; the script's stands for its own defaults.
    setNeeded(preselection.options ? neededFor(*preselection.options) : state_.Setup.TotalCustom, true);
    break;
  }
}

void Configurations::setTick(int n, bool tick) {
  WizardControl& box = controls_[optionBox(n)];
  if (box.checked == tick) return;
  box.checked = tick;
  Opt_1Click();
}

bool Configurations::ticked(int n) const { return controls_[optionBox(n)].checked; }

void Configurations::enforceLock() {
  // A preset that changes no box runs no click; a locked option 1 must still end up ticked.
  if (state_.Setup.FirstOptionLocked) setTick(1, true);
}

void Configurations::Opt_1Click() {
  if (state_.Setup.FirstOptionLocked) setTick(1, true);
  std::array<bool, kOptionCount> ticks{};
  for (int n = 1; n <= kOptionCount; ++n)
    ticks[at(n)] = ticked(n);
  setNeeded(neededFor(ticks), true);
}

std::int64_t Configurations::neededFor(const std::array<bool, kOptionCount>& ticks) const {
  std::int64_t needed = state_.Setup.CompressionSize;
  for (int n = 1; n <= kOptionCount; ++n)
    if (ticks[at(n)]) needed += state_.Setup.OptionSpace[at(n)];
  return needed;
}

void Configurations::showFigure(C figure, C unit, std::int64_t bytes) {
  const SpaceText shown = showSpace(bytes);
  controls_[figure].text = shown.figure;
  controls_[unit].text = shown.unit;
}

void Configurations::setNeeded(std::int64_t bytes, bool bothPages) {
  showFigure(C::Lbl_need2z, C::Mb3, bytes);
  if (bothPages) showFigure(C::Lbl_needz, C::Mb1, bytes);
}

void Configurations::fillFigures(int driveNumber) {
  const std::int64_t free = FreeSpace(platform_, driveNumber);
  showFigure(C::Lbl_free2z, C::mb4, free);
  showFigure(C::Lbl_freez, C::Mb2, free);
  setNeeded(state_.Setup.TotalStandard, true);
}

bool Configurations::minimumFits(const std::string& targetDrive, int driveNumber) {
  if (FreeSpace(platform_, driveNumber) >= state_.Setup.TotalMin) return true;
  platform_.messageBox(wizardText(state_, 13), targetDrive + " " + wizardText(state_, 16), MessageButtons::Ok,
                       MessageIcon::Exclamation);
  return false;
}

Configurations::PageThreeResult Configurations::nextOnConfigurationPage(const std::string& targetDrive, int driveNumber,
                                                                        const std::function<void()>& onCancel) {
  auto preset = [this](const std::array<bool, kOptionCount>& members) {
    for (int n = 1; n <= kOptionCount; ++n)
      setTick(n, members[at(n)]);
  };
  switch (chosen()) {
  case Configuration::Standard:
    if (FreeSpace(platform_, driveNumber) < state_.Setup.TotalStandard) {
      const MessageResult answer =
          platform_.messageBox(wizardText(state_, 13), targetDrive + " " + wizardText(state_, 16),
                               MessageButtons::OkCancel, MessageIcon::Exclamation);
      if (answer == MessageResult::Cancel && onCancel) onCancel();
      return PageThreeResult::Stay;
    }
    preset(state_.Setup.OptionInStandard);
    return PageThreeResult::Settle;
  case Configuration::Minimal:
    if (state_.Setup.MinimalOffered) preset(state_.Setup.OptionInMinimal);
    return PageThreeResult::Settle;
  case Configuration::Custom:
    preset(customTicks());
    enforceLock();
    return PageThreeResult::ShowComponents;
  }
  return PageThreeResult::Stay;
}

bool Configurations::settle(const std::string& targetDrive, int driveNumber) {
  settleChoice();
  return spaceWait(targetDrive, driveNumber);
}

void Configurations::settleChoice() {
  flags = {};
  state_.Choices.RunFromMedium = false;
  const Configuration choice = chosen();
  if (state_.Setup.CdOffered) {
    if (!state_.Setup.MinimalOffered && !state_.Setup.StandardOffered) state_.Choices.RunFromMedium = true;
    if (choice == Configuration::Minimal) state_.Choices.RunFromMedium = true;
    if (choice == Configuration::Standard) flags.StdConfig = true;
    if (choice == Configuration::Custom) flags.CustomConfig = true;
  } else {
    if (choice == Configuration::Custom) flags.CustomConfig = true;
    if (choice == Configuration::Minimal)
      flags.MinConfig = true;
    else
      flags.StdConfig = true;
  }
  // Each later set overwrites all seven; the CD configuration keeps what an earlier pass chose.
  if (flags.MinConfig) state_.Choices.OptionChosen = state_.Setup.OptionInMinimal;
  if (flags.StdConfig) state_.Choices.OptionChosen = state_.Setup.OptionInStandard;
  if (flags.CustomConfig)
    for (int n = 1; n <= kOptionCount; ++n)
      state_.Choices.OptionChosen[at(n)] = ticked(n);
}

std::int64_t Configurations::chosenSpace() const { return neededFor(state_.Choices.OptionChosen); }

bool Configurations::spaceWait(const std::string& targetDrive, int driveNumber) {
  const std::int64_t needed = chosenSpace();
  while (needed > FreeSpace(platform_, driveNumber)) {
    // No way out but room on the drive, or the program ending.
    platform_.messageBox(wizardText(state_, 13), targetDrive + wizardText(state_, 16), MessageButtons::Ok,
                         MessageIcon::Exclamation);
    if (platform_.terminated()) return false;
  }
  return true;
}

std::int64_t Configurations::progressTotal() const {
  std::int64_t total = 1;
  if (state_.Setup.CompressionMode == 1 && state_.Setup.SetupScript)
    for (int n = 1; n <= kOptionCount; ++n)
      if (state_.Choices.OptionChosen[at(n)]) {
        std::string key = "Opt";
        key += std::to_string(n);
        key += "_cs";
        total += state_.Setup.SetupScript->ReadInteger("software", key, 0);
      }
  // A divisor: stored sizes that sum to nothing or less still leave it at 1.
  return total < 1 ? 1 : total;
}

} // namespace kalvora
