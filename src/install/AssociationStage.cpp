#include "install/AssociationStage.h"

#include "install/RegistryChanges.h"
#include "install/ScriptPaths.h"
#include "platform/IniText.h"
#include "script/SystemRootMarker.h"

namespace kalvora {
namespace {

constexpr std::int32_t kDefaultSlots = 150;

// The class key's values as the run writes them, each with the keys of its
// records in [extensions]: the value written, whether one was there, its data.
struct ClassValue {
  std::string key, value;
  const char *written, *had, *old;
};

// Records a default value's state before it is written: the uninstaller puts
// back what was there (equal data included) and removes only what is still
// ours. A second run over the same log that finds the value as the first run
// left it keeps the first run's records.
bool logBefore(RunContext& run, std::int64_t n, const ClassValue& v) {
  const auto previous = run.platform.readRegistryString(RegistryRoot::ClassesRoot, v.key, "");
  if (previous == v.value) {
    const IniSnapshot log(run.Log.text());
    const bool recorded = log.read("extensions", numberedKey(v.had, n), "\x01") != "\x01" &&
                          (!v.written || log.read("extensions", numberedKey(v.written, n), "\x01") == v.value);
    if (recorded) return true;
  }
  return run.logBool("extensions", numberedKey(v.had, n), previous.has_value()) &&
         (!previous || run.log("extensions", numberedKey(v.old, n), *previous)) &&
         (!v.written || run.log("extensions", numberedKey(v.written, n), v.value));
}

bool setDefaultValue(RunContext& run, const std::string& key, const std::string& value) {
  if (!run.platform.createRegistryKey(RegistryRoot::ClassesRoot, key))
    return run.fail(ERegistryException::keyNotCreated(key));
  if (!run.platform.writeRegistryString(RegistryRoot::ClassesRoot, key, "", value))
    return run.fail(ERegistryException::valueNotSet(""));
  return true;
}

bool registerExtension(RunContext& run, std::int64_t slot, std::int64_t n, const std::string& extension) {
  const std::string className = extension + "autofile", program = associatedProgramPath(run, slot);
  const ClassValue values[] = {
      {"." + extension, className, nullptr, "had", "o"},
      {className, run.script().ReadString("extensions", numberedKey("n", slot), ""), "vd", "hd", "od"},
      {className + "\\DefaultIcon", program + ",1", "vi", "hi", "oi"},
      {className + "\\shell\\open\\command", program + " %1", "vc", "hc", "oc"},
  };
  for (const ClassValue& v : values)
    if (!logBefore(run, n, v)) return false;
  run.TextLog.line("assoc", "." + extension);
  for (const ClassValue& v : values)
    if (!setDefaultValue(run, v.key, v.value)) return false;
  return true;
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
  const auto registerAll = [&] {
    const std::int32_t slots = run.script().ReadInteger("extensions", "total", kDefaultSlots);
    for (std::int32_t i = 1; i <= slots; ++i) {
      run.view.setItemLabel(run.text(23));
      const std::string extension = run.script().ReadString("extensions", numberedKey("e", i), "_");
      if (extension == "_" || !isRegistrableExtension(extension)) continue;
      ++count;
      if (!run.log("extensions", numberedKey("e", count), extension) || !registerExtension(run, i, count, extension))
        return false;
    }
    return true;
  };
  const auto total = [&] { return run.logInteger("extensions", "total", count); };
  return leavingWithTotals(run, registerAll, total) && total();
}

} // namespace kalvora
