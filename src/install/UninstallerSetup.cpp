#include "install/UninstallerSetup.h"

#include "install/RegistryImport.h"
#include "install/ScriptPaths.h"
#include "script/TextTable.h"
#include "script/WorkFiles.h"

namespace kalvora {

std::string uninstallerPath(const RunContext& run) { return run.WindowsDir + "\\unkalvora.exe"; }

std::string uninstallLogPath(const RunContext& run) {
  return workFilePath(run.state.Choices.TargetDir, kUninstallLogName);
}

std::string uninstallCommandLine(const RunContext& run) { return uninstallerPath(run) + " " + uninstallLogPath(run); }

namespace {

bool writeHead(RunContext& run) {
  if (!run.log("readme", "file", run.state.Run.ReadmePath) ||
      !run.log("important!", "c", "kalvora setup - (c) the kalvora authors, all rights reserved") ||
      !run.log("important!", "i1",
               "This file is needed to uninstall " +
                   run.state.Setup.SetupScript->ReadString("software", "name", "[unknown]")))
    return false;
  // Nothing above this directory is the product's: the uninstaller stops there.
  if (!run.NewRoot.empty() && !run.log("uninstall", "newroot", run.NewRoot)) return false;
  // Written again with the uninstaller's data; here already, so that a run that
  // fails before those leaves a log the rollback can act on.
  return run.log("uninstall", "directory", run.state.Choices.TargetDir);
}

} // namespace

bool openLogWithHead(RunContext& run) {
  run.Log.open(uninstallLogPath(run), run.platform);
  // The head reaches the disk in one write: a log without the target directory
  // would be refused by the uninstaller. Holding writes nothing.
  static_cast<void>(run.Log.hold(true));
  return writeHead(run) && run.succeeded(run.Log.hold(false));
}

namespace {

bool currentUninstallerPresent(RunContext& run) {
  if (!run.platform.fileExists(uninstallerPath(run))) return false;
  const auto marker = run.platform.readRegistryString(RegistryRoot::LocalMachine, kUninstallerMarkerKey, "uninstall");
  const std::int32_t version = marker ? parseScriptInteger(*marker).value_or(0) : 0;
  return version >= kUninstallerVersion;
}

// Copies or expands the uninstaller beside its place in the Windows directory;
// false when that did not produce it, an error of the expansion when that failed.
Result<bool> makeUninstaller(RunContext& run, const std::string& beside) {
  const std::string packed = run.state.Setup.SourceDir + "uninst.ex_";
  if (run.state.Setup.CompressionMode != 1) return run.platform.copyFile(packed, beside);
  // Without a fresh copy, compress.tmp would hold whatever an earlier run left.
  if (!run.platform.copyFile(packed, run.CompressTmpPath)) return false;
  run.CurrentTarget = beside; // the member is written there
  const Result<std::string> written = run.expandStaged("uninst32.ex_");
  if (!written.ok()) return written.error();
  return !written.value().empty();
}

// Made beside and then moved over the one there: until the new one is whole,
// the old one stays for the products that use it.
Status placeUninstaller(RunContext& run) {
  const std::string beside = run.WindowsDir + "\\unkalvora.new";
  const Result<bool> made = makeUninstaller(run, beside);
  if (made.ok() && made.value() && run.platform.moveFile(beside, uninstallerPath(run))) return {};
  run.platform.deleteFile(beside);
  if (!made.ok()) return made.error();
  return EFCreateError(uninstallerPath(run));
}

} // namespace

bool installUninstaller(RunContext& run) {
  if (currentUninstallerPresent(run)) return true;
  run.view.setItemLabel("uninst.exe");
  // Every product that shares the uninstaller trusts the marker: it must not
  // stand for a file that this run did not put there.
  // A medium without one is the distributor's choice; the one there stays.
  if (!run.platform.fileExists(run.state.Setup.SourceDir + "uninst.ex_")) {
    run.TextLog.line("warning", "no uninstaller from " + run.state.Setup.SourceDir + "uninst.ex_");
    return true;
  }
  // A placement that fails leaves no uninstaller to roll back with: the run ends here.
  if (!run.succeeded(placeUninstaller(run))) return false;
  run.TextLog.line("file", uninstallerPath(run));
  run.platform.writeRegistryString(RegistryRoot::LocalMachine, kUninstallerMarkerKey, "uninstall",
                                   std::to_string(kUninstallerVersion));
  return true;
}

bool importRegistryFile(RunContext& run) {
  const std::string path = run.state.Setup.SourceDir + "zsys.re_";
  if (!run.platform.fileExists(path)) return true;
  // What the import will touch is recorded before the editor runs, for the uninstaller to take back.
  int skipped = 0;
  const auto text = run.platform.readFileText(path);
  const auto values = text ? parseRegistryFile(*text, skipped) : std::nullopt;
  if (!values)
    run.TextLog.line("warning", path + " is not a registry file that can be recorded");
  else if (!logRegistryImport(run, *values) || !run.flushLog())
    return false;
  if (skipped > 0)
    run.TextLog.line("warning", std::to_string(skipped) + " lines of " + path + " cannot be recorded for the removal");
  run.TextLog.line("import", path);
  run.platform.startProgram("regedit /i" + commandLineArgument(path));
  return true;
}

namespace {

bool logUninstallerData(RunContext& run) {
  const SetupScript& script = run.script();
  if (!run.log("files", "total", "0") || !run.log("directories", "total", "0") ||
      !run.log("extensions", "total", "0") ||
      !run.log("uninstall", "versionname", script.ReadString("kalvora", "versionname", "_")) ||
      !run.log("uninstall", "version", script.ReadString("kalvora", "version", "_")))
    return false;
  const TextTable texts(script);
  for (int number : {11, 15, 10, 55, 56, 57, 58, 59, 60, 61})
    if (!run.log("language", numberedKey("l", number), texts.text(number))) return false;
  return run.log("uninstall", "name", script.ReadString("software", "name", "_")) &&
         run.log("uninstall", "language", "") && run.log("uninstall", "directory", run.state.Choices.TargetDir) &&
         run.logBool("uninstall", "ask", script.ReadBool("uninst", "ask", false));
}

} // namespace

// What the uninstaller needs beside the records: it precedes no change, so it
// reaches the disk in one write.
bool writeUninstallerData(RunContext& run) {
  static_cast<void>(run.Log.hold(true)); // holding writes nothing
  return logUninstallerData(run) && run.succeeded(run.Log.hold(false));
}

} // namespace kalvora
