#include "DriveFaults.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace kvdrive {
namespace {

std::string directoryOf(const std::string& path) {
  const auto at = path.find_last_of("\\/");
  return at == std::string::npos ? "." : path.substr(0, at + 1);
}

ULONGLONG freeBytes(const std::string& path) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA(directoryOf(path).c_str(), &available, nullptr, nullptr))
    throw std::runtime_error("cannot read the free space of " + directoryOf(path));
  return available.QuadPart;
}

// Writes zeros to PATH until its drive has FREE bytes free (or a block less).
void fill(const std::string& path, ULONGLONG keep) {
  const ULONGLONG before = freeBytes(path);
  if (before < keep)
    throw std::runtime_error("the drive of " + path + " has only " + std::to_string(before) + " bytes free");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  static const char zeros[65536] = {};
  for (ULONGLONG left = before - keep; left > 0;) {
    const DWORD want = static_cast<DWORD>(std::min<ULONGLONG>(left, sizeof zeros));
    DWORD put = 0;
    if (!WriteFile(file, zeros, want, &put, nullptr) || put == 0) break;
    left -= put;
  }
  CloseHandle(file);
  const ULONGLONG after = freeBytes(path);
  if (after > keep)
    throw std::runtime_error("the drive of " + path + " keeps " + std::to_string(after) + " bytes free");
}

// Cuts PATH off after BYTES bytes.
void truncate(const std::string& path, LONGLONG bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  LARGE_INTEGER at{};
  at.QuadPart = bytes;
  const bool cut = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!cut) throw std::runtime_error("cannot cut " + path + " at " + std::to_string(bytes));
}

} // namespace

bool driveFaultCommand(const std::vector<std::string>& w) {
  if (w[0] != "fill" && w[0] != "truncate") return false;
  if (w.size() < 3) throw std::runtime_error("usage: fill PATH FREE | truncate PATH BYTES");
  if (w[0] == "fill")
    fill(w[1], std::stoull(w[2]));
  else
    truncate(w[1], std::stoll(w[2]));
  return true;
}

} // namespace kvdrive
