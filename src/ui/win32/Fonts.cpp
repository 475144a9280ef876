#include "ui/win32/Fonts.h"

#include <map>
#include <string>

namespace kalvora {

HFONT fontOf(const char* face, int height, bool bold) {
  static std::map<std::string, HFONT> fonts;
  const std::string key = std::string(face) + "/" + std::to_string(height) + (bold ? "b" : "");
  auto it = fonts.find(key);
  if (it != fonts.end()) return it->second;
  HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
  fonts.emplace(key, font);
  return font;
}

HFONT formFont() {
  // Asked once: every paint uses it, and the screen's resolution costs the system several calls.
  static const HFONT font = [] {
    HDC screen = GetDC(nullptr);
    const int height = MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return fontOf("MS Sans Serif", height, false);
  }();
  return font;
}

} // namespace kalvora
