#pragma once
// kill-when: ends the program under test with TerminateProcess as soon as what
// its run leaves on disk shows a moment of the run has come, as the task
// manager or a power cut would end it. The condition is looked at from outside,
// with the program held for each look: the kill may land a little after that
// moment, never before it nor after the program's end.
#include <string>
#include <vector>

namespace kvdrive {

class Program;

// Runs `kill-when size FILE BYTES | ini FILE SECTION KEY | reg KEY NAME`: a file
// at least that large, a key present in an INI file (an uninstall log), a
// registry value present. Throws Failure when the program ends by itself first
// or the condition does not hold within timeoutMs.
void killWhen(const std::vector<std::string>& words, Program& program, int timeoutMs);

} // namespace kvdrive
