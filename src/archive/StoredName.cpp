#include "archive/StoredName.h"

#include <algorithm>
#include <vector>

#include "platform/Paths.h"

namespace kalvora {
namespace {

std::vector<std::string> splitElements(const std::string& name) {
  std::vector<std::string> elements(1);
  for (char c : name) {
    if (c == '\\' || c == '/')
      elements.emplace_back();
    else
      elements.back() += c;
  }
  return elements;
}

std::string elementProblem(const std::string& element) {
  if (element == "..") return "contains a '..' component";
  if (isDotsAndBlanks(element)) return "contains the component '" + element + "'";
  if (isDeviceName(element)) return "names the device '" + element + "'";
  return "";
}

} // namespace

StoredNameCheck checkStoredName(const std::string& storedName, char separator) {
  if (storedName.empty()) return {std::nullopt, "has an empty name"};
  if (storedName[0] == '\\' || storedName[0] == '/') return {std::nullopt, "is an absolute path"};
  if (storedName.size() >= 2 && storedName[1] == ':') return {std::nullopt, "names a drive"};
  if (storedName.find(':') != std::string::npos) return {std::nullopt, "contains ':'"};
  if (std::any_of(storedName.begin(), storedName.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return {std::nullopt, "contains a control character"};

  const std::vector<std::string> elements = splitElements(storedName);
  if (elements.back().empty()) return {std::nullopt, "does not end in a file name"};
  std::string path;
  for (const std::string& element : elements) {
    if (element.empty()) continue; // "a\\b" is "a\b"
    const std::string problem = elementProblem(element);
    if (!problem.empty()) return {std::nullopt, problem};
    if (!path.empty()) path += separator;
    path += element;
  }
  return {path, ""};
}

} // namespace kalvora
