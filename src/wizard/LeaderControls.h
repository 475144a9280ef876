#pragma once
// The controls of the wizard Tleader as data: kind, parent, design position,
// caption, visibility, enabled and checked state. The wizard's logic changes
// this model; the window creates one control per entry (in this order, which
// is also the tab order within a page) and applies the model after each event.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "wizard/LeaderLayout.h"

namespace kalvora {

enum class ControlKind { Button, Panel, Label, Edit, RadioButton, CheckBox, Bevel };

enum class LeaderControl {
  Btn_back,
  Btn_weiter,
  Btn_exit,
  Ebn_welcome,
  Ebn_folder,
  Ebn_configuration,
  Ebn_components,
  Ebn_prggroup,
  Ebn_start,
  // page 1
  Lbl_1,
  Lbl_2,
  Lbl_3,
  // page 2
  Lbl_6,
  Lbl_verz,
  Edt_verz,
  Btn_folder,
  Lbl_7,
  // page 3
  Lbl_4,
  Bevel2,
  cf_standard,
  cfl_standard,
  cf_min,
  cfl_min,
  cf_custom,
  cfl_custom,
  Lbl_need2,
  Lbl_need2z,
  Mb3,
  Lbl_free2,
  Lbl_free2z,
  mb4,
  // page 4
  Lbl_8,
  Group,
  Opt_1,
  Opt_2,
  Opt_3,
  Opt_4,
  Opt_5,
  Opt_6,
  Opt_7,
  Lbl_need,
  Lbl_needz,
  Mb1,
  Lbl_free,
  Lbl_freez,
  Mb2,
  Lbl_9,
  // page 5
  Lbl_10,
  Lbl_prggroup,
  Edt_prggroup,
  Lbl_11,
  // page 6
  Lbl_12,
  Lbl_13,
  Lbl_14,
  Count
};

inline constexpr std::size_t kLeaderControlCount = static_cast<std::size_t>(LeaderControl::Count);

// The check box of option n (1 to 7), and the option of a check box (0 for other controls).
LeaderControl optionBox(int n);
int optionOfBox(LeaderControl control);
// The panel of page 1 to 6.
LeaderControl pagePanel(int page);

struct WizardControl {
  const char* name = "";
  ControlKind kind = ControlKind::Label;
  // The control it lies on: none for the dialog itself (buttons and panels), a page panel or Group.
  std::optional<LeaderControl> parent;
  Rect rect; // relative to the parent
  std::string text;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  bool wordWrap = false;
  bool alignRight = false;
  std::uint32_t color = kBlack; // font colour of labels
};

class LeaderControls {
public:
  // Every control at its design position with empty texts; only Ebn_welcome of
  // the pages visible, Back disabled, the three hidden labels hidden.
  LeaderControls();

  WizardControl& operator[](LeaderControl c) { return controls_[static_cast<std::size_t>(c)]; }
  const WizardControl& operator[](LeaderControl c) const { return controls_[static_cast<std::size_t>(c)]; }
  const std::array<WizardControl, kLeaderControlCount>& all() const { return controls_; }

  // The positions of the buttons and pages from the dialog's frame (after a narrowing).
  void takeFrame(const LeaderLayout& layout);

  std::string caption; // the dialog's caption

  // Whether a control is shown: it and every parent visible.
  bool showing(LeaderControl c) const;
  // The controls that Tab moves between, in order: Back, Next, Exit, then the
  // page panels' entries, buttons and boxes; of a radio group only the chosen one.
  std::vector<LeaderControl> tabOrder() const;
  // The control that Tab (or Shift+Tab) moves to from the given one.
  LeaderControl nextInTabOrder(LeaderControl from, bool backwards) const;

private:
  std::array<WizardControl, kLeaderControlCount> controls_;
};

} // namespace kalvora
