#include "ui/win32/GraphicControls.h"

#include <map>
#include <vector>

#include "ui/win32/Automation.h"
#include "ui/win32/GraphicPainting.h"
#include "ui/win32/WindowClass.h"

namespace kalvora {
namespace {

const char* const kGraphicClass = "KvGraphic";

std::map<HWND, Graphic>& graphics() {
  static std::map<HWND, Graphic> map;
  return map;
}

// Graphic controls in creation order, which is their stacking order from back to front.
std::vector<HWND>& stacking() {
  static std::vector<HWND> order;
  return order;
}

// Graphic controls: present for automation and for moving and hiding, drawn by their parent.
LRESULT CALLBACK graphicProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_NCHITTEST: return HTTRANSPARENT;
  case WM_ERASEBKGND: return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  case WM_SETTEXT: {
    const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
    invalidateUnder(hwnd);
    return r;
  }
  case WM_WINDOWPOSCHANGING:
  case WM_WINDOWPOSCHANGED:
    // Both the old and the new place need the parent's paint.
    if (IsWindowVisible(hwnd) || msg == WM_WINDOWPOSCHANGED) invalidateUnder(hwnd);
    break;
  case WM_NCDESTROY: {
    auto it = graphics().find(hwnd);
    if (it != graphics().end()) {
      if (it->second.bitmap) DeleteObject(it->second.bitmap);
      graphics().erase(it);
    }
    std::erase(stacking(), hwnd);
    break;
  }
  default: break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

HWND createGraphicControl(HWND parent, const char* name, const std::string& text, Rect r, const Graphic& graphic) {
  static bool registered = false;
  if (!registered) registerWindowClass(kGraphicClass, graphicProc);
  registered = true;
  HWND h = CreateWindowExA(WS_EX_TRANSPARENT, kGraphicClass, text.c_str(), WS_CHILD | WS_VISIBLE, r.left, r.top,
                           r.width, r.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  graphics()[h] = graphic;
  stacking().push_back(h);
  setWindowName(h, name);
  return h;
}

Graphic& graphicOf(HWND control) { return graphics()[control]; }

RECT rectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void invalidateUnder(HWND child) {
  RECT r = rectInParent(child);
  InvalidateRect(GetParent(child), &r, FALSE);
}

void paintGraphicChildren(HWND parent, HDC dc) {
  for (HWND child : stacking()) {
    if (GetParent(child) != parent || !IsWindowVisible(child)) continue;
    auto it = graphics().find(child);
    if (it != graphics().end()) drawGraphic(child, dc, it->second);
  }
}

} // namespace kalvora
