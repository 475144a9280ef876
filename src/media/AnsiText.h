#pragma once
// The setup program reads setup.inf, archive member names and file names as
// single-byte Windows-1252 ("ANSI") text; project files and the names of the
// files on this system are usually UTF-8. These helpers convert between them.
#include <optional>
#include <string>
#include <string_view>

namespace kalvora::media {

bool isValidUtf8(std::string_view text);

// Windows-1252 bytes for a UTF-8 text; nullopt when a character has no
// Windows-1252 form (or the text is not UTF-8).
std::optional<std::string> utf8ToAnsi(std::string_view text);

// UTF-8 for Windows-1252 bytes (for messages and listings).
std::string ansiToUtf8(std::string_view text);

// Why Windows refuses a file name (one path component, in ANSI), or nullopt
// when the name is acceptable, also as a value of setup.inf.
std::optional<std::string> fileNameFault(std::string_view name);

} // namespace kalvora::media
