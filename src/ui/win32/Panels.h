#pragma once
// Panels: child windows that hold a page's controls, filled and framed, with
// their graphic controls painted on them; they pass their children's
// notifications up to the form.
#include <windows.h>

#include "model/Geometry.h"

namespace kalvora {

// How a panel looks: its fill, and the edge drawn round it (DrawEdge flags, 0 for none).
struct PanelLook {
  COLORREF fill = GetSysColor(COLOR_BTNFACE);
  UINT edge = 0;
};

// Creates a panel in parent, named for automation.
HWND createPanel(HWND parent, const char* name, Rect r, PanelLook look);

} // namespace kalvora
