#pragma once
// The wizard's expansion component Cbmp: a TCompress set up as the wizard's
// layout stores it (no directories made, file errors skip, no key).
#include "archive/Compress.h"
#include "wizard/PictureLoading.h"

namespace kalvora {

class CompressExpander : public PictureExpander {
public:
  explicit CompressExpander(Platform& platform) : compress_(platform) {
    compress_.MakeDirectories = false;
    compress_.ExceptionOnFileError = false;
    compress_.Key = 0;
  }
  Status ExpandFile(std::string& FileName, const std::string& ArchiveName) override {
    compress_.OnCheckFile = OnCheckFile;
    compress_.OnShowProgress = OnShowProgress;
    return compress_.ExpandFile(FileName, ArchiveName);
  }

private:
  TCompress compress_;
};

} // namespace kalvora
