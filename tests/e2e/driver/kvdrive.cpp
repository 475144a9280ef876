// kvdrive: drives setup.exe through a scenario file (see tests/e2e/README.md).
// It starts the program in a medium directory, waits for its windows and
// message boxes, reads and operates its controls by their "Name" property,
// and saves screenshots. Every waiting step has a timeout; a failed step saves
// the screen, reports the line and ends the program under test.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "DriveFaults.h"
#include "Png.h"
#include "Script.h"
#include "Shell.h"
#include "SystemState.h"
#include "Unattended.h"
#include "XScreen.h"

namespace kvdrive {
namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string windowName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(window, "Name")));
  char name[256];
  const UINT n = atom ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
  return std::string(name, n);
}

std::string classOf(HWND window) {
  char name[256];
  const int n = GetClassNameA(window, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string textOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &got);
  text.resize(std::min<std::size_t>(got, length));
  return text;
}

std::string withoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

bool equalNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string rectText(const RECT& r) {
  std::ostringstream s;
  s << r.left << ' ' << r.top << ' ' << r.right - r.left << ' ' << r.bottom - r.top;
  return s.str();
}

std::string visibleText(const std::string& s) {
  std::string out;
  for (char c : s)
    out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

// A full Windows path: the programs the driver starts run in other directories.
std::string windowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  char full[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

// Creates a directory and its missing parents.
void makeDirectories(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

// Deletes a directory with everything in it; a missing one is no error.
// Links are removed, never followed.
void removeTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!DeleteFileA(path.c_str())) throw Failure("cannot delete " + path);
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") removeTree(path + "\\" + name);
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
  }
  if (!RemoveDirectoryA(path.c_str())) throw Failure("cannot remove " + path);
}

struct WindowSearch {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopWindow(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == s->pid && (!s->visibleOnly || IsWindowVisible(h))) s->found.push_back(h);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND h, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

struct Options {
  std::string scenario, setup, tool, media, work, shots;
  bool xScreen = false; // screenshots from the X screen (--screen x) rather than the Win32 screen DC
};

class Driver {
public:
  explicit Driver(Options options) : o_(std::move(options)) { medium_ = o_.work + "\\medium"; }
  ~Driver() {
    stopProgram();
    endShellProcesses();
  }

  int run() {
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
        reportWindows();
        saveScreen(o_.shots + "\\" + baseName() + "-failure.png", nullptr);
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
    return word;
  }

  static std::string selfPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
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
      runTool(std::vector<std::string>(w.begin() + 1, w.end()), medium_);
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
      makeDirectories(w[1]);
    } else if (op == "copy") {
      need(w, 3, "copy FROM TO");
      copyFile(w[1], w[2]);
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
      chooseItem(usableControl(w[1]), w[2], op == "open");
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
      settlePainting();
      if (!saveScreen(path, w.size() > 2 ? control(w[2]) : nullptr, o_.xScreen)) throw Failure("cannot write " + path);
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
    } else if (op == "expect-no-window" || op == "expect-line") {
      observe();
      unattendedCommand(w, seen_);
    } else if (op == "stop") {
      stopProgram();
    } else if (driveFaultCommand(w)) { // fill, truncate
    } else {
      throw Failure("unknown command " + op);
    }
  }

  // --- an installation's life: snapshots of the prefix and the uninstaller
  void lifecycleCommand(const std::vector<std::string>& w) {
    const std::string& op = w[0];
    need(w, 2, "snapshot NAME | expect-snapshot NAME [EXCEPT...] | start-uninstall PRODUCT | wait-no-process EXE");
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
      // The command line of the product's registration, run as the user would.
      const std::string command =
          regGet("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + w[1], "UninstallString");
      if (command == "(missing)") throw Failure(w[1] + " has no UninstallString");
      startCommandLine(command);
    } else {
      waitFor("no process " + w[1], [&] { return !processRunning(w[1]); });
    }
  }

  // --- the medium and the system
  // A fresh medium from media/PROJECT.kvp, built by the tree's kalvora.exe with
  // the tree's setup.exe. The old medium goes first: a scenario may have left
  // it without setup.inf, and the builder replaces only a directory holding a medium.
  void buildMedium(const std::string& project) {
    stopProgram();
    removeTree(medium_);
    SetEnvironmentVariableA("KALVORA_SETUP_EXE", o_.setup.c_str());
    runTool({"build", "-q", "-o", medium_, o_.media + "\\" + project + ".kvp"}, o_.work);
    if (GetFileAttributesA((medium_ + "\\setup.inf").c_str()) == INVALID_FILE_ATTRIBUTES)
      throw Failure("the build left no setup.inf in " + medium_);
  }

  // The bytes of a file; a missing file fails the step.
  static std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Creates a directory and its missing parents.
  static void makeDirectories(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
      CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      throw Failure("cannot create " + path);
  }

  static void copyFile(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw Failure("cannot copy " + from + " to " + to);
  }

  void runTool(const std::vector<std::string>& args, const std::string& directory) {
    std::string commandLine = "\"" + o_.tool + "\"";
    for (const std::string& a : args)
      commandLine += " \"" + a + "\"";
    const std::string output = o_.work + "\\kalvora-output.txt";
    HANDLE out = outputFile(output);
    STARTUPINFOA si = startupWith(out);
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, directory.c_str(), &si, &pi);
    CloseHandle(out);
    if (!started) throw Failure("cannot start " + o_.tool);
    const DWORD waited = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeoutMs_));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (waited != WAIT_OBJECT_0) throw Failure("kalvora did not finish in time");
    if (code != 0) {
      std::ifstream in(output);
      std::stringstream text;
      text << in.rdbuf();
      throw Failure("kalvora ended with exit code " + std::to_string(code) + ":\n" + text.str());
    }
  }

  // Programs started here write to files: a pipe inherited by a program that
  // outlives its step would keep the test runner waiting.
  static HANDLE outputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  static STARTUPINFOA startupWith(HANDLE output) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = output;
    si.hStdError = output;
    return si;
  }

  static HKEY rootOf(std::string& key) {
    const std::pair<const char*, HKEY> roots[] = {
        {"HKLM\\", HKEY_LOCAL_MACHINE}, {"HKCU\\", HKEY_CURRENT_USER}, {"HKCR\\", HKEY_CLASSES_ROOT}};
    for (const auto& [prefix, root] : roots)
      if (key.rfind(prefix, 0) == 0) {
        key.erase(0, std::string(prefix).size());
        return root;
      }
    throw Failure("registry key must start with HKLM\\, HKCU\\ or HKCR\\: " + key);
  }

  static void regSet(std::string key, const std::string& name, const std::string& value) {
    HKEY root = rootOf(key), h = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
      throw Failure("cannot create key " + key);
    RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
  }

  // A string value, or "(missing)" when the key or value is missing.
  static std::string regGet(std::string key, const std::string& name) {
    HKEY root = rootOf(key), h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "(missing)";
    char data[1024] = "";
    DWORD size = sizeof data - 1, type = 0;
    const LONG result = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (result != ERROR_SUCCESS) return "(missing)";
    return std::string(data, strnlen(data, size));
  }

  static void regDelete(std::string key) {
    HKEY root = rootOf(key);
    RegDeleteKeyA(root, key.c_str()); // a missing key is already deleted
  }

  // --- the program under test
  void startProgram() {
    const std::string trace = o_.work + "\\trace.txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("KALVORA_TRACE", trace.c_str());
    startCommandLine("\"" + medium_ + "\\setup.exe\"");
  }

  // Any program as the program under test, started in the medium directory.
  void startCommandLine(std::string commandLine) {
    stopProgram();
    seen_.clear();
    HANDLE out = outputFile(o_.work + "\\setup-output.txt");
    STARTUPINFOA si = startupWith(out);
    const BOOL started =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, medium_.c_str(), &si, &pi_);
    CloseHandle(out);
    if (!started) throw Failure("cannot start " + commandLine);
    running_ = true;
  }

  void stopProgram() {
    if (!running_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    running_ = false;
  }

  void waitExit(int expected) {
    if (!running_) throw Failure("the program was not started");
    waitFor("the program's exit", [&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; });
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    if (static_cast<int>(code) != expected) throw Failure("exit code " + std::to_string(code));
  }

  std::vector<HWND> topWindows(bool visibleOnly) const {
    WindowSearch search{pi_.dwProcessId, visibleOnly, {}};
    if (!running_) return {};
    EnumWindows(collectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

  static std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
  }

  static std::string boxText(HWND box) {
    for (HWND child : children(box))
      if (equalNoCase(classOf(child), "Static")) {
        const std::string text = textOf(child);
        if (!text.empty()) return text;
      }
    return {};
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

  static bool isComboBox(HWND h) { return equalNoCase(classOf(h), "ComboBox"); }

  // Item texts are read in UTF-16: the ANSI forms do not cross processes intact.
  static std::vector<std::string> itemsOf(HWND h) {
    const bool combo = isComboBox(h);
    const auto count = SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < count; ++i) {
      const auto length = SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      std::wstring item(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
      const auto got = SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                                    reinterpret_cast<LPARAM>(item.data()));
      item.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
      char narrow[1024] = "";
      WideCharToMultiByte(CP_ACP, 0, item.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
      items.emplace_back(narrow);
    }
    return items;
  }

  // Selects an item of a list or combo box by its text as a user's choice would,
  // and for "open" double-clicks it.
  static void chooseItem(HWND h, const std::string& text, bool open) {
    const std::vector<std::string> items = itemsOf(h);
    const auto at =
        std::find_if(items.begin(), items.end(), [&](const std::string& item) { return equalNoCase(item, text); });
    if (at == items.end()) throw Failure("no item \"" + text + "\"");
    const auto index = static_cast<WPARAM>(at - items.begin());
    const bool combo = isComboBox(h);
    SendMessageA(h, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    const WORD id = static_cast<WORD>(GetDlgCtrlID(h));
    const WORD code = combo ? CBN_SELCHANGE : open ? LBN_DBLCLK : LBN_SELCHANGE;
    if (!combo && open)
      PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
    PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(h));
  }

  std::string property(HWND h, const std::string& name) {
    if (name == "text") return textOf(h);
    if (name == "items") {
      std::string joined;
      for (const std::string& item : itemsOf(h))
        joined += (joined.empty() ? "" : "|") + item;
      return joined;
    }
    if (name == "selected") {
      const bool combo = isComboBox(h);
      const auto index = SendMessageA(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
      const std::vector<std::string> items = itemsOf(h);
      return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)] : "";
    }
    if (name == "visible") return IsWindowVisible(h) ? "true" : "false";
    if (name == "enabled") return IsWindowEnabled(h) ? "true" : "false";
    if (name == "checked") return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? "true" : "false";
    if (name == "position") return std::to_string(SendMessageA(h, PBM_GETPOS, 0, 0));
    if (name == "state") return IsIconic(h) ? "minimized" : IsZoomed(h) ? "maximized" : "normal";
    RECT r;
    if (name == "client") {
      GetClientRect(h, &r);
      return std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    if (name == "rect") {
      GetWindowRect(h, &r);
      if (GetWindowLongA(h, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
      return rectText(r);
    }
    throw Failure("unknown property " + name);
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
          return (actual = property(h, name)) == expected;
        },
        [&] { return "it is \"" + visibleText(actual) + "\""; });
  }

  void expectPixel(const std::string& path, int x, int y, const std::string& expected) {
    std::string actual;
    waitFor(
        path + " pixel " + std::to_string(x) + "," + std::to_string(y) + " " + expected,
        [&] {
          POINT p{x, y};
          ClientToScreen(control(path), &p);
          HDC screen = GetDC(nullptr);
          const COLORREF c = GetPixel(screen, p.x, p.y);
          ReleaseDC(nullptr, screen);
          char text[8];
          std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
          return (actual = text) == expected;
        },
        [&] { return "it is " + actual; });
  }

  std::vector<std::uint8_t> xScreenOf(const RECT& r) const {
    try {
      return captureXScreen(r, o_.work);
    } catch (const std::runtime_error& e) {
      throw Failure(e.what());
    }
  }

  // What the user sees: a grid of points of the window on the X screen has the
  // colours of the window's own picture (which Wine keeps even when the X
  // screen shows nothing of it).
  void expectXScreen(const std::string& path) {
    std::string mismatch;
    waitFor(
        path + " on the X screen as it drew itself",
        [&] {
          RECT r;
          GetWindowRect(control(path), &r);
          const std::vector<std::uint8_t> own = capture(r), shown = xScreenOf(r);
          const int width = r.right - r.left, height = r.bottom - r.top;
          int differing = 0;
          for (int gy = 1; gy < 8; ++gy)
            for (int gx = 1; gx < 8; ++gx) {
              const int x = width * gx / 8, y = height * gy / 8;
              const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
              if (std::equal(own.begin() + i, own.begin() + i + 3, shown.begin() + i)) continue;
              if (differing++ == 0) {
                char text[80];
                std::snprintf(text, sizeof text, "at %d,%d the X screen shows %02X%02X%02X, the window %02X%02X%02X", x,
                              y, shown[i], shown[i + 1], shown[i + 2], own[i], own[i + 1], own[i + 2]);
                mismatch = text;
              }
            }
          if (differing) mismatch = std::to_string(differing) + " of 49 points differ; " + mismatch;
          return differing == 0;
        },
        [&] { return mismatch; });
  }

  // Some pixel of the client rectangle has the colour (text drawn in it, say).
  void expectColorIn(const std::string& path, RECT area, const std::string& expected) {
    const auto colour = static_cast<std::uint32_t>(std::stoul(expected, nullptr, 16));
    waitFor(path + " colour " + expected + " in " + rectText(area), [&] {
      POINT origin{area.left, area.top};
      ClientToScreen(control(path), &origin);
      const int width = area.right - area.left, height = area.bottom - area.top;
      const std::vector<std::uint8_t> rgb = capture({origin.x, origin.y, origin.x + width, origin.y + height});
      for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if ((static_cast<std::uint32_t>(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]) == colour) return true;
      return false;
    });
  }

  void answer(const std::string& button) {
    if (!box_ || !IsWindow(box_)) throw Failure("no message box to answer");
    for (HWND child : children(box_))
      if (equalNoCase(classOf(child), "Button") && equalNoCase(withoutAmpersands(textOf(child)), button)) {
        PostMessageA(box_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED), reinterpret_cast<LPARAM>(child));
        HWND answered = box_;
        box_ = nullptr;
        waitFor("the box to close", [&] { return !IsWindow(answered) || !IsWindowVisible(answered); });
        return;
      }
    throw Failure("the box has no button " + button);
  }

  static void pressKey(HWND h, const std::string& key) {
    static const std::map<std::string, int> names = {{"Escape", VK_ESCAPE}, {"Enter", VK_RETURN}, {"Tab", VK_TAB},
                                                     {"F3", VK_F3},         {"F4", VK_F4},        {"Space", VK_SPACE}};
    auto it = names.find(key);
    const int vk = it != names.end() ? it->second : std::stoi(key);
    PostMessageA(h, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    PostMessageA(h, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
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

  // Benchmarks time the steps between two marks: NAME and the driver's clock in seconds.
  static void appendTimeMark(const std::string& path, const std::string& name) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    std::ofstream out(path, std::ios::app);
    out << name << " " << std::fixed << static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart)
        << "\n";
    if (!out) throw Failure("cannot write " + path);
  }

  void reportWindows() {
    for (HWND h : topWindows(false)) {
      std::fprintf(stderr, "  window %s class %s \"%s\" %s\n", windowName(h).c_str(), classOf(h).c_str(),
                   visibleText(textOf(h)).c_str(), IsWindowVisible(h) ? "visible" : "hidden");
      for (HWND c : children(h))
        std::fprintf(stderr, "    %s (%s) \"%s\" %s\n", windowName(c).c_str(), classOf(c).c_str(),
                     visibleText(textOf(c)).c_str(), IsWindowVisible(c) ? "visible" : "hidden");
    }
  }

  // A rectangle of the screen as RGB bytes, top row first.
  static std::vector<std::uint8_t> capture(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const auto* pixel = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
      rgb[i * 3] = pixel[i * 4 + 2];
      rgb[i * 3 + 1] = pixel[i * 4 + 1];
      rgb[i * 3 + 2] = pixel[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rgb;
  }

  // The screen, or one window's rectangle of it, as PNG.
  // Paints every window of the program now, so that a screenshot shows the
  // state the last step made rather than a frame still being drawn.
  void settlePainting() const {
    for (HWND window : topWindows(true)) {
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    Sleep(150);
  }

  bool saveScreen(const std::string& path, HWND window, bool xScreen = false) const {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window) GetWindowRect(window, &r);
    const std::vector<std::uint8_t> rgb = xScreen ? xScreenOf(r) : capture(r);
    return !rgb.empty() && writePng(path, r.right - r.left, r.bottom - r.top, rgb);
  }

  Options o_;
  std::string medium_;
  PROCESS_INFORMATION pi_{};
  bool running_ = false;
  int timeoutMs_ = 20000;
  std::set<std::string> seen_;
  HWND box_ = nullptr;
  std::string lastTrace_;
  std::map<std::string, SystemState> snapshots_;
};

// Stand-in for an installed copy's uninstaller: records its command line in C:\temp\uninstaller-ran.txt.
int actAsUninstaller(const char* commandLine) {
  CreateDirectoryA("C:\\temp", nullptr);
  FILE* f = std::fopen("C:\\temp\\uninstaller-ran.txt", "w");
  if (!f) return 1;
  std::fputs(commandLine, f);
  return std::fclose(f) == 0 ? 0 : 1;
}

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
  makeDirectories(o.work);
  makeDirectories(o.shots);
  return Driver(o).run();
}
