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
// knownCrc: the checksum of the bytes just written there whole and checked
// (a stored file's chunk), which spares reading the file back.
std::optional<std::string> fileIdentity(Platform& platform, const std::string& path,
                                        std::optional<std::uint32_t> knownCrc = std::nullopt);

} // namespace kalvora
