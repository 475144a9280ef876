// kvdrive: drives setup.exe through a scenario file (see tests/e2e/README.md).
// It starts the program in a medium directory, waits for its windows and
// message boxes, reads and operates its controls by their "Name" property,
// and saves screenshots. Every waiting step has a timeout; a failed step saves
// the screen, reports the line and ends the program under test.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "DriveFaults.h"
#include "Failure.h"
#include "Files.h"
#include "KillWhen.h"
#include "Process.h"
#include "Registry.h"
#include "Screen.h"
#include "Script.h"
#include "Shell.h"
#include "SystemState.h"
#include "TextSet.h"
#include "Unattended.h"
#include "WindowLookup.h"
#include "platform/Directories.h"
#include "platform/NoCase.h"

namespace kvdrive {
namespace {

struct Options {
  std::string scenario, setup, tool, media, work, shots;
  bool xScreen = false; // screenshots from the X screen (--screen x) rather than the Win32 screen DC
};

class Driver {
public:
  explicit Driver(Options options) : o_(std::move(options)) { medium_ = o_.work + "\\medium"; }
  ~Driver() {
    program_.stop();
    endShellProcesses();
  }

  int run() {
    endLeftPrograms();
    std::ifstream in(o_.scenario, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "kvdrive: cannot read %s\n", o_.scenario.c_str());
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::vector<Command> commands = parseScenario(text.str());
    for (const Command& command : commands) {
      try {
        execute(command);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s:%d: %s\n", o_.scenario.c_str(), command.line, e.what());
        reportWindows(topWindows(false));
        saveScreen(o_.shots + "\\" + baseName() + "-failure.png", nullptr, false, o_.work);
        std::fprintf(stderr, "screen saved to %s\\%s-failure.png\n", o_.shots.c_str(), baseName().c_str());
        return 1;
      }
    }
    return 0;
  }

private:
  std::string baseName() const {
    std::string name = o_.scenario.substr(o_.scenario.find_last_of("\\/") + 1);
    return name.substr(0, name.find('.'));
  }

  std::string expand(std::string word) const {
    const std::pair<const char*, std::string> vars[] = {
        {"${MEDIUM}", medium_}, {"${WORK}", o_.work},   {"${DRIVER}", selfPath()},
        {"${SHOTS}", o_.shots}, {"${MEDIA}", o_.media}, {"${PROGRAMS}", userProgramsFolder()}};
    for (const auto& [name, value] : vars)
      for (std::size_t at; (at = word.find(name)) != std::string::npos;)
        word.replace(at, std::string(name).size(), value);
    return expandTexts(word, texts_);
  }

  void need(const std::vector<std::string>& w, std::size_t minimum, const char* usage) {
    if (w.size() < minimum) throw Failure(std::string("usage: ") + usage);
  }

  void execute(const Command& command) {
    std::vector<std::string> w;
    for (const std::string& word : command.words)
      w.push_back(expand(word));
    const std::string& op = w[0];
    if (op == "timeout") {
      need(w, 2, "timeout SECONDS");
      timeoutMs_ = std::stoi(w[1]) * 1000;
    } else if (op == "texts") {
      need(w, 3, "texts LANGUAGE PRODUCT");
      texts_ = builtinTextSet(w[1], w[2]);
    } else if (op == "build") {
      need(w, 2, "build PROJECT");
      buildMedium(w[1]);
    } else if (op == "put") {
      need(w, 3, "put FILE SOURCE");
      copyFile(o_.media + "\\" + w[2], medium_ + "\\" + w[1]);
    } else if (op == "ini") {
      need(w, 5, "ini FILE SECTION KEY VALUE");
      const std::string file = w[1].find(':') == std::string::npos ? medium_ + "\\" + w[1] : w[1];
      if (!WritePrivateProfileStringA(w[2].c_str(), w[3].c_str(), w[4].c_str(), file.c_str()))
        throw Failure("cannot write " + w[1]);
    } else if (op == "kalvora") {
      runTool(o_.tool, std::vector<std::string>(w.begin() + 1, w.end()), medium_, o_.work, timeoutMs_);
    } else if (op == "reg-set") {
      need(w, 4, "reg-set KEY NAME VALUE");
      regSet(w[1], w[2], w[3]);
    } else if (op == "reg-delete") {
      need(w, 2, "reg-delete KEY");
      regDelete(w[1]);
    } else if (op == "expect-reg") {
      need(w, 4, "expect-reg KEY NAME VALUE");
      const std::string value = regGet(w[1], w[2]);
      if (value != w[3]) throw Failure(w[1] + " value \"" + w[2] + "\" is \"" + value + "\"");
    } else if (op == "delete") {
      need(w, 2, "delete PATH");
      const DWORD attributes = GetFileAttributesA(w[1].c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        removeTree(w[1]);
      else
        DeleteFileA(w[1].c_str());
    } else if (op == "make-dir") {
      need(w, 2, "make-dir PATH");
      if (!kalvora::createDirectories(kalvora::systemPlatform(), w[1])) throw Failure("cannot create " + w[1]);
    } else if (op == "copy") {
      need(w, 3, "copy FROM TO");
      copyFile(w[1], w[2]);
    } else if (op == "make-file") {
      need(w, 3, "make-file PATH BYTES");
      makeFile(w[1], std::stoull(w[2]));
    } else if (op == "expect-same") {
      need(w, 3, "expect-same FILE OTHER");
      if (fileBytes(w[1]) != fileBytes(w[2])) throw Failure(w[1] + " differs from " + w[2]);
    } else if (op == "expect-text") {
      need(w, 3, "expect-text FILE TEXT");
      const std::string bytes = fileBytes(w[1]);
      if (bytes != w[2]) throw Failure(w[1] + " holds \"" + visibleText(bytes) + "\"");
    } else if (op == "expect-ini") {
      need(w, 5, "expect-ini FILE SECTION KEY VALUE");
      char value[1024] = "";
      GetPrivateProfileStringA(w[2].c_str(), w[3].c_str(), "(missing)", value, sizeof value, w[1].c_str());
      if (w[4] != value) throw Failure("[" + w[2] + "] " + w[3] + " in " + w[1] + " is \"" + value + "\"");
    } else if (op == "expect-file" || op == "expect-no-file") {
      need(w, 2, "expect-file PATH");
      const bool exists = GetFileAttributesA(w[1].c_str()) != INVALID_FILE_ATTRIBUTES;
      if (exists != (op == "expect-file")) throw Failure(w[1] + (exists ? " exists" : " is missing"));
    } else if (op == "expect-link" || op == "expect-links") {
      need(w, op == "expect-link" ? 4 : 3, "expect-link PATH TARGET ARGUMENTS, expect-links FOLDER COUNT");
      const std::string fault =
          op == "expect-link" ? linkFault(w[1], w[2], w[3]) : linkCountFault(w[1], std::stoi(w[2]));
      if (!fault.empty()) throw Failure(fault);
    } else if (op == "start") {
      closeShellWindows();
      startProgram();
    } else if (op == "wait-window") {
      need(w, 2, "wait-window CLASS");
      waitFor("window " + w[1], [&] { return findForm(w[1], true) != nullptr; });
    } else if (op == "wait-box") {
      need(w, 3, "wait-box CAPTION TEXT");
      waitFor("message box \"" + visibleText(w[1]) + "\" \"" + visibleText(w[2]) + "\"",
              [&] { return (box_ = findBox(w[1], w[2])) != nullptr; });
    } else if (op == "answer") {
      need(w, 2, "answer BUTTON");
      answer(w[1]);
    } else if (op == "expect") {
      need(w, 4, "expect CLASS[.CONTROL] PROPERTY VALUE");
      expectProperty(w[1], w[2], w[3]);
    } else if (op == "expect-pixel") {
      need(w, 5, "expect-pixel CLASS X Y RRGGBB");
      expectPixel(w[1], std::stoi(w[2]), std::stoi(w[3]), w[4]);
    } else if (op == "expect-x-screen") {
      need(w, 2, "expect-x-screen FORM");
      expectXScreen(w[1]);
    } else if (op == "expect-color-in") {
      need(w, 7, "expect-color-in FORM X Y WIDTH HEIGHT RRGGBB");
      expectColorIn(
          w[1],
          {std::stoi(w[2]), std::stoi(w[3]), std::stoi(w[2]) + std::stoi(w[4]), std::stoi(w[3]) + std::stoi(w[5])},
          w[6]);
    } else if (op == "click") {
      need(w, 2, "click CLASS.CONTROL");
      PostMessageA(usableControl(w[1]), BM_CLICK, 0, 0);
    } else if (op == "type") {
      need(w, 3, "type CLASS.CONTROL TEXT");
      SendMessageTimeoutA(usableControl(w[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w[2].c_str()), SMTO_ABORTIFHUNG,
                          2000, nullptr);
    } else if (op == "choose" || op == "open") {
      need(w, 3, "choose|open CLASS.CONTROL ITEM");
      // A list that an earlier choice refills (posted, so not yet done) gets the time to show the item.
      HWND list = usableControl(w[1]);
      waitFor(w[1] + " item \"" + w[2] + "\"", [&] {
        const std::vector<std::string> items = itemsOf(list);
        return std::any_of(items.begin(), items.end(),
                           [&](const std::string& item) { return kalvora::sameNoCase(item, w[2]); });
      });
      chooseItem(list, w[2], op == "open");
    } else if (op == "key") {
      need(w, 3, "key CLASS[.CONTROL] KEY");
      pressKey(control(w[1]), w[2]);
    } else if (op == "move") {
      need(w, 4, "move TARGET X Y");
      SetWindowPos(control(w[1]), nullptr, std::stoi(w[2]), std::stoi(w[3]), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (op == "screenshot") {
      need(w, 2, "screenshot FILE [CLASS[.CONTROL]]");
      const std::string path = w[1].find(':') == std::string::npos ? o_.shots + "\\" + w[1] : w[1];
      settlePainting(topWindows(true));
      if (!saveScreen(path, w.size() > 2 ? control(w[2]) : nullptr, o_.xScreen, o_.work))
        throw Failure("cannot write " + path);
    } else if (op == "wait-exit") {
      need(w, 2, "wait-exit CODE");
      waitExit(std::stoi(w[1]));
    } else if (op == "expect-never") {
      need(w, 2, "expect-never NAME");
      observe();
      if (seen_.count(w[1])) throw Failure(w[1] + " was shown");
    } else if (op == "trace") {
      need(w, 2, "trace TEXT");
      waitFor(
          "trace \"" + w[1] + "\"", [&] { return matches(w[1], lastTrace_ = readTrace()); },
          [&] { return "the trace is \"" + lastTrace_ + "\""; });
    } else if (op == "time-mark") {
      need(w, 3, "time-mark FILE NAME");
      appendTimeMark(w[1], w[2]);
    } else if (op == "sleep") {
      need(w, 2, "sleep MILLISECONDS");
      Sleep(static_cast<DWORD>(std::stoi(w[1])));
    } else if (op == "snapshot" || op == "expect-snapshot" || op == "start-uninstall" || op == "wait-no-process" ||
               op == "remove-tree" || op == "start-command") {
      lifecycleCommand(w);
    } else if (op == "expect-no-window" || op == "expect-no-folder-window" || op == "expect-line") {
      observe();
      unattendedCommand(w, seen_);
    } else if (op == "kill-when") {
      killWhen(w, program_, timeoutMs_);
    } else if (op == "stop") {
      program_.stop();
    } else if (op == "run-beside") {
      need(w, 3, "run-beside LINE CODE");
      runBeside(w[1], std::stoi(w[2]));
    } else if (driveFaultCommand(w)) { // fill, truncate
    } else {
      throw Failure("unknown command " + op);
    }
  }

  // --- an installation's life: snapshots of the prefix and the uninstaller
  void lifecycleCommand(const std::vector<std::string>& w) {
    const std::string& op = w[0];
    need(w, 2,
         "snapshot NAME | expect-snapshot NAME [EXCEPT...] | start-uninstall PRODUCT [SWITCHES] | wait-no-process EXE");
    if (op == "remove-tree") {
      removeTree(w[1]);
    } else if (op == "start-command") {
      startCommandLine(w[1]);
    } else if (op == "snapshot") {
      snapshots_[w[1]] = SystemState::take();
    } else if (op == "expect-snapshot") {
      auto earlier = snapshots_.find(w[1]);
      if (earlier == snapshots_.end()) throw Failure("no snapshot " + w[1]);
      const auto differences =
          SystemState::take().differencesFrom(earlier->second, std::vector<std::string>(w.begin() + 2, w.end()));
      std::string listed;
      for (std::size_t i = 0; i < differences.size() && i < 30; ++i)
        listed += "\n  " + differences[i];
      if (!differences.empty())
        throw Failure(std::to_string(differences.size()) + " differences from snapshot " + w[1] + ":" + listed);
    } else if (op == "start-uninstall") {
      // The command line of the product's registration, run as the user would, with any switches given.
      const std::string command =
          regGet("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + w[1], "UninstallString");
      if (command == "(missing)") throw Failure(w[1] + " has no UninstallString");
      startCommandLine(w.size() > 2 ? command + " " + w[2] : command);
    } else {
      waitFor("no process " + w[1], [&] { return !processRunning(w[1]); });
    }
  }

  // --- the medium and the system
  // A fresh medium from media/PROJECT.kvp, built by the tree's kalvora.exe with
  // the tree's setup.exe. The old medium goes first: a scenario may have left
  // it without setup.inf, and the builder replaces only a directory holding a medium.
  void buildMedium(const std::string& project) {
    program_.stop();
    removeTree(medium_);
    SetEnvironmentVariableA("KALVORA_SETUP_EXE", o_.setup.c_str());
    runTool(o_.tool, {"build", "-q", "-o", medium_, o_.media + "\\" + project + ".kvp"}, o_.work, o_.work, timeoutMs_);
    if (GetFileAttributesA((medium_ + "\\setup.inf").c_str()) == INVALID_FILE_ATTRIBUTES)
      throw Failure("the build left no setup.inf in " + medium_);
  }

  // --- the program under test
  void startProgram() {
    const std::string trace = o_.work + "\\trace.txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("KALVORA_TRACE", trace.c_str());
    startCommandLine("\"" + medium_ + "\\setup.exe\"");
  }

  // Any program as the program under test, started in the medium directory.
  void startCommandLine(const std::string& commandLine) {
    seen_.clear();
    program_.start(commandLine, medium_, o_.work + "\\setup-output.txt");
  }

  // A second program while the one under test goes on running: waited for, its exit code checked.
  void runBeside(const std::string& commandLine, int expected) {
    Program beside;
    beside.start(commandLine, medium_, o_.work + "\\beside-output.txt");
    waitFor("the exit of " + commandLine, [&] { return beside.exited(); });
    const DWORD code = beside.exitCode();
    beside.stop();
    if (static_cast<int>(code) != expected) throw Failure(commandLine + ": exit code " + std::to_string(code));
  }

  void waitExit(int expected) {
    if (!program_.running()) throw Failure("the program was not started");
    waitFor("the program's exit", [&] { return program_.exited(); });
    const DWORD code = program_.exitCode();
    if (static_cast<int>(code) != expected) throw Failure("exit code " + std::to_string(code));
  }

  std::vector<HWND> topWindows(bool visibleOnly) const {
    return program_.running() ? topWindowsOf(program_.processId(), visibleOnly) : std::vector<HWND>();
  }

  // Remembers every window the program has shown: forms by name, boxes as "#32770:caption".
  void observe() {
    for (HWND h : topWindows(true)) {
      const std::string name = windowName(h);
      seen_.insert(!name.empty() ? name : classOf(h) + ":" + textOf(h));
    }
  }

  HWND findForm(const std::string& name, bool visibleOnly) const {
    for (HWND h : topWindows(visibleOnly))
      if (windowName(h) == name) return h;
    return nullptr;
  }

  HWND findBox(const std::string& caption, const std::string& text) const {
    for (HWND h : topWindows(true))
      if (classOf(h) == "#32770" && textOf(h) == caption && matches(text, boxText(h))) return h;
    return nullptr;
  }

  // "Tmain" names a form, "Tmain.Lbl_1" a control of it, "box" the last message box waited for.
  HWND control(const std::string& path) {
    const auto dot = path.find('.');
    const std::string formName = path.substr(0, dot);
    HWND form = formName == "box" ? box_ : findForm(formName, false);
    if (!form) throw Failure("no window " + formName);
    if (dot == std::string::npos) return form;
    const std::string name = path.substr(dot + 1);
    for (HWND child : children(form))
      if (windowName(child) == name || (formName == "box" && withoutAmpersands(textOf(child)) == name)) return child;
    throw Failure("no control " + path);
  }

  // A control the user can operate: waits until it is visible and enabled.
  HWND usableControl(const std::string& path) {
    HWND h = nullptr;
    waitFor(path + " visible and enabled", [&] {
      h = control(path);
      return IsWindowVisible(h) && IsWindowEnabled(h);
    });
    return h;
  }

  void expectProperty(const std::string& path, const std::string& name, const std::string& expected) {
    std::string actual;
    waitFor(
        path + " " + name + " \"" + visibleText(expected) + "\"",
        [&] {
          HWND h = nullptr;
          try {
            h = control(path);
          } catch (const Failure&) {
            actual = "(no such window)";
            return false;
          }
          return (actual = propertyOf(h, name)) == expected;
        },
        [&] { return "it is \"" + visibleText(actual) + "\""; });
  }

  void expectPixel(const std::string& path, int x, int y, const std::string& expected) {
    std::string actual;
    waitFor(
        path + " pixel " + std::to_string(x) + "," + std::to_string(y) + " " + expected,
        [&] { return (actual = pixelText(control(path), x, y)) == expected; }, [&] { return "it is " + actual; });
  }

  // What the user sees: the window on the X screen as it drew itself.
  void expectXScreen(const std::string& path) {
    std::string mismatch;
    waitFor(
        path + " on the X screen as it drew itself",
        [&] { return (mismatch = xScreenMismatch(control(path), o_.work)).empty(); }, [&] { return mismatch; });
  }

  // Some pixel of the client rectangle has the colour (text drawn in it, say).
  void expectColorIn(const std::string& path, RECT area, const std::string& expected) {
    const auto colour = static_cast<std::uint32_t>(std::stoul(expected, nullptr, 16));
    waitFor(path + " colour " + expected + " in " + rectText(area),
            [&] { return holdsColour(control(path), area, colour); });
  }

  void answer(const std::string& button) {
    if (!box_ || !IsWindow(box_)) throw Failure("no message box to answer");
    for (HWND child : children(box_))
      if (kalvora::sameNoCase(classOf(child), "Button") &&
          kalvora::sameNoCase(withoutAmpersands(textOf(child)), button)) {
        PostMessageA(box_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED), reinterpret_cast<LPARAM>(child));
        HWND answered = box_;
        box_ = nullptr;
        waitFor("the box to close", [&] { return !IsWindow(answered) || !IsWindowVisible(answered); });
        return;
      }
    throw Failure("the box has no button " + button);
  }

  std::string readTrace() const {
    std::ifstream in(o_.work + "\\trace.txt");
    std::string line, all;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      all += (all.empty() ? "" : " ") + line;
    }
    return all;
  }

  template <typename Done, typename Why = std::string (*)()>
  void waitFor(
      const std::string& what, Done done, Why why = [] { return std::string(); }) {
    const DWORD start = GetTickCount();
    for (;;) {
      observe();
      if (done()) return;
      if (GetTickCount() - start > static_cast<DWORD>(timeoutMs_)) {
        const std::string reason = why();
        throw Failure("timed out waiting for " + what + (reason.empty() ? "" : ": " + reason));
      }
      Sleep(25);
    }
  }

  Options o_;
  std::string medium_;
  Program program_;
  int timeoutMs_ = 20000;
  std::set<std::string> seen_;
  HWND box_ = nullptr;
  std::string lastTrace_;
  std::map<std::string, SystemState> snapshots_;
  std::map<std::string, std::string> texts_; // the set that ${lN} words name
};

} // namespace
} // namespace kvdrive

int main(int argc, char** argv) {
  using namespace kvdrive;
  if (argc == 2 && std::string(argv[1]).find("uninst.log") != std::string::npos) return actAsUninstaller(argv[1]);
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = windowsPath(argv[i + 1]);
    if (flag == "--setup")
      o.setup = value;
    else if (flag == "--tool")
      o.tool = value;
    else if (flag == "--media")
      o.media = value;
    else if (flag == "--work")
      o.work = value;
    else if (flag == "--shots")
      o.shots = value;
    else if (flag == "--scenario")
      o.scenario = value;
    else if (flag == "--screen")
      o.xScreen = std::string(argv[i + 1]) == "x";
  }
  if (o.scenario.empty() || o.setup.empty() || o.media.empty() || o.work.empty()) {
    std::fprintf(
        stderr,
        "usage: kvdrive --scenario FILE --setup EXE --media DIR --work DIR [--shots DIR] [--tool EXE] [--screen x]\n");
    return 2;
  }
  if (o.shots.empty()) o.shots = o.work;
  kalvora::createDirectories(kalvora::systemPlatform(), o.work);
  kalvora::createDirectories(kalvora::systemPlatform(), o.shots);
  return Driver(o).run();
}
