// How setup.exe and unkalvora.exe end when they cannot go on: with their own
// exit code (the C run-time's abort() would give 3, setup.exe's code for an
// installed copy), after the message of an interactive run and the start of
// the rollback prepared for an installation under way. Under Wine only: the
// probe is a Windows program.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "runtime/ProgramFault.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace kalvora {
namespace {

constexpr DWORD kWaitMs = 30000;
const char* const kFaults[] = {"index", "memory", "terminate", "access"};

// The probe started without waiting; a null process when it cannot be.
struct Probe {
  HANDLE process = nullptr;
  DWORD id = 0;
};
Probe startProbe(const std::string& args) {
  std::string line = "\"" + testing::hostPath(KALVORA_FAULT_PROBE) + "\" " + args;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return {};
  CloseHandle(process.hThread);
  return {process.hProcess, process.dwProcessId};
}

// The exit code once the process ends within kWaitMs; otherwise it is ended, and -1.
long exitCodeOf(const Probe& probe) {
  const HANDLE process = probe.process;
  DWORD code = 0;
  const bool ended = WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
  if (!ended) TerminateProcess(process, 1);
  CloseHandle(process);
  return ended ? static_cast<long>(code) : -1;
}

bool appears(const std::string& path) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 100, Sleep(100))
    if (std::filesystem::exists(path)) return true;
  return false;
}

// A visible top-level window of a process, with its children's texts.
struct Box {
  DWORD process = 0;
  HWND window = nullptr;
  std::string texts;
};

BOOL CALLBACK addText(HWND child, LPARAM box) {
  char text[512] = "";
  GetWindowTextA(child, text, sizeof text);
  reinterpret_cast<Box*>(box)->texts += std::string(text) + "|";
  return TRUE;
}

BOOL CALLBACK findBox(HWND window, LPARAM data) {
  Box& box = *reinterpret_cast<Box*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != box.process || !IsWindowVisible(window)) return TRUE;
  box.window = window;
  EnumChildWindows(window, addText, data);
  return FALSE;
}

// The window the process shows within kWaitMs.
Box boxOf(const Probe& probe) {
  Box box{probe.id, nullptr, {}};
  for (DWORD waited = 0; waited < kWaitMs && !box.window; waited += 100, Sleep(100))
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

TEST(ProgramFault, EndsWithItsOwnExitCodeAfterTheRollbackPrepared) {
  // Nothing prepared (unkalvora.exe): the exit code alone.
  for (const char* fault : kFaults)
    EXPECT_EQ(testing::runProcess(testing::hostPath(KALVORA_FAULT_PROBE), {fault}).exitCode,
              static_cast<int>(kExitProgramFault))
        << fault;
  EXPECT_EQ(testing::runProcess(testing::hostPath(KALVORA_FAULT_PROBE), {"none"}).exitCode, 0);

  // A quiet run: no box holds it, and the rollback starts.
  testing::TempDir dir;
  for (const char* fault : kFaults) {
    const std::string marker = dir / fault;
    EXPECT_EQ(exitCodeOf(startProbe(std::string(fault) + " quiet \"" + marker + "\"")),
              static_cast<long>(kExitProgramFault))
        << fault;
    EXPECT_TRUE(appears(marker)) << fault;
  }
  const std::string unfaulted = dir / "none";
  EXPECT_EQ(exitCodeOf(startProbe("none quiet \"" + unfaulted + "\"")), 0);

  // An interactive run: one plain message first, the rollback only once it is read.
  const std::string marker = dir / "told";
  const Probe probe = startProbe("access tell \"" + marker + "\"");
  ASSERT_NE(probe.process, nullptr);
  const Box box = boxOf(probe);
  ASSERT_NE(box.window, nullptr);
  EXPECT_NE(box.texts.find("Setup stopped because of an internal error."), std::string::npos) << box.texts;
  EXPECT_NE(box.texts.find("will now be undone"), std::string::npos) << box.texts;
  Sleep(1000);
  EXPECT_FALSE(std::filesystem::exists(marker)); // not before the box is closed
  PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(exitCodeOf(probe), static_cast<long>(kExitProgramFault));
  EXPECT_TRUE(appears(marker));
  EXPECT_FALSE(std::filesystem::exists(unfaulted));
}

} // namespace
} // namespace kalvora
#endif
