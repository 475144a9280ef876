#include "install/SharedFiles.h"

#include "install/RegistryChanges.h"
#include "install/ScriptPaths.h"

namespace kalvora {

bool countSharedFileUp(RunContext& run, std::int64_t number, const std::string& path, bool existed) {
  if (!run.LogEnabled) return true; // without a log no uninstaller would ever count it down
  const std::optional<std::uint32_t> count =
      run.platform.readRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path);
  const std::uint32_t before = count ? *count : (existed ? 1u : 0u);
  if ((count && !run.logBool("systemroot", numberedKey("hadcount", number), true)) ||
      !run.logInteger("systemroot", numberedKey("count", number), before) || !run.flushLog())
    return false;
  if (!run.platform.writeRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path, before + 1))
    return run.fail(ERegistryException::valueNotSet(path));
  return true;
}

} // namespace kalvora
