#include "uninstall/Uninstaller.h"

#include <string_view>

#include "install/SetupLog.h"
#include "platform/NoCase.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {
namespace {

constexpr const char* kCaption = "kalvora";
constexpr const char* kUsage = "Usage: unkalvora.exe LOGFILE [/silent]\r\rLOGFILE is the uninstall log "
                               "uninst.log in the setup directory of the installed product.";

std::string trimmed(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

constexpr std::string_view kSilent = "/silent";

// The switch as the last word (after a blank or a closing quote).
bool endsWithSwitch(const std::string& text, std::string_view name) {
  if (!endsWithNoCase(text, std::string(name))) return false;
  const std::size_t at = text.size() - name.size();
  return at == 0 || std::string_view(" \t\"").find(text[at - 1]) != std::string_view::npos;
}

} // namespace

std::optional<UninstallArguments> parseUninstallArguments(const std::string& commandLine) {
  UninstallArguments args;
  std::string rest = trimmed(commandLine);
  if (endsWithSwitch(rest, kSilent)) {
    args.silent = true;
    rest = trimmed(rest.substr(0, rest.size() - kSilent.size()));
  }
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  if (rest.empty() || rest.front() == '/' || rest.find('"') != std::string::npos) return std::nullopt;
  args.logPath = rest;
  return args;
}

int runUninstaller(Platform& platform, const std::string& commandLine, UninstallWindow& window) {
  SetupLog textLog;
  const std::string textLogPath = platform.tempDirectory() + "\\unkalvora.log";
  textLog.open(textLogPath, platform);
  textLog.line("start", "unkalvora " + commandLine);

  const auto args = parseUninstallArguments(commandLine);
  if (!args) {
    textLog.line("error", "bad command line");
    platform.messageBox(kUsage, kCaption, MessageButtons::Ok, MessageIcon::Error);
    return kBadInput;
  }
  auto fail = [&](const std::string& why) {
    textLog.line("error", why);
    if (!args->silent)
      platform.messageBox("Nothing was removed: " + why + ".", kCaption, MessageButtons::Ok, MessageIcon::Error);
    return kBadInput;
  };
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
