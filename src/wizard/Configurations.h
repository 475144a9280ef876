#pragma once
// The configuration and components pages: which radio buttons and check boxes
// are offered and ticked, the needed and free figures, the free-space checks,
// and the settling of the chosen options for the installation run.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/LeaderControls.h"

namespace kalvora {

enum class Configuration { Standard, Minimal, Custom };

// Which configuration's option set applies, settled on leaving the components step.
struct ConfigFlags {
  bool StdConfig = false, MinConfig = false, CustomConfig = false;
};

// Choices made before the wizard starts (switches, an answer file): the radio
// button chosen at first and the boxes the custom configuration ticks instead
// of the script's custom defaults. The user can still change both.
struct Preselection {
  std::optional<Configuration> configuration;
  std::optional<std::array<bool, kOptionCount>> options;
};

class Configurations {
public:
  Configurations(LeaderControls& controls, InstallState& state, Platform& platform);

  // The wizard's creation: radio captions and descriptions, check boxes, initial choice, hidden buttons;
  // the preselection last.
  void setUp();
  // Whether option n's box is shown: options 1 and 2 always, the others when named.
  static bool optionShown(const SetupValues& setup, int n);

  Configuration chosen() const;
  // The user clicked a radio button: it becomes the choice and the needed figure follows.
  void cf_standardClick(Configuration clicked);
  // A box changed, by the user or the program: option 1 stays ticked when locked, the needed figures follow.
  void Opt_1Click();
  // Sets option n's box (1 to 7); a change runs Opt_1Click as a click would.
  void setTick(int n, bool ticked);
  bool ticked(int n) const;

  // Entry to the configuration page: the free figures and the standard total as needed.
  void fillFigures(int driveNumber);

  // Page 2: whether the target drive holds the minimal configuration; shows the message when not.
  bool minimumFits(const std::string& targetDrive, int driveNumber);

  enum class PageThreeResult { Stay, Settle, ShowComponents };
  // Next on the configuration page. Cancel on the not-enough-space message calls onCancel.
  PageThreeResult nextOnConfigurationPage(const std::string& targetDrive, int driveNumber,
                                          const std::function<void()>& onCancel);

  // Settles the flags, OptionChosen and RunFromMedium, then waits until the drive
  // has room for the chosen options. False only when the program is ending.
  bool settle(const std::string& targetDrive, int driveNumber);
  // The settling without the wait: the flags, OptionChosen and RunFromMedium.
  void settleChoice();

  // Bytes the chosen options need: CompressionSize plus their OptionSpace.
  std::int64_t chosenSpace() const;
  // The divisor of the overall progress, at the start of the installation.
  std::int64_t progressTotal() const;

  ConfigFlags flags;
  Preselection preselection; // set before setUp

private:
  void setNeeded(std::int64_t bytes, bool bothPages);
  // A figure and its unit label (kB, MB or GB, as the figure fits).
  void showFigure(LeaderControl figure, LeaderControl unit, std::int64_t bytes);
  void enforceLock();
  // The boxes the custom configuration ticks: the preselected ones, else the script's.
  const std::array<bool, kOptionCount>& customTicks() const;
  std::int64_t neededFor(const std::array<bool, kOptionCount>& ticks) const;
  bool spaceWait(const std::string& targetDrive, int driveNumber);

  LeaderControls& controls_;
  InstallState& state_;
  Platform& platform_;
};

} // namespace kalvora
