#include "KillWhen.h"

#include <windows.h>

#include <functional>

#include "Failure.h"
#include "Process.h"
#include "Registry.h"
#include "platform/IniText.h"

namespace kvdrive {
namespace {

bool fileReaches(const std::string& path, ULONGLONG bytes) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) >= bytes;
}

// Read with every kind of sharing and closed at once: the run replaces its log
// by a move, which a file held open can make wait or fail.
std::string sharedText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  CloseHandle(file);
  return text;
}

bool iniHasKey(const std::string& file, const std::string& section, const std::string& key) {
  return kalvora::iniRead(sharedText(file), section, key, "(missing)") != "(missing)";
}

std::function<bool()> conditionOf(const std::vector<std::string>& w) {
  const char* usage = "usage: kill-when size FILE BYTES | ini FILE SECTION KEY | reg KEY NAME";
  if (w.size() == 4 && w[1] == "size") {
    const ULONGLONG bytes = std::stoull(w[3]);
    return [=] { return fileReaches(w[2], bytes); };
  }
  if (w.size() == 5 && w[1] == "ini") return [=] { return iniHasKey(w[2], w[3], w[4]); };
  if (w.size() == 4 && w[1] == "reg") return [=] { return regGet(w[2], w[3]) != "(missing)"; };
  throw Failure(usage);
}

// Lets the held program run for about a quarter of a millisecond of real time.
// Spun rather than slept: a sleep may last many milliseconds on a busy
// machine, time enough for the program to run past a moment and end.
void runBriefly(Program& program) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  program.hold(false);
  do {
    Sleep(0);
    QueryPerformanceCounter(&now);
  } while ((now.QuadPart - start.QuadPart) * 4000 < frequency.QuadPart);
  program.hold(true);
}

} // namespace

void killWhen(const std::vector<std::string>& words, Program& program, int timeoutMs) {
  const std::function<bool()> condition = conditionOf(words);
  if (!program.running()) throw Failure("the program was not started");
  const DWORD start = GetTickCount();
  // Each look is taken while the program is held: it cannot run on to its end
  // between the look that sees the moment and the kill.
  program.hold(true);
  while (!condition()) {
    if (program.exited())
      throw Failure("the program ended with exit code " + std::to_string(program.exitCode()) +
                    " before the condition held");
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) {
      program.hold(false);
      throw Failure("timed out waiting for the condition");
    }
    runBriefly(program);
  }
  if (!program.kill()) throw Failure("the program ended by itself when the condition held");
}

} // namespace kvdrive
