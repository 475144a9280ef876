#include "uninstall/Uninstaller.h"

#include <string_view>

#include "install/SetupLog.h"
#include "platform/CommandLineWords.h"
#include "platform/NoCase.h"
#include "uninstall/FirstLogWrite.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {
namespace {

constexpr const char* kCaption = "kalvora";
constexpr const char* kUsage =
    "Usage: unkalvora.exe LOGFILE [/quiet] [/log=FILE]\r\rLOGFILE is the uninstall log uninst.log in the setup "
    "directory of the installed product; /quiet (or /silent, /S) removes without a question or a window; "
    "/log=FILE also writes the removal's log to FILE. Switches start with / or -.\r\rExit codes: 0 everything "
    "removed, 1 something left or declined, 2 bad command line or log, 1618 another setup or uninstaller is running, "
    "1603 ended at once.";

std::string trimmed(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isSwitch(const std::string& word) { return !word.empty() && (word.front() == '/' || word.front() == '-'); }

// /quiet, /silent and /S, with "/" or "-", as setup.exe and other uninstallers take them.
bool isQuietSwitch(const std::string& word) {
  if (!isSwitch(word)) return false;
  const std::string name = lowerCase(word.substr(1));
  return name == "quiet" || name == "silent" || name == "s";
}

// Whether the line asks for no window, so that even a bad line shows none.
bool asksQuiet(const std::string& commandLine) {
  const auto words = splitCommandLine(commandLine);
  if (!words) return false;
  for (const CommandLineWord& word : *words)
    if (isQuietSwitch(word.text)) return true;
  return false;
}

} // namespace

std::optional<UninstallArguments> parseUninstallArguments(const std::string& commandLine) {
  const auto words = splitCommandLine(commandLine);
  if (!words) return std::nullopt;
  UninstallArguments args;
  std::size_t end = commandLine.size();
  // The switches are the last words; everything before them is the log's path.
  for (auto word = words->rbegin(); word != words->rend() && isSwitch(word->text); ++word) {
    const std::string name = lowerCase(word->text.substr(1));
    if (isQuietSwitch(word->text))
      args.silent = true;
    else if (name.rfind("log=", 0) == 0 && name.size() > 4 && !args.copyLog)
      args.copyLog = word->text.substr(5);
    else
      return std::nullopt;
    end = word->begin;
  }
  std::string rest = trimmed(commandLine.substr(0, end));
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  if (rest.empty() || isSwitch(rest) || rest.find('"') != std::string::npos) return std::nullopt;
  args.logPath = rest;
  return args;
}

int runUninstaller(Platform& platform, const std::string& commandLine, UninstallWindow& window) {
  SetupLog textLog;
  const std::string textLogPath = platform.tempDirectory() + "\\unkalvora.log";
  textLog.open(textLogPath, platform);
  const auto args = parseUninstallArguments(commandLine);
  if (args && args->copyLog) textLog.alsoWriteTo(platform.openFile(*args->copyLog, OpenMode::Create));
  textLog.line("start", "unkalvora " + commandLine);
  if (args && args->copyLog && !textLog.copying()) textLog.line("error", "cannot write " + *args->copyLog);

  if (!args) {
    textLog.line("error", "bad command line");
    if (!asksQuiet(commandLine)) platform.messageBox(kUsage, kCaption, MessageButtons::Ok, MessageIcon::Error);
    return kBadInput;
  }
  auto fail = [&](const std::string& why) {
    textLog.line("error", why);
    if (!args->silent)
      platform.messageBox("Nothing was removed: " + why + ".", kCaption, MessageButtons::Ok, MessageIcon::Error);
    return kBadInput;
  };
  if (!platform.takeInstallerLock()) {
    textLog.line("error", "another setup or uninstaller is running; nothing was removed");
    if (!args->silent)
      platform.messageBox("Another setup or uninstaller is running.\rPlease start the removal again when it has ended.",
                          kCaption, MessageButtons::Ok, MessageIcon::Exclamation);
    return kAnotherInstaller;
  }
  if (settleFirstLogWrite(platform, args->logPath, platform.windowsDirectory()) == FirstLogWrite::Removed) {
    textLog.line("removed", "the log and work directory of a setup stopped before its log was whole");
    if (!args->silent)
      platform.messageBox("The setup was stopped before it had installed anything; what it had begun is removed.",
                          kCaption, MessageButtons::Ok, MessageIcon::Information);
    return kRemovedAll;
  }
  const auto records = readUninstallRecords(platform, args->logPath);
  if (!records) return fail("there is no uninstall log " + args->logPath);
  if (const auto why = refusedTarget(*records, args->logPath, platform.windowsDirectory())) return fail(*why);

  if (!args->silent && records->ask &&
      platform.messageBox(records->text(55), kCaption, MessageButtons::YesNo, MessageIcon::Exclamation) !=
          MessageResult::Yes) {
    textLog.line("declined", "nothing was removed");
    return kLeftSome;
  }

  RemovalReport report(textLog);
  RemovalProgress quiet;
  if (!args->silent) window.open(records->text(56));
  Removal(platform, *records, report, args->silent ? quiet : window).run();
  if (!args->silent) window.close();
  textLog.line("done", std::to_string(report.removedCount()) + " removed, " +
                           std::to_string(report.leftItems().size()) + " left");
  if (!args->silent)
    platform.messageBox(summaryText(report, records->text(61), records->text(60), textLogPath), kCaption,
                        MessageButtons::Ok, report.complete() ? MessageIcon::Information : MessageIcon::Exclamation);
  return report.complete() ? kRemovedAll : kLeftSome;
}

} // namespace kalvora
