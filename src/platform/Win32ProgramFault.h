#pragma once
// What setup.exe does when it faults (a fault of the program itself, memory
// that cannot be had, an access violation) before it ends: one plain message
// in an interactive run, and the rollback of an installation under way,
// started from the log on disk as a kill followed by the uninstaller would.
// The run sets both up beforehand; the fault path only reads them, since it
// must not allocate. A program that sets nothing (unkalvora.exe) shows
// nothing and starts nothing.
#include <string>

namespace kalvora {

// Whether a fault is told with a message box: an interactive run. Not at first.
void setFaultMessage(bool shown);
// The command line that undoes the installation under way, empty when none
// is: kept in a fixed buffer that holds two full paths and the switches (a
// longer one is not kept, and nothing is started).
void setFaultRollback(const std::string& commandLine);
// The fault path: the message where one is to be shown, then the rollback,
// hidden and not waited for; allocates nothing. The caller ends the program.
// A fault of another thread meanwhile waits here for the program's end; a
// fault inside the message box's own message loop skips the message.
void reportFault() noexcept;

} // namespace kalvora
