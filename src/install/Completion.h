#pragma once
// The completion dialog Tcomplete without its window: the wait for the new
// program group's window, the closing message, the readme, and the OK action
// (start the installed program, remove the work files, restart or log off,
// end the program).
#include <memory>
#include <string>

#include "model/InstallState.h"
#include "platform/Platform.h"

namespace kalvora {

// What the completion logic asks of its window.
class CompletionHost {
public:
  virtual ~CompletionHost() = default;
  virtual void closeDialog() = 0;
  // Brings the setup program's own window back in front of the group window.
  virtual void bringApplicationToFront() = 0;
};

inline constexpr int kCompleteButtonLeft = 56, kCompleteButtonCentred = 87;
inline constexpr int kGroupWaitSeconds = 6;
inline constexpr std::size_t kForegroundTitleLength = 19;

// Whether a foreground window title (only its first 19 characters count)
// begins with the program group's name, in any letter case. An empty group never matches.
bool titleShowsGroup(const std::string& title, const std::string& group);

// Deletes the work files (setup.tmp, compress.tmp) and the temporary picture;
// a missing file is no error.
void removeWorkFiles(Platform& platform, const InstallState& state);

class Completion {
public:
  Completion(Platform& platform, InstallState& state, CompletionHost& host);

  void FormCreate();
  // setupCopy: the run's script copy, read here and released by the OK action.
  void FormShow(std::unique_ptr<SetupScript>& setupCopy);
  void Btn_completeClick();
  void Btn_readmeClick();
  // Escape or F4 on the OK button performs the OK action; true when handled.
  bool Btn_completeKeyDown(int key);

  // The model the window shows.
  std::string Lbl_complete;
  bool readmeVisible = false;
  bool readmeEnabled = true;
  int completeLeft = kCompleteButtonLeft;
  // /norestart: the restart or log-off the script asks for is not offered, only noted.
  bool offerRestart = true;
  // The restart or log-off the script asks for was not carried out (exit code 3010).
  bool restartDue = false;
  // The system accepted the restart or log-off that this program asked for (exit code 1641).
  bool sessionEnded = false;
  bool finished() const { return done_; }

private:
  void waitForGroupWindow();
  void openReadme();
  std::string read(const std::string& key, const std::string& defaultValue) const;
  std::int32_t readInteger(const std::string& key, std::int32_t defaultValue) const;
  void endSession(std::int32_t reboot);

  Platform& platform_;
  InstallState& state_;
  CompletionHost& host_;
  std::unique_ptr<SetupScript>* setupCopy_ = nullptr;
  bool done_ = false;
};

} // namespace kalvora
