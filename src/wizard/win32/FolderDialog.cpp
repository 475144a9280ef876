#include "wizard/win32/FolderDialog.h"

#include <cctype>

namespace kalvora {

namespace {

enum : int { kDirectoryList = 101, kDriveList, kBtnOk, kBtnAbbr };

const int kIndent = 8;
const int kGlyphWidth = 18;

// A folder glyph: open folders (the path) with the lid raised.
void drawFolder(HDC dc, int left, int top, bool open) {
  HBRUSH body = CreateSolidBrush(RGB(255, 216, 96));
  HPEN edge = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
  HGDIOBJ oldBrush = SelectObject(dc, body);
  HGDIOBJ oldPen = SelectObject(dc, edge);
  Rectangle(dc, left, top + 1, left + 6, top + 4); // the tab
  Rectangle(dc, left, top + 3, left + 14, top + 12);
  if (open) {
    const POINT lid[] = {{left + 3, top + 6}, {left + 16, top + 6}, {left + 13, top + 12}, {left, top + 12}};
    Polygon(dc, lid, 4);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(body);
  DeleteObject(edge);
}

// "c:": the drive list names drives only; reading volume labels would wake
// every drive (and stall on network and removable ones) each time it opens.
std::string driveCaption(char letter) {
  return {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':'};
}

} // namespace

FolderDialog::FolderDialog(Platform& platform, InstallState& state, Leader& leader)
    : DialogShell("Tdlg_folder", platform), logic_(platform, state, leader, *this) {}

void FolderDialog::FormCreate() {
  logic_.FormCreate();
  const FolderDialogLayout& d = logic_.layout;
  createDialog(logic_.caption, d.clientWidth, d.clientHeight, d.position.x, d.position.y);
  HWND Panel1 = addPanel("Panel1", d.Panel1, nullptr, {GetSysColor(COLOR_BTNFACE), BDR_SUNKENOUTER});
  Label1_ = addLabel("Label1", "", d.Label1, formFont(), GetSysColor(COLOR_BTNTEXT), false, false, Panel1);
  DirectoryListBox1_ =
      addListBox("DirectoryListBox1", d.DirectoryListBox1, kDirectoryList, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  SendMessageA(DirectoryListBox1_, LB_SETITEMHEIGHT, 0, d.itemHeight);
  DriveComboBox1_ = addComboBox("DriveComboBox1", d.DriveComboBox1, kDriveList, 160);
  Btn_ok_ = addButton("Btn_ok", logic_.Btn_ok, d.Btn_ok, kBtnOk, true);
  Btn_abbr_ = addButton("Btn_abbr", logic_.Btn_abbr, d.Btn_abbr, kBtnAbbr);
  fillDrives();
  apply();
}

void FolderDialog::fillDrives() {
  for (char letter : logic_.drives()) {
    const auto index =
        SendMessageA(DriveComboBox1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(driveCaption(letter).c_str()));
    SendMessageA(DriveComboBox1_, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(letter));
  }
}

void FolderDialog::apply() {
  SendMessageA(DirectoryListBox1_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(DirectoryListBox1_, LB_RESETCONTENT, 0, 0);
  for (const DirectoryItem& item : logic_.items())
    SendMessageA(DirectoryListBox1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.name.c_str()));
  SendMessageA(DirectoryListBox1_, LB_SETCURSEL, logic_.currentItem(), 0);
  SendMessageA(DirectoryListBox1_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(DirectoryListBox1_, nullptr, TRUE);

  const auto count = SendMessageA(DriveComboBox1_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (SendMessageA(DriveComboBox1_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == logic_.drive())
      SendMessageA(DriveComboBox1_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);

  setText(Label1_, logic_.pathLabel([this](const std::string& text) { return textWidth(text); }));
}

int FolderDialog::textWidth(const std::string& text) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, formFont());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

void FolderDialog::openSelectedItem() {
  const auto selected = SendMessageA(DirectoryListBox1_, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR || !logic_.openItem(static_cast<std::size_t>(selected))) MessageBeep(MB_OK);
  apply();
}

void FolderDialog::chooseSelectedDrive() {
  const auto selected = SendMessageA(DriveComboBox1_, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return;
  const auto letter =
      static_cast<char>(SendMessageA(DriveComboBox1_, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
  // A drive that cannot be read (no disk, not ready) leaves the list where it was.
  if (!logic_.chooseDrive(letter)) MessageBeep(MB_ICONEXCLAMATION);
  apply();
}

void FolderDialog::drawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= logic_.items().size()) return;
  const DirectoryItem& entry = logic_.items()[item.itemID];
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int left = item.rcItem.left + 2 + entry.indent * kIndent;
  drawFolder(dc, left, item.rcItem.top + 2, entry.open);
  RECT text = item.rcItem;
  text.left = left + kGlyphWidth;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(dc, formFont());
  DrawTextA(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

bool FolderDialog::preTranslateMessage(MSG& msg) {
  // Enter in the directory list opens the chosen entry rather than pressing OK.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == DirectoryListBox1_) {
    openSelectedItem();
    return true;
  }
  return DialogShell::preTranslateMessage(msg);
}

bool FolderDialog::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM && wp == kDirectoryList) {
    drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  if (msg != WM_COMMAND) return DialogShell::onMessage(msg, wp, lp, result);
  result = 0;
  switch (LOWORD(wp)) {
  case kDirectoryList:
    if (HIWORD(wp) == LBN_DBLCLK) openSelectedItem();
    return true;
  case kDriveList:
    if (HIWORD(wp) == CBN_SELCHANGE) chooseSelectedDrive();
    return true;
  case kBtnOk:
    if (HIWORD(wp) == BN_CLICKED) logic_.Btn_okClick();
    return true;
  case kBtnAbbr:
  case IDCANCEL: // Escape
    if (HIWORD(wp) == BN_CLICKED) logic_.Btn_abbrClick();
    return true;
  default: return false;
  }
}

} // namespace kalvora
