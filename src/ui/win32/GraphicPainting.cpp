#include "ui/win32/GraphicPainting.h"

#include <cstdlib>
#include <string>

#include "ui/win32/Fonts.h"
#include "ui/win32/Form.h"

namespace kalvora {
namespace {

void drawPicture(HDC dc, const RECT& r, const Graphic& g) {
  BITMAP bm{};
  if (!g.bitmap || !GetObjectA(g.bitmap, sizeof bm, &bm)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, g.bitmap);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  if (g.stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, width, height, source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  } else {
    const int x = g.center ? r.left + (width - bm.bmWidth) / 2 : r.left;
    const int y = g.center ? r.top + (height - bm.bmHeight) / 2 : r.top;
    BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
  }
  RestoreDC(dc, saved);
  SelectObject(source, old);
  DeleteDC(source);
}

// A percentage bar: the done part in the active caption's colour, the rest in
// the window colour, the percentage centred in the colour opposite each part.
void drawGauge(HDC dc, const RECT& r, int percent) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  RECT done = r;
  done.right = r.left + (r.right - r.left) * percent / 100;
  const std::string text = std::to_string(percent) + "%";
  HGDIOBJ oldFont = SelectObject(dc, formFont());
  SetBkMode(dc, TRANSPARENT);
  RECT area = r;
  SetTextColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
  DrawTextA(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
  FillRect(dc, &done, GetSysColorBrush(COLOR_ACTIVECAPTION));
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RestoreDC(dc, saved);
  SelectObject(dc, oldFont);
  DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
}

} // namespace

void drawGraphic(HWND child, HDC dc, const Graphic& g) {
  RECT r = rectInParent(child);
  switch (g.kind) {
  case GraphicKind::Image: drawPicture(dc, r, g); break;
  case GraphicKind::Icon:
    if (g.icon) DrawIconEx(dc, r.left, r.top, g.icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
    break;
  case GraphicKind::Gauge: drawGauge(dc, r, std::atoi(Form::textOf(child).c_str())); break;
  case GraphicKind::Bevel:
    if (g.frame)
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else
      DrawEdge(dc, &r, EDGE_ETCHED, BF_BOTTOM);
    break;
  case GraphicKind::Label: {
    if (!g.transparent) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const std::string text = Form::textOf(child);
    HGDIOBJ oldFont = SelectObject(dc, g.font ? g.font : formFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, g.color);
    const UINT format = (g.wordWrap ? DT_WORDBREAK : DT_SINGLELINE) | (g.alignRight ? DT_RIGHT : DT_LEFT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, oldFont);
    break;
  }
  }
}

} // namespace kalvora
