#include "XScreen.h"

#include <cstdio>
#include <fstream>
#include <istream>
#include <iterator>
#include <stdexcept>

namespace kvdrive {
namespace {

// Wine runs a Unix program given by its Unix path; it cannot be waited for, so
// the picture is written under a temporary name and renamed when complete.
std::string unixPathOf(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!convert) throw std::runtime_error("the X screen can only be read under Wine");
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unix = convert(wide.c_str());
  if (!unix) throw std::runtime_error("no Unix path for " + windowsPath);
  std::string path = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

void startShell(const std::string& script) {
  std::string commandLine = "/bin/sh -c \"" + script + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot start /bin/sh");
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// The next number of a PPM header; comments run from '#' to the line's end.
int headerNumber(std::istream& in) {
  for (;;) {
    in >> std::ws;
    if (in.peek() != '#') break;
    std::string comment;
    std::getline(in, comment);
  }
  int n = -1;
  in >> n;
  return n;
}

// A binary PPM (P6, maxval 255): its size and RGB bytes.
bool readPpm(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  in >> magic;
  width = headerNumber(in);
  height = headerNumber(in);
  if (!in || magic != "P6" || headerNumber(in) != 255) return false;
  in.get();
  rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return width > 0 && height > 0 && rgb.size() >= static_cast<std::size_t>(width) * height * 3;
}

} // namespace

std::vector<std::uint8_t> captureXScreen(const RECT& r, const std::string& workDir) {
  const std::string picture = workDir + "\\x-screen.ppm";
  DeleteFileA(picture.c_str());
  const std::string target = unixPathOf(picture);
  startShell("import -silent -window root -depth 8 ppm:'" + target + ".part' && mv '" + target + ".part' '" + target +
             "'");
  int width = 0, height = 0;
  std::vector<std::uint8_t> screen;
  for (int waited = 0; GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 50) {
    if (waited > 10000) throw std::runtime_error("no picture of the X screen (is ImageMagick's import installed?)");
    Sleep(50);
  }
  if (!readPpm(picture, width, height, screen)) throw std::runtime_error("cannot read " + picture);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w > 0 ? w : 0) * (h > 0 ? h : 0) * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = r.left + x, sy = r.top + y;
      if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
      for (int c = 0; c < 3; ++c)
        rgb[(static_cast<std::size_t>(y) * w + x) * 3 + c] =
            screen[(static_cast<std::size_t>(sy) * width + sx) * 3 + c];
    }
  return rgb;
}

} // namespace kvdrive
