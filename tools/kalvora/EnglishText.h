#pragma once
// The archive and file layers report their run-time errors in the German
// texts that setup.exe shows. The tool speaks English throughout: it says the
// same things in English at its own boundary, where every message is printed.
#include <string>

namespace kalvora::tool {

// text with each run-time error text in it put in English; other text unchanged.
std::string inEnglish(std::string text);

} // namespace kalvora::tool
