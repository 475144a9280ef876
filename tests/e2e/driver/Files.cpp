#include "Files.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "Failure.h"

namespace kvdrive {

void removeTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!DeleteFileA(path.c_str())) throw Failure("cannot delete " + path);
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") removeTree(path + "\\" + name);
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
  }
  if (!RemoveDirectoryA(path.c_str())) throw Failure("cannot remove " + path);
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void copyFile(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw Failure("cannot copy " + from + " to " + to);
}

void makeFile(const std::string& path, unsigned long long bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> block(1 << 16);
  unsigned long long state = bytes;
  for (unsigned long long left = bytes; left > 0 && out;) {
    for (char& c : block) {
      state = state * 6364136223846793005ull + 1442695040888963407ull; // Knuth's MMIX generator
      c = static_cast<char>(state >> 56);
    }
    const auto n = static_cast<std::streamsize>(std::min<unsigned long long>(left, block.size()));
    out.write(block.data(), n);
    left -= static_cast<unsigned long long>(n);
  }
  if (!out.flush()) throw Failure("cannot write " + path);
}

// Benchmarks time the steps between two marks: NAME and the driver's clock in seconds.
void appendTimeMark(const std::string& path, const std::string& name) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  std::ofstream out(path, std::ios::app);
  out << name << " " << std::fixed << static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart)
      << "\n";
  if (!out) throw Failure("cannot write " + path);
}

} // namespace kvdrive
