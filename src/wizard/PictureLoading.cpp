#include "wizard/PictureLoading.h"

#include "platform/Directories.h"

namespace kalvora {

int loadingPositionFor(int picturePhase, int percentageDone) {
  // base + p * span / 100, rounded to nearest with halves to even.
  int base = 0, span = 0;
  switch (picturePhase) {
  case 4: base = 0, span = 15; break;
  case 2: base = 15, span = 20; break;
  case 3: base = 35, span = 30; break;
  case 1: base = 65, span = 25; break;
  default: return -1;
  }
  const long long scaled = static_cast<long long>(percentageDone) * span; // hundredths
  long long whole = scaled / 100, rest = scaled % 100;
  if (rest < 0) rest += 100, --whole;
  if (rest > 50 || (rest == 50 && ((base + whole) & 1) != 0)) ++whole;
  return base + static_cast<int>(whole);
}

bool forceDirectories(Platform& platform, const std::string& path) { return createDirectories(platform, path); }

PictureLoading::PictureLoading(Platform& platform, InstallState& state, PictureLoadingView& view, PictureExpander& Cbmp)
    : platform_(platform), state_(state), view_(view), Cbmp_(Cbmp) {
  Cbmp_.OnCheckFile = [this](std::string& filepath, TCProcessMode mode) { CbmpCheckFile(filepath, mode); };
  Cbmp_.OnShowProgress = [this](std::int32_t& percentage) { CbmpShowProgress(percentage); };
}

void PictureLoading::CbmpCheckFile(std::string& filepath, TCProcessMode) { filepath = kTempPicture; }

void PictureLoading::CbmpShowProgress(std::int32_t& PercentageDone) {
  const int position = loadingPositionFor(PicturePhase, PercentageDone);
  if (position >= 0) view_.setLoadingPosition(position);
  platform_.processMessages();
}

Result<bool> PictureLoading::loadOne(std::string& path, PictureControl control, int phase) {
  if (state_.Setup.CompressionMode == 1 && platform_.fileExists(path)) {
    PicturePhase = phase;
    std::string member = packedPictureMember(path);
    if (Status expanded = Cbmp_.ExpandFile(member, path); !expanded.ok()) return expanded.error();
    path = kTempPicture;
  }
  return platform_.fileExists(path) && view_.loadPicture(control, path);
}

void PictureLoading::finishStep(int position) {
  view_.setLoadingPosition(position);
  platform_.processMessages();
}

Status PictureLoading::run(LeaderLayout& layout) {
  view_.setHourglass(true);
  if (state_.Setup.CompressionMode != 1) view_.setLoadingPosition(7);

  const ScreenSize screen = platform_.screenSize();
  view_.sizeInfoArea(screen.width, screen.height * 2 / 3);
  forceDirectories(platform_, "C:\\temp");

  const bool packed = state_.Setup.CompressionMode == 1;
  const Result<bool> wizardLoaded = loadOne(state_.Setup.WizardPicture, PictureControl::Img_Setup, 4);
  if (!wizardLoaded.ok()) return wizardLoaded.error();
  if (packed && wizardLoaded.value()) platform_.deleteFile(kTempPicture);
  if (!wizardLoaded.value()) narrowWithoutWizardPicture(layout);
  finishStep(15);
  if (platform_.terminated()) return {};

  const Result<bool> infoLoaded =
      loadOne(state_.Setup.InfoPicture, state_.Setup.InfoText == "_" ? PictureControl::i2 : PictureControl::i4, 2);
  if (!infoLoaded.ok()) return infoLoaded.error();
  InfoPictureLoaded = infoLoaded.value();
  if (packed) platform_.deleteFile(kTempPicture);
  finishStep(35);
  if (platform_.terminated()) return {};

  if (const Result<bool> logo = loadOne(state_.Setup.LogoPicture, PictureControl::i3, 3); !logo.ok())
    return logo.error();
  if (packed) platform_.deleteFile(kTempPicture);
  finishStep(65);
  if (platform_.terminated()) return {};

  // The background stays on disk: the background window tiles it from the file at each paint.
  if (const Result<bool> back = loadOne(state_.Setup.BackPicture, PictureControl::i1, 1); !back.ok())
    return back.error();
  finishStep(90);
  if (platform_.terminated()) return {};

  view_.setLoadingPosition(100);
  view_.hideLoadingScreen();
  view_.setHourglass(false);

  const std::string message = state_.Setup.SetupScript->ReadString("software", "msg1", "");
  if (!message.empty())
    platform_.messageBox(message, state_.Setup.SetupScript->ReadString("software", "msg1t", "kalvora"),
                         MessageButtons::Ok, MessageIcon::Information);
  return {};
}

} // namespace kalvora
