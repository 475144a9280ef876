#include "wizard/Leader.h"

#include "wizard/EntryRules.h"
#include "wizard/WizardTexts.h"

namespace kalvora {

namespace {

using C = LeaderControl;

// The controls whose key handler serves Escape and F4 (not the radio buttons, not Btn_folder).
bool handlesKeys(std::optional<LeaderControl> control) {
  if (!control) return true;
  switch (*control) {
  case C::Btn_back:
  case C::Btn_weiter:
  case C::Btn_exit:
  case C::Edt_verz:
  case C::Edt_prggroup: return true;
  default: return optionOfBox(*control) != 0;
  }
}

} // namespace

Leader::Leader(Platform& platform, InstallState& state, LeaderHost& host)
    : platform_(platform), state_(state), host_(host), configurations_(controls_, state, platform) {}

std::string Leader::text(int number) const { return wizardText(state_, number); }

void Leader::FormCreate() {
  controls_[C::Btn_back].text = text(12);
  controls_[C::Btn_weiter].text = text(17);
  controls_[C::Btn_exit].text = text(11);

  controls_[C::Lbl_1].text = text(36);
  controls_[C::Lbl_2].text = state_.Setup.WelcomeNote;
  controls_[C::Lbl_2].color = static_cast<std::uint32_t>(state_.Setup.WelcomeNoteColor);
  controls_[C::Lbl_3].text = text(37);
  controls_[C::Lbl_6].text = text(38);
  controls_[C::Lbl_verz].text = text(9);
  controls_[C::Edt_verz].text = state_.Choices.TargetDir;
  controls_[C::Btn_folder].text = text(24);
  controls_[C::Lbl_7].text = text(39);
  controls_[C::Lbl_4].text = text(40);
  controls_[C::Lbl_8].text = text(48);
  controls_[C::Lbl_9].text = text(49);
  controls_[C::Lbl_10].text = text(50);
  controls_[C::Lbl_prggroup].text = text(28);
  controls_[C::Edt_prggroup].text = state_.Choices.ProgramGroup;
  controls_[C::Lbl_11].text = text(51);
  controls_[C::Lbl_12].text = text(52);
  controls_[C::Lbl_13].text = text(53);
  controls_[C::Lbl_14].text = text(54);

  configurations_.setUp();

  setPage(1, 30);
  show(1);
}

void Leader::setPage(int page, int captionText) {
  WizardPage = page;
  controls_.caption = text(captionText);
}

void Leader::message(const std::string& text) {
  platform_.messageBox(text, "kalvora", MessageButtons::Ok, MessageIcon::Information);
}

bool Leader::ConfigPageSkipped() const {
  const InstallState& s = state_;
  return (!s.Setup.CdOffered && !s.Setup.MinimalOffered && !s.Setup.CustomOffered) ||
         (s.Setup.CdOffered && !s.Setup.StandardOffered && !s.Setup.CustomOffered);
}

bool Leader::GroupPageNeeded() const {
  const InstallState& s = state_;
  for (std::size_t i = 0; i < kOptionCount; ++i)
    if (s.Choices.OptionChosen[i] && s.Setup.OptionGroupItem[i]) return true;
  if (s.Choices.RunFromMedium) return true;
  const ConfigFlags& f = configurations_.flags;
  return !s.Setup.CustomOffered &&
         ((f.StdConfig && s.Setup.OptionGroupItem[0]) || (f.MinConfig && s.Setup.OptionGroupItem[1]));
}

bool Leader::Btn_weiterKeyDown(std::optional<LeaderControl> control, int key) {
  if (!handlesKeys(control) || (key != kKeyEscape && key != kKeyF4)) return false;
  Btn_exitClick();
  return true;
}

void Leader::Btn_weiterClick() {
  switch (WizardPage) {
  case 1:
    hide(1);
    setPage(2, 31);
    show(2);
    break;
  case 2: nextOnDirectoryPage(); break;
  case 3: nextOnConfigurationPage(); break;
  case 4: nextOnComponentsPage(); break;
  case 5: nextOnGroupPage(); break;
  case 6: startInstallation(); break;
  default: break;
  }
}

void Leader::nextOnDirectoryPage() {
  enableBack(true);
  const DirectoryCheck check = checkDirectoryEntry(controls_[C::Edt_verz].text);
  if (check.passedCharacters) {
    controls_[C::Edt_verz].text = check.cleaned;
    TargetDrive = check.drive;
    TargetDriveNumber = check.driveNumber;
  }
  if (check.fault != EntryFault::None) {
    message(entryFaultMessage(check.fault, state_.Setup.TextTable));
    enableBack(false);
    return;
  }
  if (!configurations_.minimumFits(TargetDrive, TargetDriveNumber)) {
    enableBack(false);
    return;
  }
  if (ConfigPageSkipped()) {
    hide(2);
    WizardPage = 4;
    nextOnComponentsPage();
    return;
  }
  setPage(3, 32);
  hide(2);
  configurations_.fillFigures(TargetDriveNumber);
  show(3);
}

void Leader::nextOnConfigurationPage() {
  switch (
      configurations_.nextOnConfigurationPage(TargetDrive, TargetDriveNumber, [this] { host_.showCancelDialog(); })) {
  case Configurations::PageThreeResult::Stay: return;
  case Configurations::PageThreeResult::Settle:
    WizardPage = 4;
    nextOnComponentsPage();
    return;
  case Configurations::PageThreeResult::ShowComponents:
    setPage(4, 33);
    hide(3);
    show(4);
    return;
  }
}

void Leader::nextOnComponentsPage() {
  hide(3);
  hide(4);
  if (!configurations_.settle(TargetDrive, TargetDriveNumber)) return; // the program is ending
  WizardPage = 5;
  if (GroupPageNeeded()) {
    setPage(5, 34);
    show(5);
    return;
  }
  nextOnGroupPage();
}

void Leader::nextOnGroupPage() {
  const GroupCheck check = checkGroupEntry(controls_[C::Edt_prggroup].text);
  if (check.fault != EntryFault::None) {
    // Reached without the group page (it was not needed), the page shows now,
    // so that the user can correct the script's name.
    if (!controls_[C::Ebn_prggroup].visible) {
      setPage(5, 34);
      show(5);
    }
    message(entryFaultMessage(check.fault, state_.Setup.TextTable));
    return;
  }
  controls_[C::Edt_prggroup].text = check.cleaned;
  setPage(6, 35);
  hide(5);
  show(6);
}

void Leader::startInstallation() {
  state_.Choices.ProgressTotal = configurations_.progressTotal();
  state_.Choices.TargetDir = controls_[C::Edt_verz].text;
  state_.Choices.ProgramGroup = controls_[C::Edt_prggroup].text;
  host_.hideWizard();
  host_.showInformationDisplay();
  host_.showInstallation();
}

void Leader::Btn_backClick() {
  if (!controls_[C::Btn_back].enabled) return;
  switch (WizardPage) {
  case 6:
    hide(6);
    if (GroupPageNeeded()) {
      setPage(5, 34);
      show(5);
    } else if (!state_.Setup.CdOffered && !state_.Setup.CustomOffered && !state_.Setup.MinimalOffered) {
      backToDirectoryPage();
    } else {
      backToConfigurationPage();
    }
    break;
  case 5:
    hide(5);
    if (controls_[C::cf_custom].checked) {
      setPage(4, 33);
      show(4);
    } else if (ConfigPageSkipped()) {
      setPage(2, 31);
      enableBack(false);
      show(2);
    } else {
      setPage(3, 32);
      show(3);
    }
    break;
  case 4: backToConfigurationPage(); break;
  case 3: backToDirectoryPage(); break;
  default: break;
  }
}

void Leader::backToConfigurationPage() {
  setPage(3, 32);
  if (state_.Setup.CdOffered && !state_.Setup.StandardOffered && !state_.Setup.CustomOffered) enableBack(false);
  show(3);
  hide(4);
}

void Leader::backToDirectoryPage() {
  setPage(2, 31);
  enableBack(false);
  show(2);
  hide(3);
}

} // namespace kalvora
