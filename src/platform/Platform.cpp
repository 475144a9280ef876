#include "platform/Platform.h"

#include <cctype>
#include <ctime>

namespace kalvora {

std::optional<std::string> Platform::readRegistryString(RegistryRoot, const std::string&, const std::string&) {
  return std::nullopt;
}

bool Platform::writeRegistryString(RegistryRoot, const std::string&, const std::string&, const std::string&) {
  return false;
}

std::optional<std::uint32_t> Platform::readRegistryDword(RegistryRoot, const std::string&, const std::string&) {
  return std::nullopt;
}

bool Platform::writeRegistryDword(RegistryRoot, const std::string&, const std::string&, std::uint32_t) { return false; }

bool Platform::moveFile(const std::string&, const std::string&) { return false; }

bool Platform::createRegistryKey(RegistryRoot, const std::string&) { return false; }

bool Platform::registryValueExists(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  return readRegistryString(root, keyPath, valueName) || readRegistryDword(root, keyPath, valueName);
}

bool Platform::registryKeyExists(RegistryRoot, const std::string&) { return false; }

bool Platform::sendShellCommands(const std::string&) { return false; }

bool Platform::startProgram(const std::string&) { return false; }

std::unique_ptr<Worker> Platform::startWorker(WorkerJob) { return nullptr; }

std::unique_ptr<Stream> Platform::openFileForWorker(const std::string&) { return nullptr; }

bool Platform::removeDirectory(const std::string&) { return false; }

std::vector<std::string> Platform::readProfileKeys(const std::string&, const std::string&) { return {}; }

bool Platform::deleteProfileKey(const std::string&, const std::string&, const std::string&) { return false; }

bool Platform::deleteRegistryValue(RegistryRoot, const std::string&, const std::string&) { return false; }

bool Platform::deleteEmptyRegistryKey(RegistryRoot, const std::string&) { return false; }

std::string Platform::tempDirectory() { return "C:\\TEMP"; }

DosTime Platform::localTime() {
  const std::time_t now = std::time(nullptr);
  DosTime t;
  if (const std::tm* fields = std::localtime(&now)) {
    t.year = fields->tm_year + 1900;
    t.month = fields->tm_mon + 1;
    t.day = fields->tm_mday;
    t.hour = fields->tm_hour;
    t.minute = fields->tm_min;
    t.second = fields->tm_sec;
  }
  return t;
}

bool Platform::copyFile(const std::string& source, const std::string& target) {
  const auto bytes = readFileText(source);
  return bytes && writeFileText(target, *bytes);
}

std::optional<std::string> Platform::readFileText(const std::string& path) {
  auto in = openFile(path, OpenMode::ReadExclusive);
  if (!in) return std::nullopt;
  const std::int64_t size = in->size();
  if (size < 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  if (in->read(text.data(), text.size()) != text.size()) return std::nullopt;
  return text;
}

bool Platform::writeFileText(const std::string& path, const std::string& text) {
  auto out = openFile(path, OpenMode::Create);
  return out && out->write(text.data(), text.size()) == text.size();
}

MessageResult Platform::messageBox(const std::string&, const std::string&, MessageButtons buttons, MessageIcon) {
  return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
}

std::optional<char> driveLetterOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  return std::nullopt;
}

std::string commandLineArgument(const std::string& path) {
  return path.find_first_of(" \t") == std::string::npos ? path : "\"" + path + "\"";
}

DosTime unpackDosDateTime(std::uint32_t v) {
  DosTime t;
  const std::uint32_t date = v >> 16, time = v & 0xFFFF;
  t.year = 1980 + static_cast<int>(date >> 9);
  t.month = static_cast<int>((date >> 5) & 0x0F);
  t.day = static_cast<int>(date & 0x1F);
  t.hour = static_cast<int>(time >> 11);
  t.minute = static_cast<int>((time >> 5) & 0x3F);
  t.second = static_cast<int>((time & 0x1F) * 2);
  return t;
}

std::uint32_t packDosDateTime(const DosTime& t) {
  if (t.year < 1980) return (1u << 5 | 1u) << 16; // 1980-01-01 00:00:00, DOS's earliest
  const auto date = static_cast<std::uint32_t>(((t.year - 1980) & 0x7F) << 9 | (t.month & 0x0F) << 5 | (t.day & 0x1F));
  const auto time =
      static_cast<std::uint32_t>((t.hour & 0x1F) << 11 | (t.minute & 0x3F) << 5 | ((t.second / 2) & 0x1F));
  return date << 16 | time;
}

} // namespace kalvora
