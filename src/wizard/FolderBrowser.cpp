#include "wizard/FolderBrowser.h"

#include <algorithm>
#include <cctype>

#include "platform/NoCase.h"
#include "wizard/WizardTexts.h"

namespace kalvora {

namespace {

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) { return lowerCase(a) < lowerCase(b); }

std::string rootOf(char drive) { return std::string(1, drive) + ":\\"; }

std::string joined(char drive, const std::vector<std::string>& components) {
  std::string path = rootOf(drive);
  for (std::size_t i = 0; i < components.size(); ++i)
    path += (i == 0 ? "" : "\\") + components[i];
  return path;
}

} // namespace

std::string shortenedPath(const std::string& path, int width, const std::function<int(const std::string&)>& textWidth) {
  auto fits = [&](const std::string& text) { return textWidth(text) <= width; };
  if (fits(path)) return path;
  const bool hasDrive = path.size() >= 2 && path[1] == ':';
  const std::string drive = hasDrive ? path.substr(0, 2) : std::string();
  const std::vector<std::string> parts = splitPath(hasDrive ? path.substr(2) : path);
  if (parts.empty()) return path;
  // Drop leading directories first, keeping the drive: C:\...\B\C.
  for (std::size_t drop = 1; drop < parts.size(); ++drop) {
    std::string candidate = drive + "\\...";
    for (std::size_t i = drop; i < parts.size(); ++i)
      candidate += "\\" + parts[i];
    if (fits(candidate)) return candidate;
  }
  const std::string& name = parts.back();
  if (fits("...\\" + name)) return "...\\" + name;
  // Then the name itself, cut at the end.
  for (std::size_t keep = name.size(); keep-- > 0;)
    if (fits(name.substr(0, keep) + "...")) return name.substr(0, keep) + "...";
  return "...";
}

FolderBrowser::FolderBrowser(Platform& platform, InstallState& state, Leader& leader, DialogHost& host)
    : platform_(platform), state_(state), leader_(leader), host_(host) {}

void FolderBrowser::FormCreate() {
  drives_ = platform_.driveLetters();
  if (!chooseDrive('C')) {
    // Still show drive C:'s root, empty, so that OK gives a usable path.
    drive_ = 'C';
    components_.clear();
    items_ = {{rootOf('C'), 0, true}};
  }
  caption = wizardText(state_, 9);
  Btn_abbr = wizardText(state_, 11);
}

bool FolderBrowser::chooseDrive(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const std::string current = platform_.driveCurrentDirectory(letter);
  std::vector<std::string> components;
  if (current.size() >= 2 && current[1] == ':' &&
      std::toupper(static_cast<unsigned char>(current[0])) == static_cast<unsigned char>(letter))
    components = splitPath(current.substr(2));
  // A current directory that has gone leaves the drive's root.
  return pointAt(letter, components) || (!components.empty() && pointAt(letter, {}));
}

bool FolderBrowser::openItem(std::size_t index) {
  if (index >= items_.size()) return false;
  std::vector<std::string> components = components_;
  if (index <= components_.size())
    components.resize(index);
  else
    components.push_back(items_[index].name);
  return pointAt(drive_, components);
}

bool FolderBrowser::pointAt(char drive, std::vector<std::string> components) {
  auto subdirectories = platform_.listSubdirectories(joined(drive, components));
  if (!subdirectories) return false;
  std::sort(subdirectories->begin(), subdirectories->end(), lessIgnoringCase);
  drive_ = drive;
  components_ = std::move(components);
  items_.clear();
  items_.push_back({rootOf(drive), 0, true});
  for (std::size_t i = 0; i < components_.size(); ++i)
    items_.push_back({components_[i], static_cast<int>(i) + 1, true});
  const int indent = static_cast<int>(components_.size()) + 1;
  for (const std::string& name : *subdirectories)
    items_.push_back({name, indent, false});
  return true;
}

std::string FolderBrowser::directory() const { return joined(drive_, components_); }

void FolderBrowser::Btn_okClick() {
  leader_.setEntryText(LeaderControl::Edt_verz, directory());
  host_.closeDialog();
}

} // namespace kalvora
