#pragma once
// Graphic controls: labels, images, bevels, icons and gauges. Each is a real
// child window, so that automation finds it by name and reads its text, and
// so that it moves and hides as any control; its parent paints it, back to
// front in creation order, as the framework the layouts come from paints its
// graphic controls.
#include <windows.h>

#include <string>

#include "model/Geometry.h"

namespace kalvora {

enum class GraphicKind { Label, Image, Bevel, Icon, Gauge };

// How a graphic control draws itself; stored with its window.
struct Graphic {
  GraphicKind kind = GraphicKind::Label;
  HFONT font = nullptr;
  COLORREF color = 0;
  bool transparent = false;
  bool wordWrap = false;
  bool stretch = false;
  bool center = false;
  bool alignRight = false;  // labels: text flush right
  bool frame = false;       // bevels: a sunken frame rather than a bottom line
  HBITMAP bitmap = nullptr; // owned
  HICON icon = nullptr;
};

// Creates a graphic control in parent, named for automation, on top of the earlier ones.
HWND createGraphicControl(HWND parent, const char* name, const std::string& text, Rect r, const Graphic& graphic);
// The drawing state of a graphic control; its changes show after invalidateUnder.
Graphic& graphicOf(HWND control);
// Asks the parent to repaint the area under a child.
void invalidateUnder(HWND child);
// A child's rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);

// Paints the graphic children of parent onto dc, back to front.
void paintGraphicChildren(HWND parent, HDC dc);

} // namespace kalvora
