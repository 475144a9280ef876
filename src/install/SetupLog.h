#pragma once
// setup.log: a plain-text account of what the run did, for people: one short,
// greppable line per action ("12:04:33 file C:\App\x.exe"), kept in the work
// directory beside uninst.log. Lines written before the file is opened are
// held and written first once it is. The log never stops the run: a file that
// cannot be written is simply not kept.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace kalvora {

class SetupLog {
public:
  // Opens (appending to) path and writes the lines held so far.
  void open(const std::string& path, Platform& platform);
  void close() { file_.reset(); }
  bool isOpen() const { return file_ != nullptr; }

  // One line: the time of day, the kind of action and what it concerns.
  // Views: the kinds are literals, made into a string here rather than at every call.
  void line(std::string_view kind, std::string_view what);
  // The lines so far, for tests and for a copy elsewhere.
  const std::vector<std::string>& lines() const { return lines_; }

  void setClock(Platform& platform) { platform_ = &platform; }
  // Every line from now on also goes to copy (the file of a /log switch). The
  // stream is shared, so that several logs of one program write into it in turn.
  void alsoWriteTo(std::shared_ptr<Stream> copy) { copy_ = std::move(copy); }
  bool copying() const { return copy_ != nullptr; }

private:
  void put(const std::string& text);

  Platform* platform_ = nullptr;
  std::unique_ptr<Stream> file_;
  std::shared_ptr<Stream> copy_;
  std::vector<std::string> lines_;
};

} // namespace kalvora
