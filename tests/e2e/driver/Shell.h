#pragma once
// The shell's side of an installation: a program group's links read through
// the shell's own link object, and the folder windows the shell opens for a
// new group.
#include <string>

namespace kvdrive {

// The current user's Start Menu Programs folder.
std::string userProgramsFolder();
// Why the link at path does not start target with arguments; empty when it does.
std::string linkFault(const std::string& path, const std::string& target, const std::string& arguments);
// Why folder does not hold exactly count links; empty when it does.
std::string linkCountFault(const std::string& folder, int count);
// The title of a shell folder window that is shown now or comes within
// milliseconds; empty when none does.
std::string folderWindowWithin(int milliseconds);
// Closes the shell's folder windows (a new group's, say): they belong to no
// scenario and would keep the prefix, and the test's output, open. Bounded.
void closeShellWindows();
// closeShellWindows, then ends every shell process but the desktop's, until
// none has come for a while: one may still be starting its window when the
// scenario ends.
void endShellProcesses();

} // namespace kvdrive
