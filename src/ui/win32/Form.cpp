#include "ui/win32/Form.h"

#include <commctrl.h>

#include <map>

#include "ui/win32/WindowClass.h"

namespace kalvora {
namespace {

std::map<HWND, Form*>& forms() {
  static std::map<HWND, Form*> map;
  return map;
}

std::wstring wideOf(const std::string& text) {
  // Error texts are UTF-8; paths inside them may be in the ANSI code page.
  for (UINT page : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int n = MultiByteToWideChar(page, flags, text.c_str(), -1, nullptr, 0);
    if (n <= 0) continue;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(page, flags, text.c_str(), -1, wide.data(), n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
  }
  return L"";
}

} // namespace

bool preTranslateForForm(MSG& msg) {
  if (!msg.hwnd) return false;
  Form* form = Form::fromHandle(GetAncestor(msg.hwnd, GA_ROOT));
  return form && form->preTranslate(msg);
}

Form::Form(const char* className, COLORREF background, bool dialogManager)
    : className_(className), background_(background), brush_(CreateSolidBrush(background)),
      dialogManager_(dialogManager) {}

Form::~Form() {
  if (hwnd_) DestroyWindow(hwnd_);
  DeleteObject(brush_);
}

Form* Form::fromHandle(HWND window) {
  const auto it = forms().find(window);
  return it == forms().end() ? nullptr : it->second;
}

bool Form::preTranslate(MSG& msg) { return preTranslateMessage(msg); }

bool Form::preTranslateMessage(MSG& msg) { return dialogManager_ && IsDialogMessageA(hwnd_, &msg); }

void Form::createWindow(const std::string& caption, DWORD style, DWORD exStyle, int clientWidth, int clientHeight) {
  registerWindowClass(className_.c_str(), windowProc, dialogManager_ ? DLGWINDOWEXTRA : 0);
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  hwnd_ = CreateWindowExA(exStyle, className_.c_str(), caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  forms()[hwnd_] = this;
  setWindowName(hwnd_, className_);
}

void Form::setClientSize(int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::centre() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::show(int command) { ShowWindow(hwnd_, command); }
void Form::hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Form::visible() const { return IsWindowVisible(hwnd_) != 0; }

HWND Form::addChild(const char* name, const char* windowClass, DWORD style, DWORD exStyle, Rect r, int id,
                    HWND parent) {
  HWND h = CreateWindowExA(exStyle, windowClass, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width, r.height,
                           parent ? parent : hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(formFont()), FALSE);
  setWindowName(h, name);
  return h;
}

HWND Form::addButton(const char* name, const std::string& caption, Rect r, int id, bool isDefault, HWND parent) {
  HWND h = addChild(name, "BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, r, id, parent);
  setText(h, caption);
  if (isDefault) setDefaultButton(id);
  return h;
}

HWND Form::addEdit(const char* name, Rect r, int id, HWND parent) {
  return addChild(name, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, r, id, parent);
}

HWND Form::addRadioButton(const char* name, Rect r, int id, HWND parent, bool firstOfGroup) {
  return addChild(name, "BUTTON", BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), 0, r, id, parent);
}

HWND Form::addCheckBox(const char* name, Rect r, int id, HWND parent) {
  return addChild(name, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, r, id, parent);
}

HWND Form::addListBox(const char* name, Rect r, int id, DWORD style) {
  return addChild(name, "LISTBOX", style | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE, r, id, nullptr);
}

HWND Form::addComboBox(const char* name, Rect r, int id, int dropHeight) {
  // A combo box's height is that of its open list; the closed box takes the font's height.
  return addChild(name, "COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 0, {r.left, r.top, r.width, dropHeight},
                  id, nullptr);
}

void Form::setDefaultButton(int id) {
  if (dialogManager_) SendMessageA(hwnd_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

HWND Form::addProgressBar(const char* name, Rect r) {
  HWND h = CreateWindowExA(0, PROGRESS_CLASSA, "0", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width, r.height, hwnd_,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(h, PBM_SETRANGE32, 0, 100);
  setWindowName(h, name);
  return h;
}

HWND Form::addPanel(const char* name, Rect r, HWND parent, PanelLook look) {
  return createPanel(parent ? parent : hwnd_, name, r, look);
}

HWND Form::addGraphic(const char* name, const std::string& text, Rect r, const Graphic& graphic, HWND parent) {
  return createGraphicControl(parent ? parent : hwnd_, name, text, r, graphic);
}

HWND Form::addLabel(const char* name, const std::string& text, Rect r, HFONT font, COLORREF color, bool transparent,
                    bool wordWrap, HWND parent) {
  Graphic g;
  g.kind = GraphicKind::Label;
  g.font = font;
  g.color = color;
  g.transparent = transparent;
  g.wordWrap = wordWrap;
  return addGraphic(name, text, r, g, parent);
}

HWND Form::addImage(const char* name, Rect r, bool stretch, bool center, HWND parent) {
  Graphic g;
  g.kind = GraphicKind::Image;
  g.stretch = stretch;
  g.center = center;
  return addGraphic(name, "", r, g, parent);
}

HWND Form::addBevel(const char* name, Rect r, HWND parent, bool frame) {
  Graphic g;
  g.kind = GraphicKind::Bevel;
  g.frame = frame;
  return addGraphic(name, "", r, g, parent);
}

HWND Form::addIcon(const char* name, Rect r, HICON icon) {
  Graphic g;
  g.kind = GraphicKind::Icon;
  g.icon = icon;
  return addGraphic(name, "", r, g, nullptr);
}

HWND Form::addGauge(const char* name, Rect r) {
  Graphic g;
  g.kind = GraphicKind::Gauge;
  return addGraphic(name, "0", r, g, nullptr);
}

void Form::setGaugePosition(HWND gauge, int percent) {
  const std::string text = std::to_string(percent < 0 ? 0 : percent > 100 ? 100 : percent);
  if (textOf(gauge) != text) setText(gauge, text);
}

void Form::setPicture(HWND image, HBITMAP bitmap) {
  Graphic& g = graphicOf(image);
  if (g.bitmap) DeleteObject(g.bitmap);
  g.bitmap = bitmap;
  invalidateUnder(image);
}

void Form::setLabelColor(HWND label, COLORREF color) {
  graphicOf(label).color = color;
  invalidateUnder(label);
}

void Form::setLabelAlignRight(HWND label, bool right) {
  graphicOf(label).alignRight = right;
  invalidateUnder(label);
}

void Form::setText(HWND control, const std::string& text) { SetWindowTextA(control, text.c_str()); }

void Form::place(HWND control, Rect r) {
  SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::setVisible(HWND control, bool visible) { ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE); }

std::string Form::textOf(HWND control) {
  const int n = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(control, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

bool Form::onMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void Form::paintBackground(HDC, const RECT&) {}

namespace {
std::function<void(const std::string&)>& errorReport() {
  static std::function<void(const std::string&)> report;
  return report;
}
} // namespace

void Form::setErrorReport(std::function<void(const std::string&)> report) { errorReport() = std::move(report); }

void Form::reportError(const char* message) {
  // The application's error report: the message, ended with a full stop, under the application title.
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  if (errorReport()) return errorReport()(text);
  MessageBoxW(GetActiveWindow(), wideOf(text).c_str(), L"Setup", MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK Form::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    const LRESULT result = form->defaultProc(msg, wp, lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    forms().erase(hwnd);
    form->hwnd_ = nullptr;
    return result;
  }
  return form->dispatch(msg, wp, lp);
}

LRESULT Form::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (onMessage(msg, wp, lp, result)) return result;
  switch (msg) {
  case WM_ERASEBKGND: return 1;
  case WM_PAINT: paint(); return 0;
  case WM_SETCURSOR:
    if (hourglassShown()) {
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      return TRUE;
    }
    break;
  default: break;
  }
  return defaultProc(msg, wp, lp);
}

LRESULT Form::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return dialogManager_ ? DefDlgProcA(hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

void Form::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  // Drawn off screen first, so that the layers do not flicker.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP surface =
      CreateCompatibleBitmap(dc, client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1);
  HGDIOBJ old = SelectObject(buffer, surface);
  FillRect(buffer, &client, brush_);
  paintBackground(buffer, client);
  paintGraphicChildren(hwnd_, buffer);
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(surface);
  DeleteDC(buffer);
  EndPaint(hwnd_, &ps);
}

} // namespace kalvora
