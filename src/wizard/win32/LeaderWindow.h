#pragma once
// Tleader, the wizard: created fourth; its creation loads the setup's pictures
// while the loading screen shows, then it stands on its welcome page. The
// behaviour is Leader's: this window creates one control per entry of its
// control model, forwards the user's events and shows the model after each.
#include <array>
#include <optional>

#include "model/InstallState.h"
#include "ui/win32/Form.h"
#include "ui/win32/ModalWindow.h"
#include "wizard/CompressExpander.h"
#include "wizard/Leader.h"
#include "wizard/LeaderLayout.h"
#include "wizard/PictureLoading.h"
#include "wizard/win32/BackgroundDisplay.h"
#include "wizard/win32/LoadingDisplay.h"

namespace kalvora {

class LeaderWindow : public Form, private PictureLoadingView, private LeaderHost {
public:
  LeaderWindow(Platform& platform, InstallState& state, BackgroundDisplay& main, LoadingDisplay& trailer,
               ModalWindow& Tabbruch);
  // The dialogs created after the wizard.
  void attach(ModalWindow& Tcopying, ModalWindow& Tdlg_folder);
  Leader& leader() { return leader_; }
  void FormCreate();
  // A run that asks nothing: the wizard is never shown, not even at its creation.
  void keepHidden() { keepHidden_ = true; }
  // A run that asks nothing: the wizard steps aside and the installation starts
  // with the choices already in the state.
  void installWithoutQuestions() {
    hideWizard();
    showInformationDisplay();
    showInstallation();
  }

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool preTranslateMessage(MSG& msg) override;

private:
  void createControls();
  HWND createControl(const WizardControl& control, int id);
  void loadPictures();
  void placeControls();
  // Shows the model: caption, texts, visibility, enabled and checked states.
  void apply();
  void keepFocusUsable();
  std::optional<LeaderControl> controlOf(HWND window) const;
  // Forwards an event to the wizard; false when it is none the wizard handles.
  bool onCommand(LeaderControl control, int code);

  // PictureLoadingView
  void setHourglass(bool on) override;
  void setLoadingPosition(int position) override;
  void hideLoadingScreen() override;
  void sizeInfoArea(int width, int height) override;
  bool loadPicture(PictureControl control, const std::string& path) override;

  // LeaderHost
  void showCancelDialog() override;
  void showFolderDialog() override;
  void hideWizard() override { hide(); }
  void showInformationDisplay() override;
  void showInstallation() override;

  Platform& platform_;
  InstallState& state_;
  BackgroundDisplay& main_;
  LoadingDisplay& trailer_;
  ModalWindow& Tabbruch_;
  ModalWindow* Tcopying_ = nullptr;
  ModalWindow* Tdlg_folder_ = nullptr;
  Leader leader_;
  CompressExpander Cbmp_;
  LeaderLayout layout_;
  bool infoPictureLoaded_ = false;
  bool applying_ = false;
  bool keepHidden_ = false;
  HWND Img_Setup_{}, strich_{};
  std::array<HWND, kLeaderControlCount> windows_{};
  std::array<COLORREF, kLeaderControlCount> colors_{};
};

} // namespace kalvora
