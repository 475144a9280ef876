#pragma once
// The folder browser Tdlg_folder without its window: a drive list and a
// directory tree list of the current drive (the path from the root down to the
// current directory, then its subdirectories), the path label, OK and cancel.
// OK puts the current directory into the wizard's directory entry.
#include <functional>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/DialogHost.h"
#include "wizard/Leader.h"

namespace kalvora {

struct FolderDialogLayout {
  int clientWidth = 320, clientHeight = 206;
  Point position{258, 152};
  Rect Panel1{5, 5, 300, 23};
  Rect Label1{4, 4, 283, 13}; // inside Panel1
  Rect DirectoryListBox1{31, 33, 188, 133};
  int itemHeight = 16;
  Rect DriveComboBox1{31, 173, 188, 19};
  Rect Btn_ok{231, 33, 75, 25};
  Rect Btn_abbr{231, 61, 75, 25};
};

struct DirectoryItem {
  std::string name; // "C:\" for the root
  int indent = 0;
  bool open = false; // on the path to the current directory (drawn as an open folder)
};

// A path shortened to fit a width: leading directories give way to "...",
// then the name itself is cut with "...". textWidth measures a text.
std::string shortenedPath(const std::string& path, int width, const std::function<int(const std::string&)>& textWidth);

class FolderBrowser {
public:
  FolderBrowser(Platform& platform, InstallState& state, Leader& leader, DialogHost& host);

  // Points the directory list at drive C:; captions.
  void FormCreate();

  // The drive list: the drives present, and the current one.
  const std::string& drives() const { return drives_; }
  char drive() const { return drive_; }
  // Choosing a drive points the directory list at that drive's current
  // directory. False, and nothing changes, when the drive cannot be read.
  bool chooseDrive(char letter);

  const std::vector<DirectoryItem>& items() const { return items_; }
  // The item of the current directory (the last open one).
  std::size_t currentItem() const { return components_.size(); }
  // Opening an item (double click or Enter) makes it the current directory.
  // False, and nothing changes, when it cannot be read.
  bool openItem(std::size_t index);
  // The full path of the current directory: "C:\" or "C:\A\B".
  std::string directory() const;

  // The path label's text for its width.
  std::string pathLabel(const std::function<int(const std::string&)>& textWidth) const {
    return shortenedPath(directory(), layout.Label1.width, textWidth);
  }

  void Btn_okClick();
  void Btn_abbrClick() { host_.closeDialog(); }

  FolderDialogLayout layout;
  std::string caption; // l9
  std::string Btn_ok = "&Ok";
  std::string Btn_abbr; // l11

private:
  bool pointAt(char drive, std::vector<std::string> components);

  Platform& platform_;
  InstallState& state_;
  Leader& leader_;
  DialogHost& host_;
  std::string drives_;
  char drive_ = 'C';
  std::vector<std::string> components_; // below the root
  std::vector<DirectoryItem> items_;
};

} // namespace kalvora
