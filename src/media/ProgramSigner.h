#pragma once
// Signing setup.exe and the uninstaller with the distributor's own command
// ([build] sign), before they are copied onto the medium or packed into it.
//
// The command is run by the system's shell in the project's directory, with
// these placeholders replaced (each path quoted for the shell):
//   {file}  a copy of the program, made for signing; the command signs it in place
//   {out}   optional: where the command writes the signed program instead
//   {name}  the program's name on the medium's target, setup.exe or unkalvora.exe
#include <filesystem>
#include <optional>
#include <string>

#include "media/Diagnostics.h"

namespace kalvora::media {

// Why the command template cannot serve (no {file}, an unknown placeholder); empty when it can.
std::string signCommandFault(const std::string& command);

// Signs a copy of program in workDir; returns the signed copy, or nullopt after
// an error reported to diag (the command failed or left no program behind).
std::optional<std::filesystem::path> signProgram(const std::string& command, const std::string& where,
                                                 const std::filesystem::path& projectDir,
                                                 const std::filesystem::path& program, const std::string& name,
                                                 const std::filesystem::path& workDir, Diagnostics& diag);

} // namespace kalvora::media
