// Runs a whole installation on the in-memory platform from a fuzzed setup.inf
// and a fuzzed volume: the first two bytes give the script's length, the rest
// is the volume (also offered as the packed uninstaller). Whatever they hold,
// the run ends (normally, with a kalvora::Exception, or at a volume prompt
// answered with Cancel) and nothing is written outside the target, the Windows
// directory, the medium and the places a script may change by design: the INI
// files it names and the DOS start-up files with their backups in C:\.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "install/AssociationStage.h"
#include "install/InstallRun.h"
#include "install/ProgramGroup.h"
#include "install/SystemChanges.h"
#include "platform/MemoryPlatform.h"
#include "platform/Paths.h"

namespace {

using namespace kalvora;

class Medium : public MemoryPlatform {
public:
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    MemoryPlatform::messageBox(text, caption, buttons, icon);
    return buttons == MessageButtons::OkCancel ? MessageResult::Cancel : MessageResult::Ok;
  }
};

void fault(const char* what, const std::string& path) {
  std::fprintf(stderr, "%s: %s\n", what, path.c_str());
  std::abort();
}

// The cancel confirmation is confirmed; the bars must stay within 0 to 100.
class QuietView : public InstallView {
public:
  explicit QuietView(Platform& platform) : platform_(platform) {}
  void moveTop(int) override {}
  void setCaption(const std::string&) override {}
  void setItemLabel(const std::string&) override {}
  void hideItemLabel() override {}
  void setItemProgress(int percent) override { check(percent); }
  void setRunProgress(int percent) override { check(percent); }
  void disableExit() override {}
  void showCancelConfirmation() override { platform_.requestQuit(); }

private:
  static void check(int percent) {
    if (percent < 0 || percent > 100) fault("bar out of range", std::to_string(percent));
  }
  Platform& platform_;
};

class Stages : public RunStages {
public:
  bool associations(RunContext& run) override { return associationStage(run); }
  bool programGroup(RunContext& run, bool fromMedium) override {
    return programGroupStage(run, fromMedium, GroupDelivery::ProgramManager);
  }
  bool systemChanges(RunContext& run) override { return kalvora::systemChanges(run); }
  void completion(RunContext&) override {}
};

bool startsWith(const std::string& key, const std::string& root) { return key.rfind(root, 0) == 0; }

// key: a path as MemoryPlatform::keyOf gives it (upper case, with its drive).
bool allowed(const std::string& key, const std::set<std::string>& iniFiles) {
  // Windows takes a part of dots and blanks alone ("..", ". .") as a climb.
  for (std::size_t begin = 0; begin < key.size();) {
    const std::size_t end = std::min(key.find('\\', begin), key.size());
    const std::string part = key.substr(begin, end - begin);
    if (part.size() > 1 && part.find_first_not_of(". ") == std::string::npos) return false;
    begin = end + 1;
  }
  for (const char* root : {"C:\\APP\\", "C:\\WINDOWS\\", "D:\\"})
    if (startsWith(key, root)) return true;
  if (key == "C:\\APP" || key == "C:\\OTHER\\KEEP.TXT") return true; // the second is checked on its own
  if (startsWith(key, "C:\\") && key.rfind('\\') == 2) return true;  // start-up files and their backups
  for (const std::string& ini : iniFiles)
    if (key == ini || startsWith(ini, key + "\\")) return true;
  return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t scriptLength = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
  const std::string script(reinterpret_cast<const char*>(data) + 2, scriptLength);
  const std::string volume(reinterpret_cast<const char*>(data) + 2 + scriptLength, size - 2 - scriptLength);

  Medium p;
  p.putFile("D:\\setup.inf", script);
  p.putFile("D:\\zdata_01.dsk", volume);
  p.putFile("D:\\uninst.ex_", volume);
  p.putDirectory("C:\\WINDOWS\\Start Menu\\Programs");
  p.setProgramsFolders("C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Start Menu\\Programs");
  p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n");
  p.putFile("C:\\Other\\keep.txt", "keep");
  p.limitWrites(1 << 20); // a chunk may ask for gigabytes: the disk fills first

  InstallState state;
  state.Setup.SourceDir = "D:\\";
  state.Setup.SetupScript = std::make_unique<SetupScript>("D:\\setup.inf", p);
  state.Choices.TargetDir = "C:\\App";
  state.Choices.ProgramGroup = "Tool";
  state.Run.Pending = true;
  state.Choices.ProgressTotal = 1000;
  state.Setup.CompressionMode = (size & 1) ? 1 : 0;
  for (std::size_t i = 0; i < state.Choices.OptionChosen.size(); ++i)
    state.Choices.OptionChosen[i] = ((size >> (i + 1)) & 1) != 0 || i == 0;
  QuietView view(p);
  Stages stages;
  InstallRun run(state, p, view, stages);
  static_cast<void>(run.FormActivate()); // an error ends the run; what it left is checked below

  std::set<std::string> iniFiles;
  for (int i = 1; i <= 4; ++i) {
    const std::string name = p.readProfileString("D:\\setup.inf", "ini_" + std::to_string(i), "name", "");
    if (name.empty()) continue;
    // As written, and as Windows resolves it (the run makes the directory of the latter).
    iniFiles.insert(p.keyOf(name));
    iniFiles.insert(p.keyOf(withoutDotParts(name)));
  }
  for (const std::string& file : p.listFiles())
    if (!allowed(p.keyOf(file), iniFiles)) fault("written outside", file);
  for (const std::string& dir : p.createdDirectories())
    if (!allowed(p.keyOf(dir), iniFiles)) fault("directory made outside", dir);
  if (p.fileContent("C:\\Other\\keep.txt") != "keep") fault("a file of others changed", "C:\\Other\\keep.txt");
  return 0;
}
