#pragma once
// What the test driver reads from the program: every window's name, and a
// trace of what passes too fast to watch.
#include <windows.h>

#include <string>

namespace kalvora {

// The window property that names every window and control, for automation.
void setWindowName(HWND window, const std::string& name);
std::string windowName(HWND window);
// At program end: deletes the global atoms that hold the names.
void releaseWindowNames();

// Appends a line to the file named by KALVORA_TRACE, when set: the test driver
// reads from it what passes too fast to watch (the loading screen's bar).
void automationTrace(const std::string& line);

} // namespace kalvora
