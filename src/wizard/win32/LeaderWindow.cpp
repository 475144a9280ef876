#include "wizard/win32/LeaderWindow.h"

#include "app/win32/LoadingScreen.h"
#include "app/win32/MainWindow.h"

#include <exception>

namespace kalvora {
namespace {
enum : int { kBtnBack = 101, kBtnWeiter, kBtnExit, kEdtVerz, kEdtPrggroup };
}

LeaderWindow::LeaderWindow(Platform& platform, InstallState& state, MainWindow& main, LoadingScreen& trailer)
    : Form("Tleader", GetSysColor(COLOR_BTNFACE)), platform_(platform), state_(state), main_(main), trailer_(trailer),
      Cbmp_(platform) {}

void LeaderWindow::FormCreate() {
  createWindow("", WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
               layout_.clientWidth, layout_.clientHeight);
  createControls();
  try {
    PictureLoading(platform_, state_, *this, Cbmp_).run(layout_);
  } catch (const std::exception& e) {
    // A picture that cannot be expanded: reported while the loading screen still
    // shows, then the wizard comes up all the same, so that the user can go on or leave.
    reportError(e.what());
    trailer_.hide();
    kalvora::setHourglass(false);
  }
  applyLayout();
  centre();
  show();
  SetFocus(Btn_weiter_);
}

void LeaderWindow::createControls() {
  // Texts of the buttons and the first page's caption; the pages are filled elsewhere.
  setText(hwnd_, state_.SetupScript->ReadString("language", "l30", ""));
  Img_Setup_ = addImage("Img_Setup", layout_.Img_Setup, true, false);
  strich_ = addBevel("strich", layout_.strich);
  Btn_back_ = addButton("Btn_back", state_.TextTable[12], layout_.Btn_back, kBtnBack);
  EnableWindow(Btn_back_, FALSE);
  Btn_weiter_ = addButton("Btn_weiter", state_.TextTable[17], layout_.Btn_weiter, kBtnWeiter, true);
  Btn_exit_ = addButton("Btn_exit", state_.TextTable[11], layout_.Btn_exit, kBtnExit);
  for (int i = 0; i < 6; ++i) {
    pages_[i] = addPanel(kPageNames[i], layout_.pages[static_cast<std::size_t>(i)]);
    setVisible(pages_[i], i == 0);
  }
  // The entries hold the proposed directory and group from the start.
  HWND Edt_verz = addEdit("Edt_verz", {8, 100, 278, 19}, kEdtVerz, pages_[1]);
  setText(Edt_verz, state_.TargetDir);
  HWND Edt_prggroup = addEdit("Edt_prggroup", {9, 93, 274, 21}, kEdtPrggroup, pages_[4]);
  setText(Edt_prggroup, state_.ProgramGroup);
}

void LeaderWindow::applyLayout() {
  setClientSize(layout_.clientWidth, layout_.clientHeight);
  place(Img_Setup_, layout_.Img_Setup);
  place(strich_, layout_.strich);
  place(Btn_back_, layout_.Btn_back);
  place(Btn_weiter_, layout_.Btn_weiter);
  place(Btn_exit_, layout_.Btn_exit);
  for (int i = 0; i < 6; ++i)
    place(pages_[i], layout_.pages[static_cast<std::size_t>(i)]);
}

void LeaderWindow::setHourglass(bool on) { kalvora::setHourglass(on); }
void LeaderWindow::setLoadingPosition(int position) { trailer_.setPosition(position); }
void LeaderWindow::hideLoadingScreen() { trailer_.hide(); }
void LeaderWindow::sizeInfoArea(int width, int height) { main_.sizeInfoArea(width, height); }

bool LeaderWindow::loadPicture(PictureControl control, const std::string& path) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) return false;
  if (control == PictureControl::Img_Setup)
    setPicture(Img_Setup_, bitmap);
  else
    main_.setPicture(control, bitmap);
  return true;
}

bool LeaderWindow::onMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg == WM_CLOSE) { // no close box: the wizard ends through its Exit button
    result = 0;
    return true;
  }
  return false;
}

} // namespace kalvora
