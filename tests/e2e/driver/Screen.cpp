#include "Screen.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "Failure.h"
#include "Png.h"
#include "XScreen.h"

namespace kvdrive {

std::vector<std::uint8_t> capture(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  const auto* pixel = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
    rgb[i * 3] = pixel[i * 4 + 2];
    rgb[i * 3 + 1] = pixel[i * 4 + 1];
    rgb[i * 3 + 2] = pixel[i * 4];
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return rgb;
}

std::vector<std::uint8_t> xScreenOf(const RECT& r, const std::string& workDir) {
  try {
    return captureXScreen(r, workDir);
  } catch (const std::runtime_error& e) {
    throw Failure(e.what());
  }
}

void settlePainting(const std::vector<HWND>& windows) {
  for (HWND window : windows) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  Sleep(150);
}

bool saveScreen(const std::string& path, HWND window, bool xScreen, const std::string& workDir) {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window) GetWindowRect(window, &r);
  const std::vector<std::uint8_t> rgb = xScreen ? xScreenOf(r, workDir) : capture(r);
  return !rgb.empty() && writePng(path, r.right - r.left, r.bottom - r.top, rgb);
}

std::string pixelText(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

std::string xScreenMismatch(HWND window, const std::string& workDir) {
  RECT r;
  GetWindowRect(window, &r);
  const std::vector<std::uint8_t> own = capture(r), shown = xScreenOf(r, workDir);
  const int width = r.right - r.left, height = r.bottom - r.top;
  int differing = 0;
  std::string first;
  for (int gy = 1; gy < 8; ++gy)
    for (int gx = 1; gx < 8; ++gx) {
      const int x = width * gx / 8, y = height * gy / 8;
      const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
      if (std::equal(own.begin() + i, own.begin() + i + 3, shown.begin() + i)) continue;
      if (differing++ == 0) {
        char text[80];
        std::snprintf(text, sizeof text, "at %d,%d the X screen shows %02X%02X%02X, the window %02X%02X%02X", x, y,
                      shown[i], shown[i + 1], shown[i + 2], own[i], own[i + 1], own[i + 2]);
        first = text;
      }
    }
  return differing ? std::to_string(differing) + " of 49 points differ; " + first : std::string();
}

bool holdsColour(HWND window, const RECT& area, std::uint32_t colour) {
  POINT origin{area.left, area.top};
  ClientToScreen(window, &origin);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const std::vector<std::uint8_t> rgb = capture({origin.x, origin.y, origin.x + width, origin.y + height});
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
    if ((static_cast<std::uint32_t>(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]) == colour) return true;
  return false;
}

} // namespace kvdrive
