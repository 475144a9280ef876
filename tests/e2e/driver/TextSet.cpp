#include "TextSet.h"

#include "Failure.h"
#include "media/AnsiText.h"
#include "media/BuiltinTexts.h"

namespace kvdrive {

std::map<std::string, std::string> builtinTextSet(const std::string& language, const std::string& product) {
  const auto named = kalvora::media::textLanguageNamed(language);
  if (!named) throw Failure("no built-in texts \"" + language + "\"");
  std::map<std::string, std::string> texts;
  for (const auto& [key, utf8] : kalvora::media::builtinTexts(*named, product)) {
    const auto ansi = kalvora::media::utf8ToAnsi(utf8);
    if (!ansi) throw Failure(key + " of " + language + " has no Windows-1252 form");
    const bool quoted = ansi->size() >= 2 && ansi->front() == '"' && ansi->back() == '"';
    texts[key] = quoted ? ansi->substr(1, ansi->size() - 2) : *ansi;
  }
  return texts;
}

std::string expandTexts(std::string word, const std::map<std::string, std::string>& texts) {
  for (std::size_t at = 0; (at = word.find("${l", at)) != std::string::npos;) {
    const std::size_t end = word.find('}', at);
    if (end == std::string::npos) break;
    const std::string key = word.substr(at + 2, end - at - 2);
    const auto text = texts.find(key);
    if (text == texts.end()) throw Failure("no text " + key + " (texts LANGUAGE PRODUCT names the set)");
    word.replace(at, end + 1 - at, text->second);
    at += text->second.size();
  }
  return word;
}

} // namespace kvdrive
