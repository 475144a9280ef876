#pragma once
// The rules for the wizard's two free-text entries: the target directory and
// the program group name. They clean the entry, test it, and name the fault;
// the wizard shows the message and keeps the user on the page.
#include <array>
#include <string>

#include "model/InstallState.h"
#include "platform/NoCase.h"

namespace kalvora {

enum class EntryFault {
  None,
  DirectoryCharacters, // one of ? * | " < > in the directory
  NoDrive,             // the directory has no drive part
  NotADriveLetter,     // the drive part is not A: to Z:
  GroupCharacters,     // one of - / ( ) ; : , | " < > in the group name
};

struct DirectoryCheck {
  EntryFault fault = EntryFault::None;
  // Past the characters test the cleaned text goes back into the entry and the
  // drive is known, even when the drive then fails; before it the entry keeps
  // what the user typed.
  bool passedCharacters = false;
  std::string cleaned;
  std::string drive;   // TargetDrive, upper case ("C:", or a \\server\share prefix)
  int driveNumber = 0; // TargetDriveNumber: 1 for A: to 26 for Z:, 0 otherwise
};

struct GroupCheck {
  EntryFault fault = EntryFault::None;
  std::string cleaned; // written back into the entry when there is no fault
};

// Removes leading and trailing characters whose code is 32 or less.
std::string trimControls(const std::string& text);

// 1 for "A:" up to 26 for "Z:" (exact, two characters), 0 for anything else.
int driveNumberOf(const std::string& drive);

DirectoryCheck checkDirectoryEntry(const std::string& entry);
GroupCheck checkGroupEntry(const std::string& entry);

// The text of a fault's message box; texts holds l1..l66 by number. Lines are
// separated by a carriage return. Empty for EntryFault::None.
std::string entryFaultMessage(EntryFault fault, const std::array<std::string, kTextCount + 1>& texts);

} // namespace kalvora
