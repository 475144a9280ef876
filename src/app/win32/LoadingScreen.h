#pragma once
// Ttrailer, the loading screen: visible from its creation until the wizard has
// loaded the pictures; the wizard's creation moves its bar.
#include "app/InstallState.h"
#include "app/win32/Form.h"

namespace kalvora {

class LoadingScreen : public Form {
public:
  LoadingScreen(Platform& platform, InstallState& state);
  void FormCreate();
  void setPosition(int position);

protected:
  bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
  Platform& platform_;
  InstallState& state_;
  HWND pr_load_ = nullptr;
};

} // namespace kalvora
