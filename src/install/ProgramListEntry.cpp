#include "install/ProgramListEntry.h"

#include "install/RegistryChanges.h"
#include "install/UninstallerSetup.h"
#include "platform/NumberText.h"

namespace kalvora {
namespace {

// Windows keeps the size and the two flags as numbers, everything else as text.
bool text(RunContext& run, const std::string& keyPath, const char* name, const std::string& value) {
  if (value.empty()) return true; // nothing to show: the list leaves the column blank
  if (run.platform.writeRegistryString(RegistryRoot::LocalMachine, keyPath, name, value)) return true;
  return run.fail(ERegistryException::valueNotSet(name));
}

bool number(RunContext& run, const std::string& keyPath, const char* name, std::uint32_t value) {
  if (run.platform.writeRegistryDword(RegistryRoot::LocalMachine, keyPath, name, value)) return true;
  return run.fail(ERegistryException::valueNotSet(name));
}

// The script's value, or nothing for an empty one or the placeholder "_".
std::string scriptValue(const SetupScript& script, const char* section, const char* key) {
  const std::string value = script.ReadString(section, key, "");
  return value == "_" ? std::string() : value;
}

// YYYYMMDD, as the list of programs reads InstallDate.
std::string dateText(const DosTime& t) {
  return zeroPadded(static_cast<std::uint64_t>(t.year % 10000), 4) +
         zeroPadded(static_cast<std::uint64_t>(t.month % 100), 2) +
         zeroPadded(static_cast<std::uint64_t>(t.day % 100), 2);
}

} // namespace

std::uint32_t installedKilobytes(const InstallState& state) {
  if (state.Choices.RunFromMedium) return 0;
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(kOptionCount); ++i)
    if (state.Choices.OptionChosen[i] && state.Setup.OptionSpace[i] > 0)
      bytes += static_cast<std::uint64_t>(state.Setup.OptionSpace[i]);
  return static_cast<std::uint32_t>((bytes + 1023) / 1024);
}

bool programListEntry(RunContext& run, const std::string& keyPath) {
  const SetupScript& script = run.script();
  const std::string& target = run.state.Choices.TargetDir;
  const std::string program = scriptValue(script, "software", "run");
  return text(run, keyPath, "DisplayVersion", scriptValue(script, "kalvora", "versionname")) &&
         text(run, keyPath, "Publisher", scriptValue(script, "software", "publisher")) &&
         text(run, keyPath, "HelpLink", scriptValue(script, "software", "helplink")) &&
         text(run, keyPath, "InstallLocation", target) &&
         text(run, keyPath, "QuietUninstallString", uninstallCommandLine(run) + " /quiet") &&
         number(run, keyPath, "EstimatedSize", installedKilobytes(run.state)) &&
         text(run, keyPath, "DisplayIcon", program.empty() ? std::string() : target + "\\" + program) &&
         text(run, keyPath, "InstallDate", dateText(run.platform.localTime())) && number(run, keyPath, "NoModify", 1) &&
         number(run, keyPath, "NoRepair", 1);
}

} // namespace kalvora
