#pragma once
// What an installed file was when the run left it, as the log's id<n> records
// hold it: "SIZE DOSTIME CRC32" (size in decimal, time and checksum as 8 hex
// digits). The uninstaller removes a file only while it still has this identity.
#include <cstdint>
#include <optional>
#include <string>

#include "archive/ChecksummedOutput.h"
#include "platform/Platform.h"

namespace kalvora {

// The identity of the file at path; none when it cannot be read whole.
// What the run just wrote there, whole (a stored file's checked chunk, what an
// expansion wrote), spares reading the file back while the file has its size.
std::optional<std::string> fileIdentity(Platform& platform, const std::string& path,
                                        std::optional<WrittenContent> known = std::nullopt);

} // namespace kalvora
