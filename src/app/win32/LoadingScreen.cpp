#include "app/win32/LoadingScreen.h"

#include <commctrl.h>

namespace kalvora {

LoadingScreen::LoadingScreen(Platform& platform, InstallState& state)
    : Form("Ttrailer", GetSysColor(COLOR_BTNFACE)), platform_(platform), state_(state) {}

void LoadingScreen::FormCreate() {
  createWindow("Setup", WS_POPUP | WS_CAPTION, 0, 243, 67);
  addLabel("Lbl", "kalvora " + state_.Setup.TextTable[1], {52, 8, 132, 13}, formFont(), GetSysColor(COLOR_BTNTEXT),
           false, false);
  addIcon("img_sp", {9, 7, 32, 32}, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
  addLabel("Lbl_wait", state_.Setup.TextTable[10], {52, 22, 67, 13}, formFont(), GetSysColor(COLOR_BTNTEXT), false,
           false);
  pr_load_ = addProgressBar("pr_load", {52, 38, 174, 16});
  centre();
  show();
  UpdateWindow(hwnd_);
}

void LoadingScreen::setLoadingPosition(int position) {
  SendMessageA(pr_load_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  // The bar's caption is its position, so that automation can read it as text.
  setText(pr_load_, std::to_string(position));
  automationTrace("pr_load " + std::to_string(position));
}

bool LoadingScreen::onMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
    platform_.processMessages(); // FormActivate: draw before the loading goes on
    result = 0;
    return true;
  }
  return false;
}

} // namespace kalvora
