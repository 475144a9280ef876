#pragma once
// The built-in text sets beyond English and German, one file each
// (TextSetFrench.cpp, ...): every key l1 to l61 and l63 to l66, in key order,
// in UTF-8 of characters that Windows-1252 holds.
#include <cstddef>

namespace kalvora::media {

struct KeyedText {
  int key;
  const char* text;
};

inline constexpr std::size_t kTextKeyCount = 65;

extern const KeyedText kFrenchTexts[kTextKeyCount];
extern const KeyedText kSpanishTexts[kTextKeyCount];
extern const KeyedText kItalianTexts[kTextKeyCount];
extern const KeyedText kDutchTexts[kTextKeyCount];
extern const KeyedText kPortugueseTexts[kTextKeyCount];
extern const KeyedText kSwedishTexts[kTextKeyCount];
extern const KeyedText kDanishTexts[kTextKeyCount];
extern const KeyedText kNorwegianTexts[kTextKeyCount];
extern const KeyedText kFinnishTexts[kTextKeyCount];

} // namespace kalvora::media
