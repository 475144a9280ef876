#include "media/AnsiText.h"

#include <array>
#include <cstdint>

#include "platform/Paths.h"

namespace kalvora::media {
namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F; 0 where the byte is unassigned.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at text[i]; advances i. Returns false on malformed input.
bool decodeOne(std::string_view text, std::size_t& i, char32_t& out) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    out = lead;
    ++i;
    return true;
  }
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07u;
  } else {
    return false;
  }
  if (text.size() - i <= static_cast<std::size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  // Overlong forms, surrogates and values beyond Unicode are malformed.
  static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  out = cp;
  i += static_cast<std::size_t>(extra) + 1;
  return true;
}

std::optional<char> ansiOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(static_cast<unsigned char>(cp));
  for (std::size_t b = 0; b < kHighControls.size(); ++b)
    if (kHighControls[b] != 0 && kHighControls[b] == cp) return static_cast<char>(static_cast<unsigned char>(0x80 + b));
  return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

} // namespace

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    if (!decodeOne(text, i, cp)) return false;
  }
  return true;
}

std::optional<std::string> utf8ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    if (!decodeOne(text, i, cp)) return std::nullopt;
    const auto c = ansiOf(cp);
    if (!c) return std::nullopt;
    out += *c;
  }
  return out;
}

std::string ansiToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kHighControls[b - 0x80] != 0 ? kHighControls[b - 0x80] : U'?';
    appendUtf8(out, cp);
  }
  return out;
}

std::optional<std::string> fileNameFault(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > 255) return "the name is longer than 255 characters";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32) return "the name holds a control character";
    if (std::string_view("<>:\"/\\|?*").find(ch) != std::string_view::npos)
      return std::string("the name holds the character ") + ch + ", which Windows refuses";
  }
  if (name.front() == ' ') return "the name begins with a blank";
  if (name.back() == ' ' || name.back() == '.') return "the name ends with a blank or a dot";
  if (name == "[leer]") return "the name [leer] would end the setup's file list";
  if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'')
    return "a name in single quotes loses them when setup.inf is read";
  if (isDeviceName(name)) return "the name is reserved for a device on Windows";
  return std::nullopt;
}

} // namespace kalvora::media
