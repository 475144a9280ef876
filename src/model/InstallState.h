#pragma once
// InstallState: the values shared by start-up, wizard, installation run and
// completion. One plain set, created zeroed, grouped by who writes it: the
// start-up fills Setup from setup.inf and the installed copy, the wizard makes
// the Choices, the installation run and its dialogs keep Run.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "script/SetupScript.h"

namespace kalvora {

inline constexpr int kOptionCount = 7;
inline constexpr int kTextCount = 66;
// The file into which packed pictures are expanded.
inline constexpr const char* kTempPicture = "C:\\temp\\kvr.bmp";

// Written by the start-up; the later stages only read them (the background
// window releases the script at program end).
struct SetupValues {
  std::string SourceDir; // the medium; ends in one backslash
  std::unique_ptr<kalvora::SetupScript> SetupScript;
  // Texts l1..l66 by number (index 0 unused); start-up fills l1-l28 and l48-l54.
  std::array<std::string, kTextCount + 1> TextTable;

  std::string WelcomeNote;
  std::int32_t WelcomeNoteColor = 0;
  std::string WizardPicture, BackPicture, InfoPicture, LogoPicture;
  std::string InfoText;
  std::array<std::string, 3> TitleLines;

  std::string InstalledUninstallString;
  std::int32_t InstalledVersion = 0;
  std::int32_t NewVersion = 0;

  // Options 1..7 at index 0..6.
  std::array<std::string, kOptionCount> OptionName;
  bool MinimalOffered = false, CdOffered = false, CustomOffered = false, StandardOffered = false;
  bool FirstOptionLocked = false;
  std::array<bool, kOptionCount> OptionInCustom{}, OptionInMinimal{}, OptionInStandard{}, OptionGroupItem{};
  std::array<std::int32_t, kOptionCount> OptionSpace{};
  std::int32_t TotalMin = 0, TotalCustom = 0, TotalStandard = 0;
  std::int32_t CompressionMode = 0;
  std::int32_t CompressionSize = 0;
};

// Written by the wizard: the user's choices. The start-up proposes the
// directory and the program group.
struct WizardChoices {
  std::string TargetDir;
  std::string ProgramGroup;
  // The options to install, the run from the medium and the divisor of the overall progress.
  std::array<bool, kOptionCount> OptionChosen{};
  bool RunFromMedium = false;
  std::int64_t ProgressTotal = 0;
  // The answer to the start-up's question about an older copy (remove it first?), when it came up.
  std::optional<bool> RemoveOldCopy;
};

// Written by the installation run, its cancel confirmation and the completion;
// the start-up sets them up.
struct RunValues {
  bool Pending = false; // the run has not begun yet
  bool Started = false;
  bool Cancelled = false;
  std::string ReadmePath;
  bool GroupItemsCreated = false;
};

struct InstallState {
  SetupValues Setup;
  WizardChoices Choices;
  RunValues Run;
  // Written by the background window when its first activation has laid it out.
  bool LayoutDone = false;
};

} // namespace kalvora
