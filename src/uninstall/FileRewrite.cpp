#include "uninstall/FileRewrite.h"

namespace kalvora {

bool rewriteFile(Platform& platform, const std::string& path, const std::string& text) {
  const auto info = platform.fileInfo(path);
  if (!info || info->isDirectory || (info->attributes & kAttrReadOnly)) return false;
  // Beside the file, so that the move stays on its volume; a name no setup writes.
  const std::string beside = path + ".kv~";
  if (platform.fileExists(beside) && !platform.deleteFile(beside)) return false;
  bool written = false;
  if (auto file = platform.openFile(beside, OpenMode::Create))
    written = file->write(text.data(), text.size()) == text.size() && file->flush();
  if (!written || !platform.moveFile(beside, path)) {
    platform.deleteFile(beside);
    return false;
  }
  // A start-up file may be hidden or a system file; the new one is as the old one was.
  if (info->attributes != kAttrArchive) platform.setFileAttributes(path, info->attributes);
  return true;
}

} // namespace kalvora
