#pragma once
// Ttrailer, the loading screen: visible from its creation until the wizard has
// loaded the pictures; the wizard's creation moves its bar.
#include "model/InstallState.h"
#include "ui/win32/Form.h"
#include "wizard/win32/LoadingDisplay.h"

namespace kalvora {

class LoadingScreen : public Form, public LoadingDisplay {
public:
  LoadingScreen(Platform& platform, InstallState& state);
  void FormCreate();
  void setLoadingPosition(int position) override;
  void hideLoadingScreen() override { hide(); }

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
  Platform& platform_;
  InstallState& state_;
  HWND pr_load_ = nullptr;
};

} // namespace kalvora
