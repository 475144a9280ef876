#include "app/StartUp.h"

#include "script/TextTable.h"

namespace kalvora {
namespace {

constexpr int kScriptFormatVersion = 220;
constexpr std::size_t kUninstallLogSuffixLength = 17; // "\setup\uninst.log"
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
  state_.GroupItemsCreated = false;
  state_.SourceDir = sourceDirOf(platform_.programPath());
  if (!openScript()) return StartUpOutcome::EndProgram;
  checkFormatVersion();
  readTextsAndPictures();
  findInstalledCopy();
  reportInstalledVersion();
  proposeTargetDir();
  if (handleOldCopy() == StartUpOutcome::EndProgram) return StartUpOutcome::EndProgram;
  readOptions();
  computeTotals();
  state_.RunPending = true;
  state_.LayoutDone = false;
  return StartUpOutcome::Continue;
}

bool StartUp::openScript() {
  const std::string path = state_.SourceDir + "setup.inf";
  if (!platform_.fileExists(path)) {
    platform_.messageBox("File setup.inf not found.\rAsk your software-distributor for help.", "Error",
                         MessageButtons::Ok, MessageIcon::Error);
    return false;
  }
  state_.SetupScript = std::make_unique<SetupScript>(path, platform_);
  return true;
}

void StartUp::checkFormatVersion() {
  if (state_.SetupScript->ReadInteger("kalvora", "version", 1) != kScriptFormatVersion)
    platform_.messageBox("There is a conflict with setup.inf.\rOperation may fail.", "kalvora", MessageButtons::Ok,
                         MessageIcon::None);
}

void StartUp::readTextsAndPictures() {
  const SetupScript& script = *state_.SetupScript;
  const TextTable texts(script);
  for (int n = 1; n <= kTextCount; ++n)
    if (n <= 28 || (n >= 48 && n <= 54))
      state_.TextTable[static_cast<std::size_t>(n)] = texts.text(numberedKey("l", n));
  state_.WelcomeNote = script.ReadString("leader", "Lbl_2", "");
  state_.BackPicture = state_.SourceDir + script.ReadString("main", "back", "_");
  state_.InfoPicture = state_.SourceDir + script.ReadString("main", "info", "_");
  state_.InfoText = script.ReadString("main", "text", "_");
  state_.LogoPicture = state_.SourceDir + script.ReadString("main", "logo", "_");
  for (std::size_t i = 0; i < state_.TitleLines.size(); ++i)
    state_.TitleLines[i] = script.ReadString("main", numberedKey("l", static_cast<int>(i) + 1), "");
  state_.WizardPicture = state_.SourceDir + script.ReadString("leader", "image", "_");
  state_.WelcomeNoteColor = script.ReadInteger("leader", "Lbl2_color", 0);
}

void StartUp::findInstalledCopy() {
  const std::string key = kUninstallKey + state_.SetupScript->ReadString("software", "name", "noname");
  state_.InstalledUninstallString =
      platform_.readRegistryString(RegistryRoot::LocalMachine, key, "UninstallString").value_or("");
  state_.InstalledVersion =
      installedVersionFrom(platform_.readRegistryString(RegistryRoot::LocalMachine, key, "version"));
}

void StartUp::reportInstalledVersion() {
  const TextTable texts(*state_.SetupScript);
  state_.NewVersion = state_.SetupScript->ReadInteger("vercheck", "version", 0);
  if (state_.NewVersion < state_.InstalledVersion)
    platform_.messageBox(texts.text("l63"), "kalvora", MessageButtons::Ok, MessageIcon::None);
  if (state_.NewVersion == state_.InstalledVersion)
    platform_.messageBox(texts.text("l64"), "kalvora", MessageButtons::Ok, MessageIcon::None);
}

void StartUp::proposeTargetDir() {
  const SetupScript& script = *state_.SetupScript;
  if (!script.ReadBool("vercheck", "take", true))
    state_.TargetDir = script.ReadString("directories", "d0", "_");
  else if (!state_.InstalledUninstallString.empty())
    state_.TargetDir = targetDirFromUninstallString(state_.InstalledUninstallString);
  else
    state_.TargetDir = script.ReadString("directories", "d0", "");
}

StartUpOutcome StartUp::handleOldCopy() {
  if (state_.InstalledUninstallString.empty() || state_.NewVersion <= state_.InstalledVersion)
    return StartUpOutcome::Continue;
  const TextTable texts(*state_.SetupScript);
  switch (state_.SetupScript->ReadInteger("vercheck", "old", 0)) {
  case 1:
    if (platform_.messageBox(texts.text("l65"), "kalvora", MessageButtons::YesNo, MessageIcon::None) ==
        MessageResult::Yes)
      platform_.startProgram(state_.InstalledUninstallString);
    return StartUpOutcome::Continue;
  case 2:
    if (platform_.messageBox(texts.text("l66"), "kalvora", MessageButtons::OkCancel, MessageIcon::None) ==
        MessageResult::Ok)
      platform_.startProgram(state_.InstalledUninstallString);
    return StartUpOutcome::EndProgram;
  default: return StartUpOutcome::Continue;
  }
}

void StartUp::readOptions() {
  const SetupScript& s = *state_.SetupScript;
  state_.ProgramGroup = s.ReadString("software", "prggrp", "");
  for (int n = 1; n <= kOptionCount; ++n)
    state_.OptionName[static_cast<std::size_t>(n - 1)] = s.ReadString("software", optionKey(n, "_name"), "");
  state_.MinimalOffered = s.ReadBool("software", "o_min", false);
  state_.CdOffered = s.ReadBool("software", "o_cd", false);
  state_.CustomOffered = s.ReadBool("software", "o_custom", false);
  state_.StandardOffered = s.ReadBool("software", "o_standard", false);
  auto readFlags = [&](std::array<bool, kOptionCount>& flags, const char* suffix) {
    for (int n = 1; n <= kOptionCount; ++n)
      flags[static_cast<std::size_t>(n - 1)] = s.ReadBool("software", optionKey(n, suffix), false);
  };
  if (state_.CustomOffered) {
    state_.FirstOptionLocked = s.ReadBool("software", "Opt1_locked", true);
    readFlags(state_.OptionInCustom, "_custom");
  }
  if (state_.MinimalOffered) readFlags(state_.OptionInMinimal, "_min");
  if (state_.StandardOffered) readFlags(state_.OptionInStandard, "_standard");
  readFlags(state_.OptionGroupItem, "_prgitem");
  for (int n = 1; n <= kOptionCount; ++n)
    state_.OptionSpace[static_cast<std::size_t>(n - 1)] = s.ReadInteger("software", optionKey(n, "_space"), 0);
}

void StartUp::computeTotals() {
  // Plain signed 32-bit sums, wrapping as the script's figures dictate.
  auto sum = [&](bool offered, const std::array<bool, kOptionCount>& members) {
    std::uint32_t total = 0;
    if (offered)
      for (std::size_t i = 0; i < kOptionCount; ++i)
        if (members[i]) total += static_cast<std::uint32_t>(state_.OptionSpace[i]);
    return total;
  };
  std::uint32_t min = sum(state_.MinimalOffered, state_.OptionInMinimal);
  std::uint32_t custom = sum(state_.CustomOffered, state_.OptionInCustom);
  std::uint32_t standard = sum(state_.StandardOffered, state_.OptionInStandard);
  state_.CompressionMode = state_.SetupScript->ReadInteger("compression", "mode", 0);
  state_.CompressionSize = state_.SetupScript->ReadInteger("compression", "size", 0);
  if (state_.CompressionMode != 0) {
    const auto extra = static_cast<std::uint32_t>(state_.CompressionSize);
    min += extra;
    custom += extra;
    standard += extra;
  }
  state_.TotalMin = static_cast<std::int32_t>(min);
  state_.TotalCustom = static_cast<std::int32_t>(custom);
  state_.TotalStandard = static_cast<std::int32_t>(standard);
}

} // namespace kalvora
