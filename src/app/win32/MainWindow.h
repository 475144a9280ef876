#pragma once
// Tmain, the background window: the start-up runs in its creation; it shows the
// title display over a gradient, a stretched or a tiled picture.
#include <array>
#include <utility>

#include "app/StartUp.h"
#include "model/InstallState.h"
#include "model/MainLayout.h"
#include "ui/win32/Form.h"
#include "wizard/PictureLoading.h"
#include "wizard/win32/BackgroundDisplay.h"

namespace kalvora {

class MainWindow : public Form, public BackgroundDisplay {
public:
  MainWindow(Platform& platform, InstallState& state);

  // FormCreate: the start-up and the layout; EndProgram when setup must end at once.
  StartUpOutcome FormCreate();
  // Handed to the start-up: see StartUp::removeOldCopyWith.
  StartUp::OldCopyRemover removeOldCopy;
  // Shows the window as the message loop starts.
  void showAsMainWindow();

  // The wizard, brought to the front whenever this window is activated.
  void setLeader(const Form* leader) { leader_ = leader; }
  HWND control(PictureControl control) const;
  void setPicture(PictureControl control, HBITMAP bitmap) override { Form::setPicture(this->control(control), bitmap); }
  void sizeInfoArea(int width, int height) override;
  // When the installation starts: from the title display to the information display.
  void showInformationDisplay(bool infoPictureLoaded) override;
  // At program end: releases the setup script.
  void FormDestroy();

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void paintBackground(HDC dc, const RECT&) override { FormPaint(dc); }

private:
  void createControls();
  // Each control with its layout state.
  std::array<std::pair<HWND, const ControlState*>, 11> controls() const;
  void apply();
  void FormActivate();
  void FormPaint(HDC dc);

  Platform& platform_;
  InstallState& state_;
  MainSettings settings_;
  MainLayout layout_ = MainLayout::design();
  const Form* leader_ = nullptr;
  HWND i1_{}, i2_{}, i4_{}, i3_{}, Lbl_4_{}, Lbl1_shadow_{}, Lbl_1_{}, Lbl2_shadow_{}, Lbl3_shadow_{}, Lbl_2_{},
      Lbl_3_{};
};

} // namespace kalvora
