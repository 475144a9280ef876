#include "wizard/EntryRules.h"

#include "platform/Paths.h"

namespace kalvora {

namespace {

// A drive letter and colon alone name no directory on the drive: no drive part.
std::string entryDrivePart(const std::string& entry) {
  return entry.size() == 2 && entry[1] == ':' ? std::string() : driveOfPath(entry);
}

void replaceAll(std::string& text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
}

bool containsAnyOf(const std::string& text, const char* characters) {
  return text.find_first_of(characters) != std::string::npos;
}

// The message's middle line lists the refused characters separated by blanks.
std::string spaced(const std::string& characters) {
  std::string line;
  for (char c : characters) {
    if (!line.empty()) line += ' ';
    line += c;
  }
  return line;
}

const char* const kDirectoryRefused = "?*|\"<>";
const char* const kGroupRefused = "-/();:,|\"<>";

} // namespace

std::string trimControls(const std::string& text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && isControl(text[begin]))
    ++begin;
  while (end > begin && isControl(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

int driveNumberOf(const std::string& drive) {
  if (drive.size() != 2 || drive[1] != ':' || drive[0] < 'A' || drive[0] > 'Z') return 0;
  return drive[0] - 'A' + 1;
}

DirectoryCheck checkDirectoryEntry(const std::string& entry) {
  DirectoryCheck check;
  std::string text = trimControls(entry);
  replaceAll(text, ' ', '_');
  if (containsAnyOf(text, kDirectoryRefused)) {
    check.fault = EntryFault::DirectoryCharacters;
    return check;
  }
  check.cleaned = text;
  check.passedCharacters = true;
  check.drive = upperCaseAnsi(entryDrivePart(text));
  check.driveNumber = driveNumberOf(check.drive);
  if (check.drive.empty())
    check.fault = EntryFault::NoDrive;
  else if (check.driveNumber == 0)
    check.fault = EntryFault::NotADriveLetter;
  return check;
}

GroupCheck checkGroupEntry(const std::string& entry) {
  GroupCheck check;
  std::string text = trimControls(entry);
  replaceAll(text, ' ', '_');
  replaceAll(text, '*', '_');
  replaceAll(text, '?', '_');
  if (containsAnyOf(text, kGroupRefused))
    check.fault = EntryFault::GroupCharacters;
  else
    check.cleaned = text;
  return check;
}

std::string entryFaultMessage(EntryFault fault, const std::array<std::string, kTextCount + 1>& texts) {
  const std::string& last = texts[3];
  switch (fault) {
  case EntryFault::DirectoryCharacters: return texts[2] + "\r" + spaced(kDirectoryRefused) + "\r" + last;
  case EntryFault::NoDrive: return texts[4] + "\r" + last;
  case EntryFault::NotADriveLetter: return texts[5] + "\r" + last;
  case EntryFault::GroupCharacters: return texts[6] + "\r" + spaced(kGroupRefused) + "\r" + last;
  case EntryFault::None: break;
  }
  return {};
}

} // namespace kalvora
