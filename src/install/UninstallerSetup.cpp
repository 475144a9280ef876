#include "install/UninstallerSetup.h"

#include "install/ScriptPaths.h"
#include "script/TextTable.h"
#include "script/WorkFiles.h"

namespace kalvora {

std::string uninstallerPath(const RunContext& run) { return run.WindowsDir + "\\unkalvora.exe"; }

std::string uninstallLogPath(const RunContext& run) {
  return workFilePath(run.state.Choices.TargetDir, kUninstallLogName);
}

std::string uninstallCommandLine(const RunContext& run) { return uninstallerPath(run) + " " + uninstallLogPath(run); }

void openLogWithHead(RunContext& run) {
  run.Log.open(uninstallLogPath(run), run.platform);
  run.Log.write("readme", "file", run.state.Run.ReadmePath);
  run.Log.write("important!", "c", "kalvora setup - (c) the kalvora authors, all rights reserved");
  run.Log.write("important!", "i1",
                "This file is needed to uninstall " + run.script().ReadString("software", "name", "[unknown]"));
  // Nothing above this directory is the product's: the uninstaller stops there.
  if (!run.NewRoot.empty()) run.Log.write("uninstall", "newroot", run.NewRoot);
  // Written again with the uninstaller's data; here already, so that a run that
  // fails before those leaves a log the rollback can act on.
  run.Log.write("uninstall", "directory", run.state.Choices.TargetDir);
}

namespace {

bool currentUninstallerPresent(RunContext& run) {
  if (!run.platform.fileExists(uninstallerPath(run))) return false;
  const auto marker = run.platform.readRegistryString(RegistryRoot::LocalMachine, kUninstallerMarkerKey, "uninstall");
  const std::int32_t version = marker ? parseScriptInteger(*marker).value_or(0) : 0;
  return version >= kUninstallerVersion;
}

// Copies or expands the uninstaller into the Windows directory; false when
// that did not produce it (an older one may still be there).
bool placeUninstaller(RunContext& run) {
  const std::string packed = run.state.Setup.SourceDir + "uninst.ex_";
  if (run.state.Setup.CompressionMode != 1) return run.platform.copyFile(packed, uninstallerPath(run));
  run.platform.deleteFile(uninstallerPath(run));
  // CurrentTarget still names the uninstaller, so the member is written there.
  // Without a fresh copy, compress.tmp would hold whatever an earlier run left.
  return run.platform.copyFile(packed, run.CompressTmpPath) && !run.expandStaged("uninst32.ex_").empty();
}

} // namespace

void installUninstaller(RunContext& run) {
  if (currentUninstallerPresent(run)) return;
  run.view.setItemLabel("uninst.exe");
  // Every product that shares the uninstaller trusts the marker: it must not
  // stand for a file that this run did not put there.
  if (!placeUninstaller(run)) {
    run.TextLog.line("warning", "no uninstaller from " + run.state.Setup.SourceDir + "uninst.ex_");
    return;
  }
  run.TextLog.line("file", uninstallerPath(run));
  run.platform.writeRegistryString(RegistryRoot::LocalMachine, kUninstallerMarkerKey, "uninstall",
                                   std::to_string(kUninstallerVersion));
}

void importRegistryFile(RunContext& run) {
  const std::string path = run.state.Setup.SourceDir + "zsys.re_";
  if (run.platform.fileExists(path)) run.platform.startProgram("regedit /i" + commandLineArgument(path));
}

void writeUninstallerData(RunContext& run) {
  const SetupScript& script = run.script();
  run.Log.write("files", "total", "0");
  run.Log.write("directories", "total", "0");
  run.Log.write("extensions", "total", "0");
  run.Log.write("uninstall", "versionname", script.ReadString("kalvora", "versionname", "_"));
  run.Log.write("uninstall", "version", script.ReadString("kalvora", "version", "_"));
  const TextTable texts(script);
  for (int number : {11, 15, 10, 55, 56, 57, 58, 59, 60, 61})
    run.Log.write("language", numberedKey("l", number), texts.text(number));
  run.Log.write("uninstall", "name", script.ReadString("software", "name", "_"));
  run.Log.write("uninstall", "language", "");
  run.Log.write("uninstall", "directory", run.state.Choices.TargetDir);
  run.Log.writeBool("uninstall", "ask", script.ReadBool("uninst", "ask", false));
}

} // namespace kalvora
