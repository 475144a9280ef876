#pragma once
// The exit code of setup.exe and unkalvora.exe when they end at once: memory
// could not be had, or the program itself is at fault (an index past the end
// of a container, an access violation, say). setup.exe first starts the
// rollback of an installation under way (platform/Win32ProgramFault.h). It is
// msiexec's code for a fatal error, apart from every code the programs end
// with otherwise.
namespace kalvora {

inline constexpr unsigned kExitProgramFault = 1603;

} // namespace kalvora
