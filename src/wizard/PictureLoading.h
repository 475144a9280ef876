#pragma once
// The part of the wizard's creation that loads the setup's four pictures,
// expanding packed ones first, and drives the loading screen meanwhile.
#include <functional>
#include <string>

#include "archive/Compress.h"
#include "archive/MemberPaths.h"
#include "model/InstallState.h"
#include "platform/Platform.h"
#include "wizard/LeaderLayout.h"

namespace kalvora {

enum class PictureControl { Img_Setup, i1, i2, i3, i4 };

// What the creation drives: the loading screen, the cursor and the picture controls.
class PictureLoadingView {
public:
  virtual ~PictureLoadingView() = default;
  virtual void setHourglass(bool on) = 0;
  virtual void setLoadingPosition(int position) = 0; // Ttrailer.pr_load
  virtual void hideLoadingScreen() = 0;
  virtual void sizeInfoArea(int width, int height) = 0; // Tmain.i2
  // Loads the bitmap file into the control; false when it is no readable bitmap.
  virtual bool loadPicture(PictureControl control, const std::string& path) = 0;
};

// The expansion component as the wizard uses it: one named member of one archive file.
class PictureExpander {
public:
  virtual ~PictureExpander() = default;
  TFilenameCheckEvent OnCheckFile;
  TShowProgressEvent OnShowProgress;
  virtual Status ExpandFile(std::string& FileName, const std::string& ArchiveName) = 0;
};

// The loading screen's position for an expansion's progress in a picture phase,
// or -1 for an unknown phase (the bar stays).
int loadingPositionFor(int picturePhase, int percentageDone);

// Creates a directory and its missing parents; false when one cannot be made.
bool forceDirectories(Platform& platform, const std::string& path);

class PictureLoading {
public:
  PictureLoading(Platform& platform, InstallState& state, PictureLoadingView& view, PictureExpander& Cbmp);

  // Creation steps 1, 2 and 6 to 10: cursor, bar, information area, C:\temp, the
  // four pictures (narrowing layout without a wizard picture), loading screen
  // hidden, then the script's msg1. An expansion's error ends the steps there.
  Status run(LeaderLayout& layout);

  void CbmpCheckFile(std::string& filepath, TCProcessMode mode);
  void CbmpShowProgress(std::int32_t& PercentageDone);

  int PicturePhase = 0;
  // Whether the information picture was loaded: the background's switch to its
  // information display depends on it when the installation starts.
  bool InfoPictureLoaded = false;

private:
  Result<bool> loadOne(std::string& path, PictureControl control, int phase);
  void finishStep(int position);

  Platform& platform_;
  InstallState& state_;
  PictureLoadingView& view_;
  PictureExpander& Cbmp_;
};

} // namespace kalvora
