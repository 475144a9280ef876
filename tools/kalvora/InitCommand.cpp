// kalvora init: a small project to start from, which builds and installs as it is.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Command.h"
#include "media/Project.h"
#include "platform/Errors.h"

namespace kalvora::tool {
namespace {

namespace fs = std::filesystem;

const char* const kHelp = "usage: kalvora init DIR\n"
                          "\n"
                          "Writes a small project into DIR (created when missing; it must be empty):\n"
                          "  product.kvp          the project file, every key commented\n"
                          "  program/hello.bat    a placeholder program, to replace with your own files\n"
                          "  readme.txt           the readme shown at the end of the setup\n"
                          "It builds as it is (`kalvora build DIR/product.kvp`) into DIR/medium, whose\n"
                          "setup.exe installs the placeholder with a program group and an uninstaller.\n"
                          "\n"
                          "  -h, --help shows this text\n"
                          "\n"
                          "Exit status: 0 written, 1 DIR is not empty or cannot be written (nothing is\n"
                          "changed), 2 a bad command line.\n";

const char* const kProject = R"(; A kalvora project: `kalvora build product.kvp` makes the medium,
; `kalvora check product.kvp` checks this file without writing anything.
; docs/project-file.md describes every section and key; docs/texts.md the texts.
; Comments are whole lines; a value is the rest of its line.

[build]
; Where the medium goes, relative to this file.
output = medium
; floppy-1.44, floppy-1.2, cd, unlimited (one directory), disks or directory.
medium = unlimited
; none, rle or lzh.
compression = lzh
; The built-in set of [language] texts; none writes only your own.
language = english
; Shown (or offered) at the end of the setup, see readmestart below.
readme = readme.txt
; Uncomment to fail the build when setup.exe or the uninstaller is missing.
; strict = yes
; Uncomment to sign setup.exe and the uninstaller ({file} is the program):
; sign = osslsigncode sign -pkcs12 key.p12 -readpass pass.txt -in {file} -out {out}

; The files of option 1: DIRECTORY-NUMBER = SOURCE (a file, a glob or a folder).
; 0 is the target directory itself.
[files_1]
0 = program/hello.bat

[software]
; The name in the list of installed programs; keep it once released.
name = My Product
name_display = My Product 1.0
; The proposed program group.
prggrp = My Product
; Offer the standard configuration only, with option 1.
o_standard = 1
Opt1_name = Program files
Opt1_standard = 1
Opt1_prgitem = 1
; 2: offer a button for the readme at the end.
readmestart = 2
; Install the uninstaller and enter the product in the list of installed programs.
uniyes = 1
CP = 1

[kalvora]
versionname = 1.0

[main]
; The three title lines of the background window.
l1 = My Product
l2 = Version 1.0
l3 = Setup

[vercheck]
; This release's version number: a later one replaces it.
version = 100
old = 1

[directories]
; The proposed target directory.
d0 = C:\MYPRODUCT

[prggrp]
; The program group's items: caption, option and file (by name or number).
total = 1
p1 = Hello
o1 = 1
f1 = hello.bat
; Add an item that removes the product.
uninst = 1

[language]
; Any text of the built-in set can be replaced here, e.g.:
; l21 = My Product is ready. Have fun!
)";

const char* const kProgram = "@echo off\r\n"
                             "rem A placeholder for the program: replace program/ with your own files.\r\n"
                             "echo Hello from My Product.\r\n"
                             "pause\r\n";

const char* const kReadme = "My Product 1.0\r\n"
                            "\r\n"
                            "This readme is shown at the end of the setup. Say here what the product\r\n"
                            "does, what it needs and how to reach you.\r\n";

void writeText(const fs::path& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) throw Exception("cannot write " + media::utf8Of(path));
}

int runInit(const std::vector<std::string>& args) {
  if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-')) throw UsageError("give one directory");
  const fs::path dir = media::pathFromUtf8(args[0]);
  std::error_code ec;
  if (fs::exists(dir, ec) && (!fs::is_directory(dir, ec) || !fs::is_empty(dir, ec))) {
    std::fprintf(stderr, "kalvora init: %s is not an empty directory; nothing was written\n", args[0].c_str());
    return 1;
  }
  fs::create_directories(dir / "program", ec);
  if (ec) throw Exception("cannot create " + media::utf8Of(dir / "program") + ": " + ec.message());
  writeText(dir / "product.kvp", kProject);
  writeText(dir / "program" / "hello.bat", kProgram);
  writeText(dir / "readme.txt", kReadme);
  std::printf("%s\n", media::utf8Of(dir / "product.kvp").c_str());
  return 0;
}

} // namespace

KALVORA_COMMAND({"init", "write a small project to start from", kHelp, runInit});

} // namespace kalvora::tool
