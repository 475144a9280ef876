#pragma once
// The window classes of setup.exe: the program's icon and the arrow cursor.
#include <windows.h>

namespace kalvora {

// extraBytes: the window bytes the class reserves (DLGWINDOWEXTRA for the dialog manager).
void registerWindowClass(const char* name, WNDPROC proc, int extraBytes = 0);

} // namespace kalvora
