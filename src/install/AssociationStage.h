#pragma once
// The association stage: every document extension of the script's [extensions]
// section opens an installed program, through four values below the registry's
// classes root; each extension is recorded in the uninstall log.
#include "install/RunContext.h"
#include "install/ScriptPaths.h" // isRegistrableExtension

namespace kalvora {

[[nodiscard]] bool associationStage(RunContext& run);

// The program that opens the documents of extension slot i: the file that the
// file stage placed for [Option_o] fj.
std::string associatedProgramPath(const RunContext& run, std::int64_t slot);

} // namespace kalvora
