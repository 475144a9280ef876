#pragma once
// A medium in D:\, a target C:\App and a recording dialog for the run's tests.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "install/InstallRun.h"
#include "platform/MemoryPlatform.h"

namespace kalvora::testing {

// Stops the program at the n-th delivery of messages; runs a hook after each message box.
class RunPlatform : public MemoryPlatform {
public:
  void processMessages() override {
    if (onDelivery) onDelivery();
    MemoryPlatform::processMessages();
    if (messagesProcessed() == quitAt) requestQuit();
  }
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    const MessageResult answer = MemoryPlatform::messageBox(text, caption, buttons, icon);
    if (afterBox) afterBox();
    return answer;
  }
  int quitAt = -1;
  std::function<void()> afterBox, onDelivery;
};

class RecordingView : public InstallView {
public:
  explicit RecordingView(Platform& platform) : platform_(platform) {}
  void moveTop(int t) override { top = t; }
  void setCaption(const std::string& text) override { caption = text; }
  void setItemLabel(const std::string& text) override { labels.push_back(text); }
  void hideItemLabel() override { labelHidden = true; }
  void setItemProgress(int percent) override { item.push_back(percent); }
  void setRunProgress(int percent) override { run.push_back(percent); }
  void disableExit() override { exitDisabled = true; }
  void showCancelConfirmation() override {
    ++confirmations;
    if (confirmCancel) platform_.requestQuit();
  }

  int top = -1;
  std::string caption;
  std::vector<std::string> labels;
  bool labelHidden = false, exitDisabled = false, confirmCancel = true;
  std::vector<int> item, run;
  int confirmations = 0;

private:
  Platform& platform_;
};

class RecordingStages : public RunStages {
public:
  bool associations(RunContext&) override {
    calls.push_back("associations");
    return true;
  }
  bool programGroup(RunContext&, bool fromMedium) override {
    calls.push_back(fromMedium ? "group from medium" : "group");
    return true;
  }
  bool systemChanges(RunContext&) override {
    calls.push_back("system");
    return true;
  }
  void completion(RunContext&) override { calls.push_back("completion"); }
  std::vector<std::string> calls;
};

// An archive of one member, as a compressed chunk or the packed uninstaller is.
inline std::string archiveOf(const std::string& member, const std::string& content) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, "LZH");
  EXPECT_TRUE(writer.ok() &&
              writer.value().addMember(member, std::vector<std::uint8_t>(content.begin(), content.end()), {}).ok() &&
              writer.value().finish().ok());
  return std::string(out.bytes().begin(), out.bytes().end());
}

// The state as the wizard leaves it for a run from D:\ into C:\App with option 1.
inline void prepareRun(InstallState& state, Platform& platform, std::int64_t progressTotal) {
  state.Setup.SourceDir = "D:\\";
  state.Setup.SetupScript = std::make_unique<SetupScript>("D:\\setup.inf", platform);
  state.Choices.TargetDir = "C:\\App";
  state.Run.Pending = true;
  state.Choices.ProgressTotal = progressTotal;
  state.Choices.OptionChosen[0] = true;
}

struct InstallFixture {
  explicit InstallFixture(const std::string& script) {
    platform.putFile("D:\\setup.inf", script);
    platform.putDirectory("C:\\WINDOWS");
    prepareRun(state, platform, 1000000);
    state.Setup.TextTable[10] = "stopping";
    state.Setup.TextTable[14] = "Copying";
    state.Setup.TextTable[19] = "Directories";
    state.Setup.TextTable[20] = "Insert disk ";
  }
  // The error that ended the run, "" when none did.
  std::string activate() {
    const std::optional<Exception> error = runner.FormActivate();
    return error ? error->what() : "";
  }
  RunContext& run() { return runner.context(); }
  // The error the run recorded, "" when none.
  std::string error() { return run().Error ? run().Error->what() : ""; }
  std::string log(const std::string& section, const std::string& key) {
    return platform.readProfileString("C:\\App\\setup\\uninst.log", section, key, "<none>");
  }
  std::string file(const std::string& path) { return platform.fileContent(path).value_or("<none>"); }

  RunPlatform platform;
  InstallState state;
  RecordingView view{platform};
  RecordingStages stages;
  InstallRun runner{state, platform, view, stages};
};

} // namespace kalvora::testing
