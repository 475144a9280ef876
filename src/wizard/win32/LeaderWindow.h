#pragma once
// Tleader, the wizard: created fourth; its creation loads the setup's pictures
// while the loading screen shows, then it stands on its welcome page.
#include "app/InstallState.h"
#include "app/win32/Form.h"
#include "wizard/CompressExpander.h"
#include "wizard/LeaderLayout.h"
#include "wizard/PictureLoading.h"

namespace kalvora {

class MainWindow;
class LoadingScreen;

class LeaderWindow : public Form, private PictureLoadingView {
public:
  LeaderWindow(Platform& platform, InstallState& state, MainWindow& main, LoadingScreen& trailer);
  void FormCreate();

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
  void createControls();
  void applyLayout();

  // PictureLoadingView
  void setHourglass(bool on) override;
  void setLoadingPosition(int position) override;
  void hideLoadingScreen() override;
  void sizeInfoArea(int width, int height) override;
  bool loadPicture(PictureControl control, const std::string& path) override;

  Platform& platform_;
  InstallState& state_;
  MainWindow& main_;
  LoadingScreen& trailer_;
  CompressExpander Cbmp_;
  LeaderLayout layout_;
  HWND Img_Setup_{}, strich_{}, Btn_back_{}, Btn_weiter_{}, Btn_exit_{};
  HWND pages_[6]{};
};

} // namespace kalvora
