#pragma once
// InstallState: the values shared by start-up, wizard, installation run and
// completion. One plain set, created zeroed, filled by the start-up from
// setup.inf and completed by the wizard; the later stages add their own values.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "script/SetupScript.h"

namespace kalvora {

inline constexpr int kOptionCount = 7;
inline constexpr int kTextCount = 66;
// The file into which packed pictures are expanded.
inline constexpr const char* kTempPicture = "C:\\temp\\kvr.bmp";

struct InstallState {
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
  std::string TargetDir;
  std::string ProgramGroup;

  // Options 1..7 at index 0..6.
  std::array<std::string, kOptionCount> OptionName;
  bool MinimalOffered = false, CdOffered = false, CustomOffered = false, StandardOffered = false;
  bool FirstOptionLocked = false;
  std::array<bool, kOptionCount> OptionInCustom{}, OptionInMinimal{}, OptionInStandard{}, OptionGroupItem{};
  std::array<std::int32_t, kOptionCount> OptionSpace{};
  std::int32_t TotalMin = 0, TotalCustom = 0, TotalStandard = 0;
  std::int32_t CompressionMode = 0;
  std::int32_t CompressionSize = 0;

  // The wizard's choices: the options to install, the run from the medium and
  // the divisor of the overall progress.
  std::array<bool, kOptionCount> OptionChosen{};
  bool RunFromMedium = false;
  std::int64_t ProgressTotal = 0;

  // The run's values that the cancel confirmation uses.
  bool RunStarted = false;
  bool RunCancelled = false;
  std::string ReadmePath;

  bool GroupItemsCreated = false;
  bool RunPending = false;
  bool LayoutDone = false;
};

} // namespace kalvora
