#pragma once
// A wizard on an in-memory medium: setup.inf written as INI text, read by the
// start-up, then the wizard's creation. Every [language] text lN reads "tN".
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "platform/MemoryPlatform.h"
#include "wizard/Leader.h"

namespace kalvora::testing {

inline std::string languageSection() {
  std::string text = "[language]\n";
  for (int n = 1; n <= kTextCount; ++n) {
    const std::string number = std::to_string(n);
    text += 'l';
    text += number;
    text += "=t";
    text += number;
    text += '\n';
  }
  return text;
}

// A platform whose message boxes can run a test's action, as the user
// freeing disk space while a box is up.
class DesktopPlatform : public MemoryPlatform {
public:
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    const MessageResult answer = MemoryPlatform::messageBox(text, caption, buttons, icon);
    if (whileBoxShows) whileBoxShows(static_cast<int>(shownBoxes().size()));
    return answer;
  }
  std::function<void(int boxesShown)> whileBoxShows;
};

class RecordingHost : public LeaderHost {
public:
  void showCancelDialog() override {
    calls.push_back("cancel");
    if (onCancel) onCancel();
  }
  void showFolderDialog() override { calls.push_back("folder"); }
  void hideWizard() override { calls.push_back("hide"); }
  void showInformationDisplay() override { calls.push_back("information"); }
  void showInstallation() override { calls.push_back("installation"); }
  std::vector<std::string> calls;
  std::function<void()> onCancel;
};

struct Wizard {
  // software: lines of the [software] section; rest: further sections; preselect: the choices made before.
  explicit Wizard(const std::string& software, const std::string& rest = "", const Preselection& preselect = {}) {
    platform.setProgramPath("D:\\SETUP.EXE");
    platform.putFile("D:\\setup.inf", "[kalvora]\nversion=220\n" + languageSection() +
                                          "[directories]\nd0=C:\\Apps\\Tool\n[software]\nname=Tool\n" + software +
                                          "\n" + rest);
    StartUp(platform, state).run();
    leader = std::make_unique<Leader>(platform, state, host);
    leader->configurations().preselection = preselect;
    leader->FormCreate();
  }

  Leader& operator*() { return *leader; }
  Leader* operator->() { return leader.get(); }
  WizardControl& operator[](LeaderControl c) { return leader->controls()[c]; }
  // The pages whose panels are visible, as their numbers.
  std::vector<int> visiblePages() {
    std::vector<int> pages;
    for (int page = 1; page <= 6; ++page)
      if (leader->controls()[pagePanel(page)].visible) pages.push_back(page);
    return pages;
  }
  std::size_t boxes() const { return platform.shownBoxes().size(); }
  const MemoryPlatform::ShownBox& lastBox() const { return platform.shownBoxes().back(); }

  DesktopPlatform platform;
  InstallState state;
  RecordingHost host;
  std::unique_ptr<Leader> leader;
};

} // namespace kalvora::testing
