#include "app/win32/MainWindow.h"

#include "model/Gradient.h"
#include "wizard/InformationDisplay.h"

namespace kalvora {
namespace {

// The built-in gradient as an 8-bit bitmap whose palette index is the blue value.
HBITMAP gradientBitmap() {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = 1;
  info.header.biHeight = kGradientRows; // rows bottom-up
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 256;
  for (int i = 0; i < 256; ++i)
    info.colors[i].rgbBlue = static_cast<BYTE>(i);
  void* bits = nullptr;
  const HBITMAP bitmap =
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  constexpr int kRowBytes = 4; // one pixel, rows padded to four bytes
  for (int row = 0; row < kGradientRows; ++row)
    static_cast<BYTE*>(bits)[(kGradientRows - 1 - row) * kRowBytes] = gradientBlue(row);
  return bitmap;
}

} // namespace

MainWindow::MainWindow(Platform& platform, InstallState& state)
    : Form("Tmain", RGB(0, 0, 128)), platform_(platform), state_(state) {}

StartUpOutcome MainWindow::FormCreate() {
  createWindow("Tmain", WS_OVERLAPPED | WS_CAPTION, 0, layout_.window.width, layout_.window.height);
  createControls();
  StartUp startUp(platform_, state_);
  startUp.removeOldCopyWith(removeOldCopy);
  if (startUp.run() == StartUpOutcome::EndProgram) return StartUpOutcome::EndProgram;
  settings_ = readMainSettings(*state_.Setup.SetupScript);
  layOutAtStartUp(layout_, state_, settings_, platform_);
  apply();
  return StartUpOutcome::Continue;
}

void MainWindow::createControls() {
  const MainLayout& d = layout_;
  const HFONT title = fontOf("Times New Roman", 35, true);
  const HFONT line = fontOf("Times New Roman", 21, true);
  i1_ = addImage("i1", d.i1.rect, true, false);
  setPicture(PictureControl::i1, gradientBitmap());
  i2_ = addImage("i2", d.i2.rect, false, true);
  i4_ = addImage("i4", d.i4.rect, true, false);
  i3_ = addImage("i3", d.i3.rect, true, false);
  Lbl_4_ = addLabel("Lbl_4", "", d.Lbl_4.rect, fontOf("Arial", 21, true), d.Lbl_4.color, true, true);
  Lbl1_shadow_ = addLabel("Lbl1_shadow", "", d.Lbl1_shadow.rect, title, d.Lbl1_shadow.color, true, false);
  Lbl_1_ = addLabel("Lbl_1", "", d.Lbl_1.rect, title, d.Lbl_1.color, true, false);
  Lbl2_shadow_ = addLabel("Lbl2_shadow", "", d.Lbl2_shadow.rect, line, d.Lbl2_shadow.color, true, false);
  Lbl3_shadow_ = addLabel("Lbl3_shadow", "", d.Lbl3_shadow.rect, line, d.Lbl3_shadow.color, true, false);
  Lbl_2_ = addLabel("Lbl_2", "", d.Lbl_2.rect, line, d.Lbl_2.color, true, false);
  Lbl_3_ = addLabel("Lbl_3", "", d.Lbl_3.rect, line, d.Lbl_3.color, true, false);
  apply();
}

std::array<std::pair<HWND, const ControlState*>, 11> MainWindow::controls() const {
  return {{{i1_, &layout_.i1},
           {i2_, &layout_.i2},
           {i4_, &layout_.i4},
           {i3_, &layout_.i3},
           {Lbl_4_, &layout_.Lbl_4},
           {Lbl1_shadow_, &layout_.Lbl1_shadow},
           {Lbl_1_, &layout_.Lbl_1},
           {Lbl2_shadow_, &layout_.Lbl2_shadow},
           {Lbl3_shadow_, &layout_.Lbl3_shadow},
           {Lbl_2_, &layout_.Lbl_2},
           {Lbl_3_, &layout_.Lbl_3}}};
}

void MainWindow::apply() {
  for (const auto& [window, state] : controls()) {
    place(window, state->rect);
    setVisible(window, state->visible);
    if (GetWindowTextLengthA(window) != 0 || !state->text.empty()) setText(window, state->text);
    if (window != i1_ && window != i2_ && window != i3_ && window != i4_) setLabelColor(window, state->color);
  }
  setText(hwnd_, layout_.caption);
  SetWindowPos(hwnd_, nullptr, layout_.window.left, layout_.window.top, layout_.window.width, layout_.window.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::showInformationDisplay(bool infoPictureLoaded) {
  switchToInformationDisplay(layout_, state_, infoPictureLoaded);
  for (const auto& [window, control] : controls())
    setVisible(window, control->visible);
}

void MainWindow::showAsMainWindow() { show(layout_.maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL); }

HWND MainWindow::control(PictureControl c) const {
  switch (c) {
  case PictureControl::i1: return i1_;
  case PictureControl::i2: return i2_;
  case PictureControl::i3: return i3_;
  case PictureControl::i4: return i4_;
  default: return nullptr;
  }
}

void MainWindow::sizeInfoArea(int width, int height) {
  layout_.i2.rect.width = width;
  layout_.i2.rect.height = height;
  place(i2_, layout_.i2.rect);
}

void MainWindow::FormActivate() {
  if (!state_.LayoutDone) {
    state_.LayoutDone = true;
    layOutAtFirstActivation(layout_, settings_, platform_.screenSize());
    SetWindowPos(hwnd_, nullptr, 0, 0, layout_.window.width, layout_.window.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, layout_.minimised ? SW_MINIMIZE : SW_MAXIMIZE);
    place(i1_, layout_.i1.rect);
    place(i2_, layout_.i2.rect);
    setVisible(i1_, layout_.i1.visible);
  }
  if (leader_ && leader_->visible()) SetForegroundWindow(leader_->handle());
}

void MainWindow::FormDestroy() { state_.Setup.SetupScript.reset(); }

bool MainWindow::onMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
  case WM_ACTIVATE:
    if (LOWORD(wp) != WA_INACTIVE) FormActivate();
    result = 0;
    return true;
  case WM_DESTROY:
    PostQuitMessage(0);
    result = 0;
    return true;
  default: return false;
  }
}

void MainWindow::FormPaint(HDC dc) {
  if (!state_.Setup.SetupScript || !tilesBackground(settings_, state_, platform_)) return;
  // Read from the file at every paint: the tiled picture is never cached.
  HBITMAP picture =
      static_cast<HBITMAP>(LoadImageA(nullptr, state_.Setup.BackPicture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!picture) return;
  BITMAP bm{};
  GetObjectA(picture, sizeof bm, &bm);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, picture);
  for (const Point& p : tilePositions(bm.bmWidth, bm.bmHeight, platform_.screenSize()))
    BitBlt(dc, p.x, p.y, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(picture);
}

} // namespace kalvora
