#include "wizard/LeaderControls.h"

#include <algorithm>

namespace kalvora {

namespace {

using C = LeaderControl;
using K = ControlKind;

struct Design {
  C id;
  const char* name;
  K kind;
  std::optional<C> parent;
  Rect rect;
  bool wordWrap = false;
  bool alignRight = false;
};

// Positions relative to the parent. The hidden labels Lbl_verz, Lbl_prggroup and
// Lbl_13 never show; they sit where they would not overlap.
constexpr Design kDesign[] = {
    {C::Btn_back, "Btn_back", K::Button, {}, {170, 278, 75, 25}},
    {C::Btn_weiter, "Btn_weiter", K::Button, {}, {246, 278, 75, 25}},
    {C::Btn_exit, "Btn_exit", K::Button, {}, {370, 278, 85, 25}},
    {C::Ebn_welcome, "Ebn_welcome", K::Panel, {}, {154, 8, 300, 241}},
    {C::Ebn_folder, "Ebn_folder", K::Panel, {}, {154, 8, 297, 241}},
    {C::Ebn_configuration, "Ebn_configuration", K::Panel, {}, {154, 8, 300, 241}},
    {C::Ebn_components, "Ebn_components", K::Panel, {}, {154, 8, 300, 241}},
    {C::Ebn_prggroup, "Ebn_prggroup", K::Panel, {}, {154, 8, 297, 241}},
    {C::Ebn_start, "Ebn_start", K::Panel, {}, {154, 8, 297, 241}},

    {C::Lbl_1, "Lbl_1", K::Label, C::Ebn_welcome, {9, 6, 260, 62}, true},
    {C::Lbl_2, "Lbl_2", K::Label, C::Ebn_welcome, {5, 138, 293, 59}, true},
    {C::Lbl_3, "Lbl_3", K::Label, C::Ebn_welcome, {6, 201, 286, 31}, true},

    {C::Lbl_6, "Lbl_6", K::Label, C::Ebn_folder, {8, 4, 279, 68}, true},
    {C::Lbl_verz, "Lbl_verz", K::Label, C::Ebn_folder, {8, 82, 278, 13}},
    {C::Edt_verz, "Edt_verz", K::Edit, C::Ebn_folder, {8, 100, 278, 19}},
    {C::Btn_folder, "Btn_folder", K::Button, C::Ebn_folder, {202, 120, 84, 23}},
    {C::Lbl_7, "Lbl_7", K::Label, C::Ebn_folder, {6, 201, 286, 31}, true},

    {C::Lbl_4, "Lbl_4", K::Label, C::Ebn_configuration, {4, 4, 287, 20}},
    {C::Bevel2, "Bevel2", K::Bevel, C::Ebn_configuration, {2, 31, 291, 166}},
    {C::cf_standard, "cf_standard", K::RadioButton, C::Ebn_configuration, {4, 34, 88, 17}},
    {C::cfl_standard, "cfl_standard", K::Label, C::Ebn_configuration, {94, 33, 195, 43}, true},
    {C::cf_min, "cf_min", K::RadioButton, C::Ebn_configuration, {4, 78, 89, 17}},
    {C::cfl_min, "cfl_min", K::Label, C::Ebn_configuration, {94, 79, 195, 46}, true},
    {C::cf_custom, "cf_custom", K::RadioButton, C::Ebn_configuration, {3, 125, 143, 17}},
    {C::cfl_custom, "cfl_custom", K::Label, C::Ebn_configuration, {94, 143, 195, 49}, true},
    {C::Lbl_need2, "Lbl_need2", K::Label, C::Ebn_configuration, {8, 202, 124, 13}},
    {C::Lbl_need2z, "Lbl_need2z", K::Label, C::Ebn_configuration, {137, 202, 52, 13}, false, true},
    {C::Mb3, "Mb3", K::Label, C::Ebn_configuration, {191, 202, 31, 13}},
    {C::Lbl_free2, "Lbl_free2", K::Label, C::Ebn_configuration, {8, 217, 124, 13}},
    {C::Lbl_free2z, "Lbl_free2z", K::Label, C::Ebn_configuration, {137, 217, 52, 13}, false, true},
    {C::mb4, "mb4", K::Label, C::Ebn_configuration, {191, 217, 34, 13}},

    {C::Lbl_8, "Lbl_8", K::Label, C::Ebn_components, {7, 5, 279, 41}, true},
    {C::Group, "Group", K::Panel, C::Ebn_components, {9, 48, 274, 133}},
    {C::Opt_1, "Opt_1", K::CheckBox, C::Group, {6, 3, 262, 17}},
    {C::Opt_2, "Opt_2", K::CheckBox, C::Group, {6, 21, 262, 17}},
    {C::Opt_3, "Opt_3", K::CheckBox, C::Group, {6, 39, 262, 17}},
    {C::Opt_4, "Opt_4", K::CheckBox, C::Group, {6, 57, 262, 17}},
    {C::Opt_5, "Opt_5", K::CheckBox, C::Group, {6, 75, 262, 17}},
    {C::Opt_6, "Opt_6", K::CheckBox, C::Group, {6, 93, 262, 17}},
    {C::Opt_7, "Opt_7", K::CheckBox, C::Group, {6, 111, 262, 17}},
    {C::Lbl_need, "Lbl_need", K::Label, C::Ebn_components, {9, 186, 156, 13}},
    {C::Lbl_needz, "Lbl_needz", K::Label, C::Ebn_components, {172, 185, 52, 13}, false, true},
    {C::Mb1, "Mb1", K::Label, C::Ebn_components, {226, 185, 31, 13}},
    {C::Lbl_free, "Lbl_free", K::Label, C::Ebn_components, {9, 201, 158, 13}},
    {C::Lbl_freez, "Lbl_freez", K::Label, C::Ebn_components, {172, 200, 52, 13}, false, true},
    {C::Mb2, "Mb2", K::Label, C::Ebn_components, {226, 200, 34, 13}},
    {C::Lbl_9, "Lbl_9", K::Label, C::Ebn_components, {6, 220, 277, 12}},

    {C::Lbl_10, "Lbl_10", K::Label, C::Ebn_prggroup, {7, 5, 279, 62}, true},
    {C::Lbl_prggroup, "Lbl_prggroup", K::Label, C::Ebn_prggroup, {9, 75, 274, 13}},
    {C::Edt_prggroup, "Edt_prggroup", K::Edit, C::Ebn_prggroup, {9, 93, 274, 21}},
    {C::Lbl_11, "Lbl_11", K::Label, C::Ebn_prggroup, {6, 201, 286, 31}, true},

    {C::Lbl_12, "Lbl_12", K::Label, C::Ebn_start, {7, 8, 279, 62}, true},
    {C::Lbl_13, "Lbl_13", K::Label, C::Ebn_start, {7, 100, 279, 62}, true},
    {C::Lbl_14, "Lbl_14", K::Label, C::Ebn_start, {6, 201, 286, 31}, true},
};

static_assert(std::size(kDesign) == kLeaderControlCount, "every control has its design");
static_assert(
    [] {
      for (std::size_t i = 0; i < kLeaderControlCount; ++i)
        if (static_cast<std::size_t>(kDesign[i].id) != i) return false;
      return true;
    }(),
    "designs in the order of LeaderControl");

bool isTabStop(ControlKind kind) {
  return kind == K::Button || kind == K::Edit || kind == K::RadioButton || kind == K::CheckBox;
}

} // namespace

LeaderControl optionBox(int n) { return static_cast<C>(static_cast<int>(C::Opt_1) + n - 1); }

int optionOfBox(LeaderControl control) {
  const int n = static_cast<int>(control) - static_cast<int>(C::Opt_1) + 1;
  return n >= 1 && n <= 7 ? n : 0;
}

LeaderControl pagePanel(int page) { return static_cast<C>(static_cast<int>(C::Ebn_welcome) + page - 1); }

LeaderControls::LeaderControls() {
  for (std::size_t i = 0; i < kLeaderControlCount; ++i) {
    const Design& d = kDesign[i];
    WizardControl& c = controls_[i];
    c.name = d.name;
    c.kind = d.kind;
    c.parent = d.parent;
    c.rect = d.rect;
    c.wordWrap = d.wordWrap;
    c.alignRight = d.alignRight;
  }
  for (int page = 2; page <= 6; ++page)
    (*this)[pagePanel(page)].visible = false;
  (*this)[C::Btn_back].enabled = false;
  (*this)[C::Lbl_verz].visible = false;
  (*this)[C::Lbl_prggroup].visible = false;
  (*this)[C::Lbl_13].visible = false;
}

void LeaderControls::takeFrame(const LeaderLayout& layout) {
  (*this)[C::Btn_back].rect = layout.Btn_back;
  (*this)[C::Btn_weiter].rect = layout.Btn_weiter;
  (*this)[C::Btn_exit].rect = layout.Btn_exit;
  for (int page = 1; page <= 6; ++page)
    (*this)[pagePanel(page)].rect = layout.pages[static_cast<std::size_t>(page - 1)];
}

bool LeaderControls::showing(LeaderControl c) const {
  for (std::optional<C> at = c; at; at = (*this)[*at].parent)
    if (!(*this)[*at].visible) return false;
  return true;
}

std::vector<LeaderControl> LeaderControls::tabOrder() const {
  std::vector<C> order;
  for (std::size_t i = 0; i < kLeaderControlCount; ++i) {
    const auto c = static_cast<C>(i);
    const WizardControl& control = controls_[i];
    if (!isTabStop(control.kind) || !control.enabled || !showing(c)) continue;
    if (control.kind == K::RadioButton && !control.checked) continue;
    order.push_back(c);
  }
  return order;
}

LeaderControl LeaderControls::nextInTabOrder(LeaderControl from, bool backwards) const {
  const auto order = tabOrder();
  if (order.empty()) return from;
  auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return backwards ? order.back() : order.front();
  const auto index = static_cast<std::size_t>(at - order.begin());
  const std::size_t n = order.size();
  return order[backwards ? (index + n - 1) % n : (index + 1) % n];
}

} // namespace kalvora
