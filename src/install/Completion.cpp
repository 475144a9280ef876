#include "install/Completion.h"

#include "platform/NoCase.h"
#include "script/WorkFiles.h"

namespace kalvora {
namespace {
constexpr int kKeyEscape = 27, kKeyF4 = 115;
constexpr std::int32_t kReadmeAtOnce = 1, kReadmeButton = 2;
constexpr std::int32_t kRestart = 1, kLogOff = 2;
} // namespace

bool titleShowsGroup(const std::string& title, const std::string& group) {
  return !group.empty() && startsWithNoCase(title.substr(0, kForegroundTitleLength), group);
}

void removeWorkFiles(Platform& platform, const InstallState& state) {
  deleteRunFiles(platform, state.Choices.TargetDir);
  platform.deleteFile(kTempPicture);
}

Completion::Completion(Platform& platform, InstallState& state, CompletionHost& host)
    : platform_(platform), state_(state), host_(host) {}

void Completion::FormCreate() { Lbl_complete = state_.Setup.TextTable[21]; }

std::string Completion::read(const std::string& key, const std::string& defaultValue) const {
  if (!setupCopy_ || !*setupCopy_) return defaultValue;
  return (*setupCopy_)->ReadString("software", key, defaultValue);
}

std::int32_t Completion::readInteger(const std::string& key, std::int32_t defaultValue) const {
  if (!setupCopy_ || !*setupCopy_) return defaultValue;
  return (*setupCopy_)->ReadInteger("software", key, defaultValue);
}

void Completion::FormShow(std::unique_ptr<SetupScript>& setupCopy) {
  setupCopy_ = &setupCopy;
  Lbl_complete = state_.Setup.TextTable[21] + " ";
  waitForGroupWindow();
  if (platform_.terminated()) return;

  const std::string message = read("msg2", "");
  if (!message.empty())
    platform_.messageBox(message, read("msg2t", "kalvora"), MessageButtons::Ok, MessageIcon::Information);

  const bool readme = platform_.fileExists(state_.Run.ReadmePath);
  const std::int32_t readmeStart = readInteger("readmestart", 0);
  readmeVisible = readme && readmeStart == kReadmeButton;
  if (!readmeVisible) completeLeft = kCompleteButtonCentred;
  if (readme && readmeStart == kReadmeAtOnce) openReadme();
}

void Completion::waitForGroupWindow() {
  if (!state_.Run.GroupItemsCreated) return;
  // A clock that cannot wrap: a wait begun just before midnight still ends.
  const std::int64_t start = platform_.clockSeconds();
  for (;;) {
    platform_.processMessages();
    if (platform_.terminated()) return;
    if (titleShowsGroup(platform_.foregroundWindowTitle(), state_.Choices.ProgramGroup)) break;
    if (platform_.clockSeconds() - start > kGroupWaitSeconds) {
      state_.Run.GroupItemsCreated = false;
      break;
    }
    platform_.yield();
  }
  if (state_.Run.GroupItemsCreated) host_.bringApplicationToFront();
}

void Completion::openReadme() {
  const std::string readme = commandLineArgument(state_.Run.ReadmePath);
  if (!platform_.startProgram("write " + readme)) platform_.startProgram("notepad " + readme);
}

void Completion::Btn_readmeClick() {
  if (done_) return;
  openReadme();
  readmeEnabled = false;
  Btn_completeClick();
}

bool Completion::Btn_completeKeyDown(int key) {
  if (key != kKeyEscape && key != kKeyF4) return false;
  Btn_completeClick();
  return true;
}

void Completion::Btn_completeClick() {
  // A second press (a key while the restart question is open, say) must not
  // start the program twice.
  if (done_) return;
  done_ = true;
  // An empty entry names the target directory itself: there is nothing to start.
  const std::string program = read("run", "");
  if (!program.empty()) platform_.startProgram(state_.Choices.TargetDir + "\\" + program);
  const std::int32_t reboot = readInteger("reboot", 0);
  if (setupCopy_) setupCopy_->reset();

  removeWorkFiles(platform_, state_);

  // Due until carried out: suppressed by /norestart, declined, or refused by the system.
  restartDue = reboot == kRestart || reboot == kLogOff;
  if (reboot != 0 && offerRestart) endSession(reboot);
  platform_.requestQuit();
  host_.closeDialog();
}

void Completion::endSession(std::int32_t reboot) {
  const std::string& declined = state_.Setup.TextTable[8];
  if (platform_.messageBox(state_.Setup.TextTable[7], "kalvora", MessageButtons::OkCancel, MessageIcon::None) !=
      MessageResult::Ok) {
    platform_.messageBox(declined, "Setup", MessageButtons::Ok, MessageIcon::None);
    return;
  }
  if (reboot == kRestart) {
    restartDue = !platform_.endSession(SessionEnd::Restart);
    if (restartDue) platform_.messageBox(declined, "Setup", MessageButtons::Ok, MessageIcon::None);
  } else if (reboot == kLogOff) {
    restartDue = !platform_.endSession(SessionEnd::LogOff);
  }
  sessionEnded = (reboot == kRestart || reboot == kLogOff) && !restartDue;
}

} // namespace kalvora
