#include "model/MainLayout.h"

namespace kalvora {

MainSettings readMainSettings(const SetupScript& script) {
  MainSettings settings;
  const char* const colorKeys[3] = {"l1_color", "l2_color", "l3_color"};
  for (int i = 0; i < 3; ++i)
    settings.titleColor[i] = script.ReadInteger("main", colorKeys[i], 0);
  settings.stretch = script.ReadBool("main", "stretch", false);
  settings.shadow = script.ReadBool("main", "shadow", true);
  settings.show = script.ReadBool("main", "show", true);
  settings.caption = script.ReadString("language", "l29", "");
  return settings;
}

MainLayout MainLayout::design() {
  MainLayout m;
  m.i1 = {{0, 0, 641, 433}, false, "", kBlack};
  m.i2 = {{-1, 0, 791, 157}, false, "", kBlack};
  m.i4 = {{13, 9, 265, 246}, false, "", kBlack};
  m.i3 = {{10, 9, 116, 98}, true, "", kBlack};
  m.Lbl_4 = {{283, 9, 324, 247}, false, "", kSilver};
  m.Lbl1_shadow = {{138, 12, 630, 45}, true, "", kBlack};
  m.Lbl_1 = {{134, 8, 630, 44}, true, "", kWhite};
  m.Lbl2_shadow = {{138, 50, 638, 31}, true, "", kBlack};
  m.Lbl3_shadow = {{138, 77, 637, 29}, true, "", kBlack};
  m.Lbl_2 = {{135, 47, 636, 32}, true, "", kSilver};
  m.Lbl_3 = {{135, 74, 636, 35}, true, "", kSilver};
  return m;
}

void layOutAtStartUp(MainLayout& m, const InstallState& state, const MainSettings& settings, Platform& platform) {
  m.Lbl_1.color = static_cast<std::uint32_t>(settings.titleColor[0]);
  m.Lbl_2.color = static_cast<std::uint32_t>(settings.titleColor[1]);
  m.Lbl_3.color = static_cast<std::uint32_t>(settings.titleColor[2]);

  const bool backExists = platform.fileExists(state.Setup.BackPicture);
  m.i1.visible = settings.stretch == backExists;
  m.caption = settings.caption;

  if (!platform.fileExists(state.Setup.LogoPicture)) {
    m.Lbl_1.rect.left = 13;
    m.Lbl_2.rect.left = 14;
    m.Lbl_3.rect.left = 14;
    m.Lbl1_shadow.rect.left = 17;
    m.Lbl2_shadow.rect.left = 16;
    m.Lbl3_shadow.rect.left = 16;
  }
  m.Lbl_1.text = m.Lbl1_shadow.text = state.Setup.TitleLines[0];
  m.Lbl_2.text = m.Lbl2_shadow.text = state.Setup.TitleLines[1];
  m.Lbl_3.text = m.Lbl3_shadow.text = state.Setup.TitleLines[2];
  if (!settings.shadow) m.Lbl1_shadow.visible = m.Lbl2_shadow.visible = m.Lbl3_shadow.visible = false;
  m.Lbl_4.text = state.Setup.InfoText;

  const ScreenSize screen = platform.screenSize();
  m.window.width = screen.width;
  m.window.height = screen.height;
  m.maximised = true;
}

int infoAreaHeight(int screenHeight) { return (2 * screenHeight + 1) / 3; }

void layOutAtFirstActivation(MainLayout& m, const MainSettings& settings, ScreenSize screen) {
  m.window = {0, 0, screen.width, screen.height};
  m.maximised = settings.show;
  m.minimised = !settings.show;
  m.i1.rect.width = screen.width - 2;
  m.i1.rect.height = screen.height - 2;
  m.i2.rect.width = screen.width - 2;
  m.i2.rect.height = infoAreaHeight(screen.height);
  if (settings.stretch) m.i1.visible = true;
}

std::vector<Point> tilePositions(int bitmapWidth, int bitmapHeight, ScreenSize screen) {
  std::vector<Point> points;
  if (bitmapWidth < 2 || bitmapHeight < 2) return points;
  for (int y = 0; y < screen.height; y += bitmapHeight)
    for (int x = 0; x < screen.width; x += bitmapWidth)
      points.push_back({x, y});
  return points;
}

bool tilesBackground(const MainSettings& settings, const InstallState& state, Platform& platform) {
  return !settings.stretch && platform.fileExists(state.Setup.BackPicture);
}

} // namespace kalvora
