#include "install/AssociationStage.h"

#include "install/ScriptPaths.h"
#include "script/SystemRootMarker.h"

namespace kalvora {
namespace {

constexpr std::int32_t kDefaultSlots = 150;

void setDefaultValue(RunContext& run, const std::string& key, const std::string& value) {
  // A refused write leaves the others to be tried.
  run.platform.writeRegistryString(RegistryRoot::ClassesRoot, key, "", value);
}

} // namespace

std::string associatedProgramPath(const RunContext& run, std::int64_t slot) {
  const SetupScript& script = run.script();
  const std::string option = script.ReadString("extensions", numberedKey("o", slot), "");
  const std::string entry = script.ReadString("extensions", numberedKey("f", slot), "");
  const std::string section = "Option_" + option;
  const std::int32_t directory = script.ReadInteger(section, "d" + entry, 0);
  const std::string value = script.ReadString("directories", numberedKey("d" + option + "_", directory), "");
  const std::string name = script.ReadString(section, "f" + entry, "");
  // The file stage puts a directory marked %SystemRoot% below the Windows directory;
  // the association names that file, not a path below the target that holds nothing.
  if (holdsSystemRoot(value)) return run.WindowsDir + belowSystemRoot(value, kKeptForFiles) + "\\" + name;
  return run.state.Choices.TargetDir + value + "\\" + name;
}

bool associationStage(RunContext& run) {
  std::int64_t count = 0;
  const std::int32_t slots = run.script().ReadInteger("extensions", "total", kDefaultSlots);
  for (std::int32_t i = 1; i <= slots; ++i) {
    run.view.setItemLabel(run.text(23));
    const std::string extension = run.script().ReadString("extensions", numberedKey("e", i), "_");
    if (extension == "_" || !isRegistrableExtension(extension)) continue;
    ++count;
    if (!run.log("extensions", numberedKey("e", count), extension)) return false;
    const std::string className = extension + "autofile";
    // What the extension opened before, for the uninstaller to put back; a value
    // that is already this product's (a second run) leaves the first run's record.
    const auto previous = run.platform.readRegistryString(RegistryRoot::ClassesRoot, "." + extension, "");
    if (previous && *previous != className && !run.log("extensions", numberedKey("o", count), *previous)) return false;
    run.TextLog.line("assoc", "." + extension);
    setDefaultValue(run, "." + extension, className);
    setDefaultValue(run, className, run.script().ReadString("extensions", numberedKey("n", i), ""));
    const std::string program = associatedProgramPath(run, i);
    setDefaultValue(run, className + "\\DefaultIcon", program + ",1");
    setDefaultValue(run, className + "\\shell\\open\\command", program + " %1");
  }
  return run.logInteger("extensions", "total", count);
}

} // namespace kalvora
