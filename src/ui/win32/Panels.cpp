#include "ui/win32/Panels.h"

#include <map>

#include "ui/win32/Automation.h"
#include "ui/win32/GraphicControls.h"
#include "ui/win32/WindowClass.h"

namespace kalvora {
namespace {

const char* const kPanelClass = "KvPanel";

struct PanelData {
  PanelLook look;
  HBRUSH brush = nullptr;
};

std::map<HWND, PanelData>& panels() {
  static std::map<HWND, PanelData> map;
  return map;
}

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_ERASEBKGND: return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const auto it = panels().find(hwnd);
    if (it != panels().end() && it->second.brush) {
      FillRect(dc, &client, it->second.brush);
      if (it->second.look.edge) DrawEdge(dc, &client, it->second.look.edge, BF_RECT);
    } else {
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    paintGraphicChildren(hwnd, dc);
    EndPaint(hwnd, &ps);
    return 0;
  }
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN: {
    // Check boxes on a panel of its own colour take that colour.
    const auto it = panels().find(hwnd);
    if (it != panels().end() && it->second.brush) {
      SetBkColor(reinterpret_cast<HDC>(wp), it->second.look.fill);
      return reinterpret_cast<LRESULT>(it->second.brush);
    }
    return SendMessageA(GetParent(hwnd), msg, wp, lp);
  }
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_DRAWITEM:
  case WM_MEASUREITEM: return SendMessageA(GetParent(hwnd), msg, wp, lp);
  case WM_NCDESTROY: {
    const auto it = panels().find(hwnd);
    if (it != panels().end()) {
      if (it->second.brush) DeleteObject(it->second.brush);
      panels().erase(it);
    }
    break;
  }
  default: break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

HWND createPanel(HWND parent, const char* name, Rect r, PanelLook look) {
  static bool registered = false;
  if (!registered) registerWindowClass(kPanelClass, panelProc);
  registered = true;
  HWND h = CreateWindowExA(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width,
                           r.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  panels()[h] = {look, CreateSolidBrush(look.fill)};
  setWindowName(h, name);
  return h;
}

} // namespace kalvora
