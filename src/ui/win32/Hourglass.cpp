#include "ui/win32/Hourglass.h"

#include <windows.h>

namespace kalvora {
namespace {

bool hourglass = false;

} // namespace

void setHourglass(bool on) {
  hourglass = on;
  SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool hourglassShown() { return hourglass; }

} // namespace kalvora
