#include "install/RegistryChanges.h"

#include "install/ProgramListEntry.h"
#include "install/ScriptPaths.h"
#include "install/UninstallerSetup.h"
#include "platform/IniText.h"

namespace kalvora {

ERegistryException ERegistryException::keyNotCreated(const std::string& keyPath) {
  return ERegistryException("Erzeugung von Schlüssel " + keyPath + " misslungen");
}

ERegistryException ERegistryException::valueNotSet(const std::string& valueName) {
  return ERegistryException("Konnte Daten für '" + valueName + "' nicht setzen");
}

namespace {

bool setValue(RunContext& run, RegistryRoot root, const std::string& keyPath, const std::string& name,
              const std::string& value) {
  if (!run.platform.createRegistryKey(root, keyPath)) return run.fail(ERegistryException::keyNotCreated(keyPath));
  if (!run.platform.writeRegistryString(root, keyPath, name, value))
    return run.fail(ERegistryException::valueNotSet(name));
  return true;
}

// The value that makes its key: a run stopped in between leaves neither, never
// a key without the value by which the uninstaller knows it for the run's.
bool setValueMakingKey(RunContext& run, RegistryRoot root, const std::string& keyPath, const std::string& name,
                       const std::string& value) {
  if (run.platform.writeRegistryString(root, keyPath, name, value)) return true;
  if (!run.platform.registryKeyExists(root, keyPath)) return run.fail(ERegistryException::keyNotCreated(keyPath));
  return run.fail(ERegistryException::valueNotSet(name));
}

bool logEntry(RunContext& run, std::int64_t i, int kind, const std::string& path, const std::string& data) {
  return run.logInteger("sysreg", numberedKey("k", i), kind) && run.log("sysreg", numberedKey("p", i), path) &&
         run.log("sysreg", numberedKey("b", i), data);
}

const char* rootName(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot ? "HKCR" : root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM";
}

// The outermost level of keyPath that is not there yet (as keyPath writes it);
// empty when the whole key exists.
std::string outermostMissingKey(Platform& platform, RegistryRoot root, const std::string& keyPath) {
  for (std::size_t end = keyPath.find('\\');; end = keyPath.find('\\', end + 1)) {
    const std::string level = keyPath.substr(0, end);
    const bool emptyPart = level.empty() || level.back() == '\\';
    if (!emptyPart && !platform.registryKeyExists(root, level)) return level;
    if (end == std::string::npos) return {};
  }
}

// For the uninstaller: the outermost key of entry i that the run makes.
bool logCreatedKey(RunContext& run, std::int64_t i, const std::string& createdKey) {
  return createdKey.empty() || run.log("sysreg", numberedKey("new", i), createdKey);
}

// A second run over the same log that finds the value as the first run left
// it keeps the first run's records of what was there before.
bool loggedBefore(const RunContext& run, std::int64_t i, const std::string& path, const std::string& name,
                  const std::string& data) {
  const IniSnapshot log(run.Log.text());
  return log.read("sysreg", numberedKey("p", i), "\x01") == path &&
         log.read("sysreg", numberedKey("e", i), "\x01") == name &&
         log.read("sysreg", numberedKey("b", i), "\x01") == data;
}

// For the uninstaller, before the value is written: its name and whether it
// was there (had), with the data it held (also when equal to the new data).
bool logValueUndo(RunContext& run, std::int64_t i, RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& data) {
  const auto previous = run.platform.readRegistryString(root, path, name);
  run.TextLog.line("reg", std::string(rootName(root)) + "\\" + path + " " + name + "=" + data);
  if (previous == data && loggedBefore(run, i, path, name, data)) return true;
  // The records reach the disk together, once.
  static_cast<void>(run.Log.hold(true)); // holding writes nothing
  return run.log("sysreg", numberedKey("e", i), name) &&
         run.logBool("sysreg", numberedKey("had", i), previous.has_value()) &&
         (!previous || run.log("sysreg", numberedKey("o", i), *previous)) && run.succeeded(run.Log.hold(false));
}

// HKEY_LOCAL_MACHINE: a key that cannot be made is reported and skipped, as
// writing there needs rights that an ordinary user lacks; setup.log names it.
bool machineEntry(RunContext& run, std::int64_t i) {
  const SetupScript& script = run.script();
  const std::string path = script.ReadString("sysreg", numberedKey("p", i), "");
  const std::string data = script.ReadString("sysreg", numberedKey("b", i), "");
  // Recorded before the key is made: a key that then cannot be made leaves
  // records that the uninstaller finds nothing for.
  if (!logCreatedKey(run, i, outermostMissingKey(run.platform, RegistryRoot::LocalMachine, path)) ||
      !logEntry(run, i, 3, path, data))
    return false;
  if (!run.platform.createRegistryKey(RegistryRoot::LocalMachine, path)) {
    run.TextLog.line("error",
                     "HKLM\\" + path + ": no permission to create the key; entry " + std::to_string(i) + " skipped");
    run.platform.messageBox("No permission to create a key at the top of\rHKEY_LOCAL_MACHINE", "registry",
                            MessageButtons::Ok, MessageIcon::None);
    return true;
  }
  if (data.empty()) {
    run.TextLog.line("reg", "HKLM\\" + path);
    return true;
  }
  const std::string name = script.ReadString("sysreg", numberedKey("e", i), "");
  if (!logValueUndo(run, i, RegistryRoot::LocalMachine, path, name, data)) return false;
  if (!run.platform.writeRegistryString(RegistryRoot::LocalMachine, path, name, data))
    return run.fail(ERegistryException::valueNotSet(name));
  return true;
}

} // namespace

bool registryChanges(RunContext& run) {
  const SetupScript& script = run.script();
  if (!run.logBool("sysreg", "remove", script.ReadBool("sysreg", "remove", false)) ||
      !run.logInteger("sysreg", "total", script.ReadInteger("sysreg", "total", 0)))
    return false;
  // Without the key, entry 1 is still looked at.
  const std::int32_t total = script.ReadInteger("sysreg", "total", 1);
  for (std::int64_t i = 1; i <= total; ++i) {
    const std::int32_t kind = script.ReadInteger("sysreg", numberedKey("k", i), 0);
    if (kind == 3) {
      if (!machineEntry(run, i)) return false;
      continue;
    }
    if (kind != 1 && kind != 2) continue;
    const RegistryRoot root = kind == 1 ? RegistryRoot::ClassesRoot : RegistryRoot::CurrentUser;
    const std::string data = script.ReadString("sysreg", numberedKey("b", i), "");
    const std::string name = script.ReadString("sysreg", numberedKey("e", i), "");
    const std::string path = script.ReadString("sysreg", numberedKey("p", i), "");
    if (!logCreatedKey(run, i, outermostMissingKey(run.platform, root, path)) ||
        !logValueUndo(run, i, root, path, name, data) || !logEntry(run, i, kind, path, data) ||
        !setValue(run, root, path, name, data))
      return false;
  }
  return true;
}

bool uninstallRegistration(RunContext& run) {
  const SetupScript& script = run.script();
  if (!script.ReadBool("software", "CP", true)) return true;
  const std::string key = kUninstallListKey + script.ReadString("software", "name", "_");
  run.TextLog.line("register", script.ReadString("software", "name", "_"));
  return setValueMakingKey(run, RegistryRoot::LocalMachine, key, "UninstallString", uninstallCommandLine(run)) &&
         setValue(run, RegistryRoot::LocalMachine, key, "DisplayName",
                  script.ReadString("software", "name_display", "_")) &&
         setValue(run, RegistryRoot::LocalMachine, key, "version", std::to_string(run.state.Setup.NewVersion)) &&
         programListEntry(run, key);
}

} // namespace kalvora
