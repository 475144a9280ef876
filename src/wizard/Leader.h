#pragma once
// The wizard Tleader without its window: the six pages, the Next and Back
// transitions, the keys, and the start of the installation. It changes the
// control model and the installation state; the window applies the model and
// forwards the user's events here.
#include <optional>
#include <string>

#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/Configurations.h"
#include "wizard/LeaderControls.h"

namespace kalvora {

// What the wizard asks of the program's other windows.
class LeaderHost {
public:
  virtual ~LeaderHost() = default;
  virtual void showCancelDialog() = 0; // Tabbruch, modal
  virtual void showFolderDialog() = 0; // Tdlg_folder, modal; its OK writes into Edt_verz
  virtual void hideWizard() = 0;
  // The background window turns to its information display (switchToInformationDisplay).
  virtual void showInformationDisplay() = 0;
  virtual void showInstallation() = 0; // Tcopying, modal
};

inline constexpr int kKeyEscape = 27, kKeyF4 = 115;

class Leader {
public:
  Leader(Platform& platform, InstallState& state, LeaderHost& host);

  // The creation's texts, defaults, configuration set-up and page 1. The
  // pictures are loaded after it (PictureLoading); then takeFrame follows.
  void FormCreate();

  void Btn_weiterClick();
  void Btn_backClick();
  void Btn_exitClick() { host_.showCancelDialog(); }
  void Btn_folderClick() { host_.showFolderDialog(); }
  // A key on the dialog (no control) or a control: Escape and F4 act as Exit
  // where the wizard handles keys. True when the key was handled.
  bool Btn_weiterKeyDown(std::optional<LeaderControl> control, int key);
  void cf_standardClick(Configuration clicked) { configurations_.cf_standardClick(clicked); }
  // The user changed option n's box.
  void Opt_1Click(int n, bool ticked) { configurations_.setTick(n, ticked); }
  // The user edited an entry (Edt_verz or Edt_prggroup), or the folder dialog filled Edt_verz.
  void setEntryText(LeaderControl entry, const std::string& text) { controls_[entry].text = text; }

  // The page-choosing rules.
  bool ConfigPageSkipped() const;
  bool GroupPageNeeded() const;

  LeaderControls& controls() { return controls_; }
  const LeaderControls& controls() const { return controls_; }
  Configurations& configurations() { return configurations_; }

  int WizardPage = 1;
  std::string TargetDrive;
  int TargetDriveNumber = 0;

private:
  void setPage(int page, int captionText);
  void show(int page) { controls_[pagePanel(page)].visible = true; }
  void hide(int page) { controls_[pagePanel(page)].visible = false; }
  void enableBack(bool on) { controls_[LeaderControl::Btn_back].enabled = on; }
  std::string text(int number) const;

  void nextOnDirectoryPage();
  void nextOnConfigurationPage();
  void nextOnComponentsPage();
  void nextOnGroupPage();
  void startInstallation();
  void backToDirectoryPage();
  void backToConfigurationPage();
  void message(const std::string& text);

  Platform& platform_;
  InstallState& state_;
  LeaderHost& host_;
  LeaderControls controls_;
  Configurations configurations_;
};

} // namespace kalvora
