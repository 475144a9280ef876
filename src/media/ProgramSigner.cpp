#include "media/ProgramSigner.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "media/Project.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace kalvora::media {
namespace fs = std::filesystem;
namespace {

const char* const kPlaceholders[] = {"{file}", "{out}", "{name}"};

std::string quoted(const std::string& text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string out = "'";
  for (char c : text)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
#endif
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The exit status of a command run by std::system, or -1 when it could not run or was killed.
int exitStatus(int raw) {
#ifdef _WIN32
  return raw;
#else
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

bool startsLikeProgram(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

} // namespace

std::string signCommandFault(const std::string& command) {
  if (command.find("{file}") == std::string::npos)
    return "the sign command needs {file}, the program to sign (e.g. \"osslsigncode sign -pkcs12 key.p12 -in "
           "{file} -out {out}\")";
  for (auto at = command.find('{'); at != std::string::npos; at = command.find('{', at + 1)) {
    bool known = false;
    for (const char* p : kPlaceholders)
      known = known || command.compare(at, std::string(p).size(), p) == 0;
    if (!known) {
      const auto end = command.find('}', at);
      return "unknown placeholder " + command.substr(at, end == std::string::npos ? 1 : end - at + 1) +
             " in the sign command; use {file}, {out} and {name}";
    }
  }
  return "";
}

std::optional<fs::path> signProgram(const std::string& command, const std::string& where, const fs::path& projectDir,
                                    const fs::path& program, const std::string& name, const fs::path& workDir,
                                    Diagnostics& diag) {
  std::error_code ec;
  fs::create_directories(workDir, ec);
  const fs::path copy = workDir / name;
  const fs::path out = workDir / (name + ".signed");
  fs::copy_file(program, copy, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    diag.error(utf8Of(program), "cannot copy it for signing: " + ec.message());
    return std::nullopt;
  }
  const bool separateOut = command.find("{out}") != std::string::npos;
  std::string line = replaceAll(command, "{file}", quoted(copy.string()));
  line = replaceAll(line, "{out}", quoted(out.string()));
  line = replaceAll(line, "{name}", quoted(name));
  // The command's own output goes to standard error: the tool's standard
  // output ends with the medium's path, which scripts read.
#ifdef _WIN32
  const std::string shell = "cd /d " + quoted(projectDir.string()) + " && " + line + " 1>&2";
#else
  const std::string shell = "cd " + quoted(projectDir.empty() ? "." : projectDir.string()) + " && (" + line + ") 1>&2";
#endif
  std::fflush(nullptr);
  const int status = exitStatus(std::system(shell.c_str()));
  if (status != 0) {
    diag.error(where, "the sign command failed for " + name +
                          (status < 0 ? " (it could not run or was stopped)"
                                      : " (exit status " + std::to_string(status) + ")"));
    return std::nullopt;
  }
  const fs::path signedProgram = separateOut ? out : copy;
  if (!startsLikeProgram(signedProgram)) {
    diag.error(where, "the sign command left no program for " + name + " at " + utf8Of(signedProgram));
    return std::nullopt;
  }
  return signedProgram;
}

} // namespace kalvora::media
