#include "app/StartUp.h"

#include "install/PendingRegistration.h"
#include "script/TextTable.h"
#include "script/WorkFiles.h"

namespace kalvora {
namespace {

constexpr int kScriptFormatVersion = 220;
constexpr std::size_t kUninstallLogSuffixLength = workFileSuffixLength(kUninstallLogName); // "\setup\uninst.log"
const char* const kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Keys are built by appending: GCC 12 misreports `"x" + std::to_string(n)` under -Wrestrict.
std::string numberedKey(const char* prefix, int n, const char* suffix = "") {
  std::string key = prefix;
  key += std::to_string(n);
  key += suffix;
  return key;
}

std::string optionKey(int n, const char* suffix) { return numberedKey("Opt", n, suffix); }

} // namespace

std::string sourceDirOf(const std::string& programPath) {
  const auto cut = programPath.find_last_of("\\:");
  std::string dir = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
  if (dir.size() >= 2 && dir.back() == '\\' && dir[dir.size() - 2] != ':' && dir[dir.size() - 2] != '\\')
    dir.pop_back();
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

std::int32_t installedVersionFrom(const std::optional<std::string>& text) {
  if (!text) return -1;
  return parseScriptInteger(*text).value_or(-1);
}

std::string targetDirFromUninstallString(const std::string& uninstallString) {
  const auto blank = uninstallString.find(' ');
  const std::size_t begin = blank == std::string::npos ? 0 : blank + 1;
  const std::size_t rest = uninstallString.size() - begin;
  if (rest <= kUninstallLogSuffixLength) return {};
  return uninstallString.substr(begin, rest - kUninstallLogSuffixLength);
}

StartUpOutcome StartUp::run() {
  state_.Run.GroupItemsCreated = false;
  state_.Setup.SourceDir = sourceDirOf(platform_.programPath());
  if (!openScript()) return StartUpOutcome::EndProgram;
  checkFormatVersion();
  readTextsAndPictures();
  if (undoInterruptedRun() == StartUpOutcome::EndProgram) return StartUpOutcome::EndProgram;
  findInstalledCopy();
  reportInstalledVersion();
  proposeTargetDir();
  if (handleOldCopy() == StartUpOutcome::EndProgram) return StartUpOutcome::EndProgram;
  readOptions();
  computeTotals();
  state_.Run.Pending = true;
  state_.LayoutDone = false;
  return StartUpOutcome::Continue;
}

bool StartUp::openScript() {
  const std::string path = state_.Setup.SourceDir + "setup.inf";
  if (!platform_.fileExists(path)) {
    platform_.messageBox("File setup.inf not found.\rAsk your software-distributor for help.", "Error",
                         MessageButtons::Ok, MessageIcon::Error);
    return false;
  }
  state_.Setup.SetupScript = std::make_unique<SetupScript>(path, platform_);
  // The start-up reads about a hundred keys: from the file read once, not
  // through the system's INI calls, which open the file for every key.
  script_ = state_.Setup.SetupScript->readOnce();
  return true;
}

void StartUp::checkFormatVersion() {
  if (script_->ReadInteger("kalvora", "version", 1) != kScriptFormatVersion)
    platform_.messageBox("There is a conflict with setup.inf.\rOperation may fail.", "kalvora", MessageButtons::Ok,
                         MessageIcon::None);
}

void StartUp::readTextsAndPictures() {
  const SetupScript& script = *script_;
  const TextTable texts(script);
  for (int n = 1; n <= kTextCount; ++n)
    if (n <= 28 || (n >= 48 && n <= 54))
      state_.Setup.TextTable[static_cast<std::size_t>(n)] = texts.text(numberedKey("l", n));
  state_.Setup.WelcomeNote = script.ReadString("leader", "Lbl_2", "");
  state_.Setup.BackPicture = state_.Setup.SourceDir + script.ReadString("main", "back", "_");
  state_.Setup.InfoPicture = state_.Setup.SourceDir + script.ReadString("main", "info", "_");
  state_.Setup.InfoText = script.ReadString("main", "text", "_");
  state_.Setup.LogoPicture = state_.Setup.SourceDir + script.ReadString("main", "logo", "_");
  for (std::size_t i = 0; i < state_.Setup.TitleLines.size(); ++i)
    state_.Setup.TitleLines[i] = script.ReadString("main", numberedKey("l", static_cast<int>(i) + 1), "");
  state_.Setup.WizardPicture = state_.Setup.SourceDir + script.ReadString("leader", "image", "_");
  state_.Setup.WelcomeNoteColor = script.ReadInteger("leader", "Lbl2_color", 0);
}

std::string interruptedRunQuestion(const std::string& productName) {
  return "An earlier installation of " + productName +
         " was stopped before its end.\rIts remains must be removed before it is installed again.\r"
         "Remove them now?";
}

StartUpOutcome StartUp::undoInterruptedRun() {
  const std::string name = script_->ReadString("software", "name", "noname");
  const std::optional<std::string> command = pendingUninstallString(platform_, name);
  if (!command) return StartUpOutcome::Continue;
  if (asks_ && platform_.messageBox(interruptedRunQuestion(script_->ReadString("software", "name_display", name)),
                                    "kalvora", MessageButtons::YesNo, MessageIcon::Exclamation) != MessageResult::Yes)
    return StartUpOutcome::EndProgram;
  // Waited for: the installation that follows must not meet the remains.
  // The uninstaller keeps the registration while anything it names stays.
  // Installing over what stays would mix two runs in one log: the program ends.
  if (platform_.runHiddenProgram(*command + " /silent") && !pendingUninstallString(platform_, name))
    return StartUpOutcome::Continue;
  if (asks_)
    platform_.messageBox("The remains could not be removed completely: run " + *command + " to see what is left.",
                         "kalvora", MessageButtons::Ok, MessageIcon::Error);
  return StartUpOutcome::EndProgram;
}

void StartUp::findInstalledCopy() {
  const std::string key = kUninstallKey + script_->ReadString("software", "name", "noname");
  state_.Setup.InstalledUninstallString =
      platform_.readRegistryString(RegistryRoot::LocalMachine, key, "UninstallString").value_or("");
  state_.Setup.InstalledVersion =
      installedVersionFrom(platform_.readRegistryString(RegistryRoot::LocalMachine, key, "version"));
}

void StartUp::reportInstalledVersion() {
  const TextTable texts(*script_);
  state_.Setup.NewVersion = script_->ReadInteger("vercheck", "version", 0);
  if (state_.Setup.NewVersion < state_.Setup.InstalledVersion)
    platform_.messageBox(texts.text("l63"), "kalvora", MessageButtons::Ok, MessageIcon::None);
  if (state_.Setup.NewVersion == state_.Setup.InstalledVersion)
    platform_.messageBox(texts.text("l64"), "kalvora", MessageButtons::Ok, MessageIcon::None);
}

void StartUp::proposeTargetDir() {
  const SetupScript& script = *script_;
  if (!script.ReadBool("vercheck", "take", true))
    state_.Choices.TargetDir = script.ReadString("directories", "d0", "_");
  else if (!state_.Setup.InstalledUninstallString.empty())
    state_.Choices.TargetDir = targetDirFromUninstallString(state_.Setup.InstalledUninstallString);
  else
    state_.Choices.TargetDir = script.ReadString("directories", "d0", "");
}

StartUpOutcome StartUp::handleOldCopy() {
  if (state_.Setup.InstalledUninstallString.empty() || state_.Setup.NewVersion <= state_.Setup.InstalledVersion)
    return StartUpOutcome::Continue;
  const TextTable texts(*script_);
  const std::int32_t old = script_->ReadInteger("vercheck", "old", 0);
  if ((old == 1 || old == 2) && removeOldCopy_) {
    state_.Choices.RemoveOldCopy = true;
    return removeOldCopy_(state_.Setup.InstalledUninstallString) ? StartUpOutcome::Continue
                                                                 : StartUpOutcome::EndProgram;
  }
  switch (old) {
  case 1:
    state_.Choices.RemoveOldCopy = platform_.messageBox(texts.text("l65"), "kalvora", MessageButtons::YesNo,
                                                        MessageIcon::None) == MessageResult::Yes;
    if (*state_.Choices.RemoveOldCopy) platform_.startProgram(state_.Setup.InstalledUninstallString);
    return StartUpOutcome::Continue;
  case 2:
    if (platform_.messageBox(texts.text("l66"), "kalvora", MessageButtons::OkCancel, MessageIcon::None) ==
        MessageResult::Ok)
      platform_.startProgram(state_.Setup.InstalledUninstallString);
    return StartUpOutcome::EndProgram;
  default: return StartUpOutcome::Continue;
  }
}

void StartUp::readOptions() {
  const SetupScript& s = *script_;
  state_.Choices.ProgramGroup = s.ReadString("software", "prggrp", "");
  for (int n = 1; n <= kOptionCount; ++n)
    state_.Setup.OptionName[static_cast<std::size_t>(n - 1)] = s.ReadString("software", optionKey(n, "_name"), "");
  state_.Setup.MinimalOffered = s.ReadBool("software", "o_min", false);
  state_.Setup.CdOffered = s.ReadBool("software", "o_cd", false);
  state_.Setup.CustomOffered = s.ReadBool("software", "o_custom", false);
  state_.Setup.StandardOffered = s.ReadBool("software", "o_standard", false);
  auto readFlags = [&](std::array<bool, kOptionCount>& flags, const char* suffix) {
    for (int n = 1; n <= kOptionCount; ++n)
      flags[static_cast<std::size_t>(n - 1)] = s.ReadBool("software", optionKey(n, suffix), false);
  };
  if (state_.Setup.CustomOffered) {
    state_.Setup.FirstOptionLocked = s.ReadBool("software", "Opt1_locked", true);
    readFlags(state_.Setup.OptionInCustom, "_custom");
  }
  if (state_.Setup.MinimalOffered) readFlags(state_.Setup.OptionInMinimal, "_min");
  if (state_.Setup.StandardOffered) readFlags(state_.Setup.OptionInStandard, "_standard");
  readFlags(state_.Setup.OptionGroupItem, "_prgitem");
  for (int n = 1; n <= kOptionCount; ++n)
    state_.Setup.OptionSpace[static_cast<std::size_t>(n - 1)] = s.ReadInteger("software", optionKey(n, "_space"), 0);
}

void StartUp::computeTotals() {
  // Plain signed 32-bit sums, wrapping as the script's figures dictate.
  auto sum = [&](bool offered, const std::array<bool, kOptionCount>& members) {
    std::uint32_t total = 0;
    if (offered)
      for (std::size_t i = 0; i < kOptionCount; ++i)
        if (members[i]) total += static_cast<std::uint32_t>(state_.Setup.OptionSpace[i]);
    return total;
  };
  std::uint32_t min = sum(state_.Setup.MinimalOffered, state_.Setup.OptionInMinimal);
  std::uint32_t custom = sum(state_.Setup.CustomOffered, state_.Setup.OptionInCustom);
  std::uint32_t standard = sum(state_.Setup.StandardOffered, state_.Setup.OptionInStandard);
  state_.Setup.CompressionMode = script_->ReadInteger("compression", "mode", 0);
  state_.Setup.CompressionSize = script_->ReadInteger("compression", "size", 0);
  if (state_.Setup.CompressionMode != 0) {
    const auto extra = static_cast<std::uint32_t>(state_.Setup.CompressionSize);
    min += extra;
    custom += extra;
    standard += extra;
  }
  state_.Setup.TotalMin = static_cast<std::int32_t>(min);
  state_.Setup.TotalCustom = static_cast<std::int32_t>(custom);
  state_.Setup.TotalStandard = static_cast<std::int32_t>(standard);
}

} // namespace kalvora
