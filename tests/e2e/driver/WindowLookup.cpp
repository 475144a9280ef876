#include "WindowLookup.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "Failure.h"
#include "platform/NoCase.h"

namespace kvdrive {
namespace {

struct WindowSearch {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopWindow(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == s->pid && (!s->visibleOnly || IsWindowVisible(h))) s->found.push_back(h);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND h, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

} // namespace

std::string windowName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(window, "Name")));
  char name[256];
  const UINT n = atom ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
  return std::string(name, n);
}

std::string classOf(HWND window) {
  char name[256];
  const int n = GetClassNameA(window, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string textOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &got);
  text.resize(std::min<std::size_t>(got, length));
  return text;
}

std::string withoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

std::string rectText(const RECT& r) {
  std::ostringstream s;
  s << r.left << ' ' << r.top << ' ' << r.right - r.left << ' ' << r.bottom - r.top;
  return s.str();
}

std::string visibleText(const std::string& s) {
  std::string out;
  for (char c : s)
    out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

std::vector<HWND> topWindowsOf(DWORD processId, bool visibleOnly) {
  WindowSearch search{processId, visibleOnly, {}};
  EnumWindows(collectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string boxText(HWND box) {
  for (HWND child : children(box))
    if (kalvora::sameNoCase(classOf(child), "Static")) {
      const std::string text = textOf(child);
      if (!text.empty()) return text;
    }
  return {};
}

bool isComboBox(HWND h) { return kalvora::sameNoCase(classOf(h), "ComboBox"); }

// Item texts are read in UTF-16: the ANSI forms do not cross processes intact.
std::vector<std::string> itemsOf(HWND h) {
  const bool combo = isComboBox(h);
  const auto count = SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    const auto got = SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, item.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

// Selects an item of a list or combo box by its text as a user's choice would,
// and for "open" double-clicks it.
void chooseItem(HWND h, const std::string& text, bool open) {
  const std::vector<std::string> items = itemsOf(h);
  const auto at = std::find_if(items.begin(), items.end(),
                               [&](const std::string& item) { return kalvora::sameNoCase(item, text); });
  if (at == items.end()) throw Failure("no item \"" + text + "\"");
  const auto index = static_cast<WPARAM>(at - items.begin());
  const bool combo = isComboBox(h);
  SendMessageA(h, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
  const WORD id = static_cast<WORD>(GetDlgCtrlID(h));
  const WORD code = combo ? CBN_SELCHANGE : open ? LBN_DBLCLK : LBN_SELCHANGE;
  if (!combo && open)
    PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
  PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(h));
}

std::string propertyOf(HWND h, const std::string& name) {
  if (name == "text") return textOf(h);
  if (name == "items") {
    std::string joined;
    for (const std::string& item : itemsOf(h))
      joined += (joined.empty() ? "" : "|") + item;
    return joined;
  }
  if (name == "selected") {
    const bool combo = isComboBox(h);
    const auto index = SendMessageA(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    const std::vector<std::string> items = itemsOf(h);
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)] : "";
  }
  if (name == "visible") return IsWindowVisible(h) ? "true" : "false";
  if (name == "enabled") return IsWindowEnabled(h) ? "true" : "false";
  if (name == "checked") return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? "true" : "false";
  if (name == "position") return std::to_string(SendMessageA(h, PBM_GETPOS, 0, 0));
  if (name == "state") return IsIconic(h) ? "minimized" : IsZoomed(h) ? "maximized" : "normal";
  RECT r;
  if (name == "client") {
    GetClientRect(h, &r);
    return std::to_string(r.right) + " " + std::to_string(r.bottom);
  }
  if (name == "rect") {
    GetWindowRect(h, &r);
    if (GetWindowLongA(h, GWL_STYLE) & WS_CHILD)
      MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return rectText(r);
  }
  throw Failure("unknown property " + name);
}

void pressKey(HWND h, const std::string& key) {
  static const std::map<std::string, int> names = {{"Escape", VK_ESCAPE}, {"Enter", VK_RETURN}, {"Tab", VK_TAB},
                                                   {"F3", VK_F3},         {"F4", VK_F4},        {"Space", VK_SPACE}};
  auto it = names.find(key);
  const int vk = it != names.end() ? it->second : std::stoi(key);
  PostMessageA(h, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
  PostMessageA(h, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
}

void reportWindows(const std::vector<HWND>& windows) {
  for (HWND h : windows) {
    std::fprintf(stderr, "  window %s class %s \"%s\" %s\n", windowName(h).c_str(), classOf(h).c_str(),
                 visibleText(textOf(h)).c_str(), IsWindowVisible(h) ? "visible" : "hidden");
    for (HWND c : children(h))
      std::fprintf(stderr, "    %s (%s) \"%s\" %s\n", windowName(c).c_str(), classOf(c).c_str(),
                   visibleText(textOf(c)).c_str(), IsWindowVisible(c) ? "visible" : "hidden");
  }
}

} // namespace kvdrive
