#pragma once
// Finding the windows of the program under test and reading their controls:
// forms by their "Name" property, message boxes by caption and text, and the
// texts, items and states of controls as a user sees them.
#include <windows.h>

#include <string>
#include <vector>

namespace kvdrive {

// The window's "Name" property, as the program gives its forms and controls.
std::string windowName(HWND window);
std::string classOf(HWND window);
std::string textOf(HWND window);
std::string withoutAmpersands(std::string text);
// "left top width height".
std::string rectText(const RECT& r);
// Line breaks shown as \r and \n, for messages.
std::string visibleText(const std::string& s);

// The top-level windows of a process.
std::vector<HWND> topWindowsOf(DWORD processId, bool visibleOnly);
std::vector<HWND> children(HWND parent);
// The text of a message box: its first static control with text.
std::string boxText(HWND box);

bool isComboBox(HWND h);
std::vector<std::string> itemsOf(HWND h);
// Selects an item of a list or combo box by its text as a user's choice would,
// and for "open" double-clicks it. Failure when there is no such item.
void chooseItem(HWND h, const std::string& text, bool open);
// A property of a window: text, items, selected, visible, enabled, checked,
// position, state, client or rect. Failure for any other name.
std::string propertyOf(HWND h, const std::string& name);
// Posts the key's down and up: Escape, Enter, Tab, F3, F4, Space or a virtual-key number.
void pressKey(HWND h, const std::string& key);
// Lists the windows and their controls on stderr, for a failed step.
void reportWindows(const std::vector<HWND>& windows);

} // namespace kvdrive
