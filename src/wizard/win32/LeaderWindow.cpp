#include "wizard/win32/LeaderWindow.h"

namespace kalvora {

namespace {

using C = LeaderControl;

// Control ids: the model's index above a base that no system id uses.
constexpr int kFirstId = 1000;

int idOf(LeaderControl c) { return kFirstId + static_cast<int>(c); }

bool isRadio(LeaderControl c) { return c == C::cf_standard || c == C::cf_min || c == C::cf_custom; }

Configuration configurationOf(LeaderControl c) {
  return c == C::cf_min ? Configuration::Minimal : c == C::cf_custom ? Configuration::Custom : Configuration::Standard;
}

bool hasCheck(ControlKind kind) { return kind == ControlKind::RadioButton || kind == ControlKind::CheckBox; }

} // namespace

LeaderWindow::LeaderWindow(Platform& platform, InstallState& state, BackgroundDisplay& main, LoadingDisplay& trailer,
                           ModalWindow& Tabbruch)
    : Form("Tleader", GetSysColor(COLOR_BTNFACE), true), platform_(platform), state_(state), main_(main),
      trailer_(trailer), Tabbruch_(Tabbruch), leader_(platform, state, *this), Cbmp_(platform) {}

void LeaderWindow::attach(ModalWindow& Tcopying, ModalWindow& Tdlg_folder) {
  Tcopying_ = &Tcopying;
  Tdlg_folder_ = &Tdlg_folder;
}

void LeaderWindow::FormCreate() {
  createWindow("", WS_POPUP | WS_CAPTION | WS_DLGFRAME, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
               layout_.clientWidth, layout_.clientHeight);
  leader_.FormCreate();
  createControls();
  apply();
  loadPictures();
  leader_.controls().takeFrame(layout_);
  placeControls();
  centre();
  if (!keepHidden_) show();
  SetFocus(windows_[static_cast<std::size_t>(C::Btn_weiter)]);
}

void LeaderWindow::loadPictures() {
  PictureLoading pictures(platform_, state_, *this, Cbmp_);
  if (const Status loaded = pictures.run(layout_); !loaded.ok()) {
    // A picture that cannot be expanded: reported while the loading screen still
    // shows, then the wizard comes up all the same, so that the user can go on or leave.
    // A run that asks nothing reports through the platform, which logs it.
    if (keepHidden_)
      platform_.messageBox(loaded.error().what(), "Setup", MessageButtons::Ok, MessageIcon::Error);
    else
      reportError(loaded.error().what());
    trailer_.hideLoadingScreen();
    kalvora::setHourglass(false);
  }
  infoPictureLoaded_ = pictures.InfoPictureLoaded;
}

void LeaderWindow::createControls() {
  Img_Setup_ = addImage("Img_Setup", layout_.Img_Setup, true, false);
  strich_ = addBevel("strich", layout_.strich);
  const LeaderControls& model = leader_.controls();
  for (std::size_t i = 0; i < kLeaderControlCount; ++i) {
    const auto c = static_cast<LeaderControl>(i);
    windows_[i] = createControl(model[c], idOf(c));
  }
  setDefaultButton(idOf(C::Btn_weiter));
}

HWND LeaderWindow::createControl(const WizardControl& control, int id) {
  HWND parent = control.parent ? windows_[static_cast<std::size_t>(*control.parent)] : nullptr;
  const Rect& r = control.rect;
  switch (control.kind) {
  case ControlKind::Button: return addButton(control.name, control.text, r, id, false, parent);
  case ControlKind::Panel:
    // The components' panel in the window colour, framed.
    if (id == idOf(C::Group)) return addPanel(control.name, r, parent, {GetSysColor(COLOR_WINDOW), EDGE_ETCHED});
    return addPanel(control.name, r, parent);
  case ControlKind::Edit: return addEdit(control.name, r, id, parent);
  case ControlKind::RadioButton: return addRadioButton(control.name, r, id, parent, id == idOf(C::cf_standard));
  case ControlKind::CheckBox: return addCheckBox(control.name, r, id, parent);
  case ControlKind::Bevel: return addBevel(control.name, r, parent, true);
  case ControlKind::Label: {
    HWND label = addLabel(control.name, control.text, r, formFont(), control.color, false, control.wordWrap, parent);
    if (control.alignRight) setLabelAlignRight(label, true);
    return label;
  }
  }
  return nullptr;
}

void LeaderWindow::placeControls() {
  setClientSize(layout_.clientWidth, layout_.clientHeight);
  place(Img_Setup_, layout_.Img_Setup);
  place(strich_, layout_.strich);
  const LeaderControls& model = leader_.controls();
  for (std::size_t i = 0; i < kLeaderControlCount; ++i)
    place(windows_[i], model[static_cast<LeaderControl>(i)].rect);
}

void LeaderWindow::apply() {
  applying_ = true; // the entries' change notifications are the program's own here
  const LeaderControls& model = leader_.controls();
  if (textOf(hwnd_) != model.caption) setText(hwnd_, model.caption);
  for (std::size_t i = 0; i < kLeaderControlCount; ++i) {
    const WizardControl& c = model[static_cast<LeaderControl>(i)];
    HWND h = windows_[i];
    if (textOf(h) != c.text) setText(h, c.text);
    if (((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0) != c.visible) setVisible(h, c.visible);
    if ((IsWindowEnabled(h) != 0) != c.enabled) EnableWindow(h, c.enabled);
    if (hasCheck(c.kind) && (SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) != c.checked)
      SendMessageA(h, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (c.kind == ControlKind::Label && colors_[i] != c.color) {
      colors_[i] = c.color;
      setLabelColor(h, c.color);
    }
  }
  applying_ = false;
  keepFocusUsable();
}

void LeaderWindow::keepFocusUsable() {
  // A page that was hidden, or Back disabled, must not keep the keyboard: Next takes it.
  HWND focus = GetFocus();
  if (!visible() || (focus && focus != hwnd_ && !IsChild(hwnd_, focus))) return;
  if (focus && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  SetFocus(windows_[static_cast<std::size_t>(C::Btn_weiter)]);
}

std::optional<LeaderControl> LeaderWindow::controlOf(HWND window) const {
  // A control's id is its place in the model; the window check leaves out
  // other windows that happen to carry such an id.
  const int index = GetDlgCtrlID(window) - kFirstId;
  if (index < 0 || index >= static_cast<int>(kLeaderControlCount)) return std::nullopt;
  if (windows_[static_cast<std::size_t>(index)] != window) return std::nullopt;
  return static_cast<LeaderControl>(index);
}

bool LeaderWindow::preTranslateMessage(MSG& msg) {
  const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (keyDown && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
    const std::optional<LeaderControl> control = msg.hwnd == hwnd_ ? std::nullopt : controlOf(msg.hwnd);
    const bool known = msg.hwnd == hwnd_ || control.has_value();
    if (known && leader_.Btn_weiterKeyDown(control, static_cast<int>(msg.wParam))) {
      apply();
      return true;
    }
  }
  return IsDialogMessageA(hwnd_, &msg) != 0;
}

bool LeaderWindow::onMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
  case WM_CLOSE: // no close box: the wizard ends through its Exit button
    result = 0;
    return true;
  case WM_COMMAND: {
    result = 0;
    const int id = LOWORD(wp);
    if (id < kFirstId || id >= kFirstId + static_cast<int>(kLeaderControlCount)) return true; // IDOK, IDCANCEL
    // Only the events the wizard handles change the model; others (EN_UPDATE,
    // focus notifications) must not re-apply it over what the user is typing.
    if (!applying_ && onCommand(static_cast<LeaderControl>(id - kFirstId), HIWORD(wp))) apply();
    return true;
  }
  default: return false;
  }
}

bool LeaderWindow::onCommand(LeaderControl control, int code) {
  HWND h = windows_[static_cast<std::size_t>(control)];
  if (control == C::Edt_verz || control == C::Edt_prggroup) {
    if (code != EN_CHANGE) return false;
    leader_.setEntryText(control, textOf(h));
    return true;
  }
  if (code != BN_CLICKED) return false;
  const bool ticked = SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (control == C::Btn_weiter)
    leader_.Btn_weiterClick();
  else if (control == C::Btn_back)
    leader_.Btn_backClick();
  else if (control == C::Btn_exit)
    leader_.Btn_exitClick();
  else if (control == C::Btn_folder)
    leader_.Btn_folderClick();
  else if (isRadio(control) && ticked)
    leader_.cf_standardClick(configurationOf(control));
  else if (const int n = optionOfBox(control))
    leader_.Opt_1Click(n, ticked);
  else
    return false;
  return true;
}

void LeaderWindow::showCancelDialog() {
  apply();
  Tabbruch_.showModal();
}

void LeaderWindow::showFolderDialog() {
  apply();
  if (Tdlg_folder_) Tdlg_folder_->showModal();
}

void LeaderWindow::showInformationDisplay() { main_.showInformationDisplay(infoPictureLoaded_); }

void LeaderWindow::showInstallation() {
  if (Tcopying_) Tcopying_->showModal();
}

void LeaderWindow::setHourglass(bool on) { kalvora::setHourglass(on); }
void LeaderWindow::setLoadingPosition(int position) { trailer_.setLoadingPosition(position); }
void LeaderWindow::hideLoadingScreen() { trailer_.hideLoadingScreen(); }
void LeaderWindow::sizeInfoArea(int width, int height) { main_.sizeInfoArea(width, height); }

bool LeaderWindow::loadPicture(PictureControl control, const std::string& path) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) return false;
  if (control == PictureControl::Img_Setup)
    setPicture(Img_Setup_, bitmap);
  else
    main_.setPicture(control, bitmap);
  return true;
}

} // namespace kalvora
