#pragma once
// A text file the uninstaller changes (a start-up file, an INI file) is
// written whole beside itself, flushed, and moved over the old one, so that a
// failure or a power cut at any moment leaves the old file or the new one,
// never one cut short.
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// Replaces path's content with text, keeping its attributes; false, with the
// file as it was, when that is refused.
bool rewriteFile(Platform& platform, const std::string& path, const std::string& text);

} // namespace kalvora
