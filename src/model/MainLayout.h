#pragma once
// The background window Tmain as data: its controls' design values and the
// layout that start-up and the first activation give them. The Win32 window
// applies this model; it decides nothing itself.
#include <cstdint>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/InstallState.h"
#include "platform/Platform.h"

namespace kalvora {

// The script keys of the background window.
struct MainSettings {
  bool stretch = false;
  bool shadow = true;
  bool show = true;
  std::int32_t titleColor[3] = {0, 0, 0};
  std::string caption; // [language] l29
};
MainSettings readMainSettings(const SetupScript& script);

struct MainLayout {
  std::string caption;
  // Stacking order back to front: i1, i2, i4, i3, Lbl_4, Lbl1_shadow, Lbl_1,
  // Lbl2_shadow, Lbl3_shadow, Lbl_2, Lbl_3.
  ControlState i1, i2, i4, i3, Lbl_4, Lbl1_shadow, Lbl_1, Lbl2_shadow, Lbl3_shadow, Lbl_2, Lbl_3;
  Rect window{0, 0, 641, 433}; // client size at design time
  bool maximised = false;
  bool minimised = false;

  // The design values of every control.
  static MainLayout design();
};

// Start-up's layout of the window from the script and InstallState.
void layOutAtStartUp(MainLayout& layout, const InstallState& state, const MainSettings& settings, Platform& platform);

// The first activation: the window over the whole screen, maximised or minimised, the
// background and information areas sized to the screen.
void layOutAtFirstActivation(MainLayout& layout, const MainSettings& settings, ScreenSize screen);

// Height of the wide information area: two thirds of the screen, rounded to nearest.
int infoAreaHeight(int screenHeight);

// Where the paint handler draws a tiled background bitmap, in drawing order.
// Nothing for a bitmap narrower or lower than 2 pixels.
std::vector<Point> tilePositions(int bitmapWidth, int bitmapHeight, ScreenSize screen);

// Whether the paint handler tiles the background picture.
bool tilesBackground(const MainSettings& settings, const InstallState& state, Platform& platform);

} // namespace kalvora
