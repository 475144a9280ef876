#include "install/SharedFiles.h"

#include "install/RegistryChanges.h"
#include "install/ScriptPaths.h"

namespace kalvora {

std::optional<std::uint32_t> sharedCount(Platform& platform, const std::string& path) {
  return platform.readRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path);
}

std::optional<std::uint32_t> logSharedCount(RunContext& run, std::int64_t number, std::optional<std::uint32_t> count,
                                            bool existed) {
  const std::uint32_t before = count ? *count : (existed ? 1u : 0u);
  if ((count && !run.logBool("systemroot", numberedKey("hadcount", number), true)) ||
      !run.logInteger("systemroot", numberedKey("count", number), before))
    return std::nullopt;
  return before;
}

bool countSharedFileUp(RunContext& run, const std::string& path, std::uint32_t before) {
  if (!run.platform.writeRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path, before + 1))
    return run.fail(ERegistryException::valueNotSet(path));
  return true;
}

} // namespace kalvora
