#pragma once
// Every operation of the portable core on the operating system goes through
// this interface: a Win32 implementation (the real API), a POSIX one (native
// builds and the kalvora tool) and an in-memory one for tests.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Stream.h"
#include "platform/Worker.h"

namespace kalvora {

enum class OpenMode {
  ReadExclusive, // read only; other openers are denied while it is open
  ReadWrite,     // an existing file, for reading and writing
  Create,        // create, or truncate an existing file
  ReadShared,    // read only; other readers are allowed meanwhile
};

// Windows file attribute bits, as archives store them.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

// Registry roots the program reads and writes.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// Message boxes: the platform's own, with these buttons and icons.
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Exclamation, Error };
enum class MessageResult { Ok, Cancel, Yes, No };

// How the Windows session ends at the close of a setup that asks for it.
enum class SessionEnd { Restart, LogOff };

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// Calendar fields of a local time.
struct DosTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// What a shell link (a .lnk file) starts.
struct ShellLink {
  std::string target, arguments, workingDirectory;
};

struct FileInfo {
  std::int64_t size = 0;
  std::uint32_t dosDateTime = 0; // last write, local time: DOS date << 16 | DOS time
  std::uint32_t attributes = 0;  // FileAttribute bits
  bool isDirectory = false;
};

class Platform {
public:
  virtual ~Platform() = default;

  // INI files, with the matching and default rules of GetPrivateProfileStringA:
  // the result holds at most 1023 characters.
  virtual std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& defaultValue) = 0;
  // False when the write is refused.
  virtual bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) = 0;

  // Files and directories. openFile returns nullptr when the file cannot be opened.
  virtual std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) = 0;
  virtual std::optional<FileInfo> fileInfo(const std::string& path) = 0;
  virtual bool createDirectory(const std::string& path) = 0; // one level; parents must exist
  virtual bool deleteFile(const std::string& path) = 0;
  virtual bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) = 0;
  virtual bool setFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // Copies a file, replacing an existing target; false when it fails. The
  // default reads the whole source before the target is truncated.
  virtual bool copyFile(const std::string& source, const std::string& target);
  // Moves source to target, replacing a file there, and returns once the move
  // is on disk: a power cut then leaves the target either as it was or as
  // source was, never a mix. False when refused (a read-only target, one that
  // stays open, a target on another volume); a target open for a moment only
  // (a virus scanner's look) is waited for.
  virtual bool moveFile(const std::string& source, const std::string& target);
  // The Windows directory, without a trailing backslash.
  virtual std::string windowsDirectory() { return "C:\\WINDOWS"; }

  // Free bytes of the drive holding path: the drive letter when path starts
  // with "X:", otherwise the current drive; -1 when it cannot be determined.
  virtual std::int64_t freeDiskSpace(const std::string& path) = 0;
  // The current drive's letter, upper case ('C' where drives are not known).
  virtual char currentDrive() = 0;

  // The drive and directory lists of the folder browser.
  // Letters of the drives present, upper case, in alphabetical order.
  virtual std::string driveLetters() { return std::string(1, currentDrive()); }
  // The current directory of a drive as a full path ("X:\" when none is known).
  virtual std::string driveCurrentDirectory(char drive) { return std::string(1, drive) + ":\\"; }
  // Names of the subdirectories of dir, in no particular order, without "." and "..";
  // nothing when dir cannot be listed (a missing directory, a drive not ready).
  virtual std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) {
    (void)dir;
    return std::nullopt;
  }

  // Gives other threads of the system a turn (a zero-length sleep).
  virtual void yield() {}

  // Work beside the caller: a worker thread running job, which gets the
  // worker; none where the platform gives none or the system has a single
  // processor (then nothing runs).
  virtual std::unique_ptr<Worker> startWorker(WorkerJob job);
  // A file opened by a worker's job for reading, shared with other readers;
  // none when it cannot be opened or the platform gives no workers. Safe to
  // call from a worker's thread, unlike every other call here.
  virtual std::unique_ptr<Stream> openFileForWorker(const std::string& path);

  // The desktop. The defaults suit programs without windows (the tool): no
  // registry, nothing started, every message box answered with its first button.

  // A string value of an existing key, opened (never created) with full access.
  // Empty when the key cannot be opened or the value is missing. keyPath may start with "\".
  virtual std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                        const std::string& valueName);
  // Writes a string value, creating the key and its parents; false when refused.
  virtual bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                   const std::string& value);
  // A number value (REG_DWORD) of an existing key; none when missing or of another type.
  virtual std::optional<std::uint32_t> readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                         const std::string& valueName);
  // Writes a number value (REG_DWORD), creating the key and its parents; false when refused.
  virtual bool writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                  std::uint32_t value);
  // Whether a value of any type exists (a key that cannot be read holds none).
  virtual bool registryValueExists(RegistryRoot root, const std::string& keyPath, const std::string& valueName);
  // Creates a key with its missing parents (an existing key is kept); false when refused.
  virtual bool createRegistryKey(RegistryRoot root, const std::string& keyPath);
  // Whether a key exists (it can be opened for reading).
  virtual bool registryKeyExists(RegistryRoot root, const std::string& keyPath);
  // Program Manager commands ("[CreateGroup(...)]" lines) to the shell's DDE
  // service "Progman" in one execute transaction; when no server answers,
  // Progman is started minimised and asked again for a few seconds. False
  // when undelivered or refused; never waits long.
  virtual bool sendShellCommands(const std::string& commands);
  // The Start Menu's Programs folder of all users (common) or of the current
  // user, without a trailing backslash; empty when the system has none.
  virtual std::string programsFolder(bool common) {
    (void)common;
    return {};
  }
  // What the shell link at path starts; nothing when it cannot be read.
  virtual std::optional<ShellLink> readShellLink(const std::string& path) {
    (void)path;
    return std::nullopt;
  }
  // Writes a shell link at path, replacing one that is there; false when refused.
  virtual bool writeShellLink(const std::string& path, const ShellLink& link) {
    (void)path;
    (void)link;
    return false;
  }
  // Starts a command line in a normally shown window without waiting (WinExec); false when refused.
  virtual bool startProgram(const std::string& commandLine);
  // The same with the program's window hidden.
  virtual bool startHiddenProgram(const std::string& commandLine) { return startProgram(commandLine); }
  // The same, waiting until the program has ended: its exit code; nothing when
  // refused. The default only starts it and reports 0, for platforms whose
  // programs are done once started (the in-memory one).
  virtual std::optional<std::uint32_t> runHiddenProgram(const std::string& commandLine) {
    return startHiddenProgram(commandLine) ? std::optional<std::uint32_t>(0) : std::nullopt;
  }
  // Lines within text are separated by "\r".
  virtual MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                   MessageIcon icon);
  // Full path of the running program's file.
  virtual std::string programPath() { return {}; }
  virtual ScreenSize screenSize() { return {640, 480}; }
  // Lets pending window messages be processed; a quit request seen here sets terminated().
  virtual void processMessages() {}
  // The same for a loop that delivers messages after every block of work. Where
  // asking the system costs a round trip each time (Win32), messages are
  // processed only every few tens of milliseconds, and the call is free between.
  virtual void processMessagesBetweenBlocks() { processMessages(); }
  // Title of the window in the foreground; empty when there is none.
  virtual std::string foregroundWindowTitle() { return {}; }
  // Whole seconds of a clock that never runs backwards (unlike the time of day at midnight).
  virtual std::int64_t clockSeconds() = 0;
  // The local date and time of day, for logs.
  virtual DosTime localTime();
  // Restarts the computer (not forced) or logs the user off; false when refused.
  virtual bool endSession(SessionEnd how) {
    (void)how;
    return false;
  }
  // Removal, for the uninstaller: each call takes away one thing and leaves
  // anything that still holds more. The defaults remove nothing.
  // Removes an empty directory; false when it holds anything, is missing or is refused.
  virtual bool removeDirectory(const std::string& path);
  // The entry names of an INI section in file order (the first section of that name).
  virtual std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section);
  // Deletes one INI entry; false when refused.
  virtual bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key);
  // Deletes a registry value; true when it is gone afterwards (a missing one included).
  virtual bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName);
  // Deletes a key that holds neither values nor subkeys; false otherwise.
  virtual bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath);
  // The directory for temporary files, without a trailing backslash.
  virtual std::string tempDirectory();

  // Takes the lock that lets one setup.exe or unkalvora.exe run at a time, held
  // until the process ends; false when another one holds it. A program that
  // the holder starts (its rollback, an older copy's removal) shares the
  // holder's lock. The default has no other installers: true.
  virtual bool takeInstallerLock() { return true; }
  // The command line that undoes the installation under way, started should
  // the program fault before it ends (a fault of its own, memory exhausted);
  // empty when nothing is to be undone. The default faults without it.
  virtual void prepareFaultRollback(const std::string& /*commandLine*/) {}

  // Posts the quit request.
  virtual void requestQuit() { quitRequested_ = true; }
  // True once the quit request has been seen: a stop check tests this.
  virtual bool terminated() { return quitRequested_; }

protected:
  bool quitRequested_ = false;

public:
  bool fileExists(const std::string& path) {
    auto info = fileInfo(path);
    return info && !info->isDirectory;
  }
  bool directoryExists(const std::string& path) {
    auto info = fileInfo(path);
    return info && info->isDirectory;
  }
  // A whole file read into memory; none when it cannot be opened or read.
  std::optional<std::string> readFileText(const std::string& path);
  // Creates or truncates the file and writes text; false when refused or cut short.
  bool writeFileText(const std::string& path, const std::string& text);
};

// The platform of the running program: Win32 on Windows, POSIX elsewhere.
Platform& systemPlatform();

// Drive letter of a path that starts with "X:" (upper case), if any.
std::optional<char> driveLetterOf(const std::string& path);

// A path as one argument of a command line: in double quotes when it holds a
// blank, which would otherwise split it, and unchanged otherwise.
std::string commandLineArgument(const std::string& path);

// DOS packed date and time <-> calendar fields (local time).
DosTime unpackDosDateTime(std::uint32_t dosDateTime);
std::uint32_t packDosDateTime(const DosTime& t);

} // namespace kalvora
