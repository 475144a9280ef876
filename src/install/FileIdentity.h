#pragma once
// What an installed file was when the run left it, as the log's id<n> records
// hold it: "SIZE DOSTIME CRC32" (size in decimal, time and checksum as 8 hex
// digits). The uninstaller removes a file only while it still has this identity.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// The identity of the file at path; none when it cannot be read whole.
// What the run just wrote there, whole: its CRC-32 and size (a stored file's
// checked chunk, an expansion worked out ahead). It spares reading the file
// back while the file's size is that size.
struct KnownContent {
  std::uint32_t crc32 = 0;
  std::int64_t size = 0;
};
std::optional<std::string> fileIdentity(Platform& platform, const std::string& path,
                                        std::optional<KnownContent> known = std::nullopt);

} // namespace kalvora
