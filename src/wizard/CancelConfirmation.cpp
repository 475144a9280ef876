#include "wizard/CancelConfirmation.h"

#include "script/WorkFiles.h"
#include "wizard/Leader.h"
#include "wizard/WizardTexts.h"

namespace kalvora {

std::string decliningCaption(const std::string& confirmingCaption) {
  for (char c : confirmingCaption)
    if (c == 'j' || c == 'J') return "&nein";
  return "&no";
}

CancelConfirmation::CancelConfirmation(Platform& platform, InstallState& state, DialogHost& host)
    : platform_(platform), state_(state), host_(host) {}

void CancelConfirmation::FormCreate() {
  state_.Run.Cancelled = false;
  caption = "Kalvora";
  Btn_terminate = wizardText(state_, 15);
  Lbl_15 = wizardText(state_, 27);
  Btn_cancel = decliningCaption(Btn_terminate);
}

void CancelConfirmation::Btn_terminateClick() {
  platform_.deleteFile(kTempPicture);
  if (state_.Run.Started) {
    // The installation dialog undoes the partial installation when it is destroyed.
    state_.Run.Cancelled = true;
    Lbl_15 = wizardText(state_, 10);
    deleteRunFiles(platform_, state_.Choices.TargetDir);
    platform_.deleteFile(kTempPicture);
    if (!state_.Run.ReadmePath.empty()) platform_.deleteFile(state_.Run.ReadmePath);
    host_.refresh();
    platform_.processMessages(); // paints the new label
  }
  // The modal show ends when the quit request is noticed; the program ends in the main loop.
  platform_.requestQuit();
}

bool CancelConfirmation::Btn_terminateKeyDown(int key) {
  if (key == kKeyEscape) {
    Btn_cancelClick();
    return true;
  }
  if (key == kKeyF4) {
    Btn_terminateClick();
    return true;
  }
  return false;
}

} // namespace kalvora
