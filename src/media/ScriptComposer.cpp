#include "media/ScriptComposer.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "media/AnsiText.h"
#include "media/BuiltinTexts.h"
#include "media/IniDocument.h"
#include "media/ScriptKeys.h"
#include "media/VolumePlan.h"
#include "platform/NoCase.h"
#include "script/SetupScript.h"

namespace kalvora::media {
namespace {

bool agrees(const ComputedKey& c, const std::string& written) {
  if (!c.integer) return sameNoCase(c.value, written);
  const auto w = parseScriptInteger(written); // the setup program's rule
  return w && std::to_string(*w) == c.value;
}

std::int64_t setupInfCompressionSize(const MediumFacts& facts, std::size_t setupInfSize) {
  if (facts.compression == Compression::None) return 0;
  return facts.largestStaged + facts.readmeSize + static_cast<std::int64_t>(setupInfSize);
}

// A [prggrp] or [extensions] fi that names a file instead of its number.
std::string resolveFileReference(const Project& project, const FileSelection& selection, const std::string& section,
                                 const IniEntry& e) {
  if (parseScriptInteger(e.value)) return e.value;
  const std::string number = e.key.substr(1);
  const IniEntry* o = project.entry(section, "o" + number);
  const auto option = o ? parseScriptInteger(o->value)
                        : (sameNoCase(section, "prggrp") ? std::optional<std::int32_t>(1) : std::nullopt);
  if (!option) return e.value;
  int j = 0;
  for (const auto& f : selection.files) {
    if (f.option != *option) continue;
    ++j;
    if (sameNoCase(f.name, e.value)) return std::to_string(j);
  }
  return e.value; // reported by the script checks
}

class Composer {
public:
  Composer(const Project& p, const FileSelection& s, const MediumFacts& f, Diagnostics& d)
      : project_(p), selection_(s), facts_(f), diag_(d) {}

  std::string compose(std::int64_t compressionSize) {
    computed_ = computedKeys(selection_, facts_, compressionSize);
    IniWriter out;
    for (const auto& name : sectionOrder())
      section(out, name);
    for (const auto& s : project_.script)
      if (!s.known) section(out, s.name);
    return out.text();
  }

private:
  void section(IniWriter& out, const std::string& name) {
    const ScriptSection* written = project_.section(name);
    std::vector<const ComputedKey*> computed;
    for (const auto& c : computed_)
      if (c.section == name) computed.push_back(&c);
    if (sameNoCase(name, "language")) return language(out, written);
    if (!written && computed.empty()) return;
    out.section(name);
    const bool allComputed = numberedSection(name, "Option_") >= 1;
    std::vector<bool> used(computed.size(), false);
    if (written) {
      for (const auto& e : written->entries) {
        const auto it = std::find_if(computed.begin(), computed.end(),
                                     [&](const ComputedKey* c) { return sameNoCase(c->key, e.key); });
        if (it == computed.end()) {
          if (allComputed)
            report(e, "is computed from [files_" + name.substr(7) + "], which gives no such entry");
          else
            out.entry(e.key, transformed(name, e));
          continue;
        }
        used[static_cast<std::size_t>(it - computed.begin())] = true;
        if (!agrees(**it, e.value))
          report(e, "is computed as " + (*it)->value + "; the project writes " + ansiToUtf8(e.value));
        else if (!allComputed)
          out.entry(e.key, e.value);
      }
    }
    for (std::size_t i = 0; i < computed.size(); ++i)
      if (allComputed || !used[i]) out.entry(computed[i]->key, computed[i]->value);
  }

  void language(IniWriter& out, const ScriptSection* written) {
    const auto builtin = builtinTexts(project_.language, ansiToUtf8(productName(project_)));
    if (builtin.empty() && !written) return;
    out.section("language");
    for (const auto& [key, text] : builtin) {
      const IniEntry* own = written ? written->find(key) : nullptr;
      out.entry(own ? own->key : key, own ? own->value : utf8ToAnsi(text).value_or(text));
    }
    if (!written) return;
    for (const auto& e : written->entries) {
      const bool isBuiltin =
          std::any_of(builtin.begin(), builtin.end(), [&](const auto& b) { return sameNoCase(b.first, e.key); });
      if (!isBuiltin) out.entry(e.key, e.value);
    }
  }

  std::string transformed(const std::string& section, const IniEntry& e) const {
    const bool reference = (sameNoCase(section, "prggrp") || sameNoCase(section, "extensions")) && e.key.size() > 1 &&
                           (e.key[0] == 'f' || e.key[0] == 'F') && plainNumber(e.key.substr(1));
    return reference ? resolveFileReference(project_, selection_, section, e) : e.value;
  }

  void report(const IniEntry& e, const std::string& what) {
    // The same fault is met once per composing pass; name it once.
    if (reported_.insert({e.line, e.key}).second) diag_.error(project_.where(e.line), e.key + " " + what);
  }

  const Project& project_;
  const FileSelection& selection_;
  const MediumFacts& facts_;
  Diagnostics& diag_;
  std::vector<ComputedKey> computed_;
  std::set<std::pair<int, std::string>> reported_;
};

std::string crc32Text(std::uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
  return text;
}

} // namespace

std::string productName(const Project& project) {
  for (const char* key : {"name_display", "name"})
    if (const IniEntry* e = project.entry("software", key); e && !e->value.empty() && e->value != "_") return e->value;
  return utf8ToAnsi(utf8Of(project.file.stem())).value_or("Setup");
}

std::vector<ComputedKey> computedKeys(const FileSelection& selection, const MediumFacts& facts,
                                      std::int64_t compressionSize) {
  std::vector<ComputedKey> keys;
  auto add = [&](const std::string& s, const std::string& k, const std::string& v, bool integer = true) {
    keys.push_back({s, k, v, integer});
  };
  add("kalvora", "version", "220");
  add("software", "medium", selection.files.empty() ? "-1" : std::to_string(facts.volumeCount));
  if (!facts.readmeName.empty()) add("software", "readme", facts.readmeName, false);
  std::array<std::int64_t, 8> space{}, stored{};
  std::array<bool, 8> hasFiles{};
  for (std::size_t i = 0; i < selection.files.size(); ++i) {
    const int k = selection.files[i].option;
    hasFiles[static_cast<std::size_t>(k)] = true;
    space[static_cast<std::size_t>(k)] += selection.files[i].size;
    stored[static_cast<std::size_t>(k)] += facts.placements[i].storedSize;
  }
  for (std::size_t k = 1; k <= 7; ++k)
    if (hasFiles[k]) {
      add("software", numberedKey("Opt", static_cast<long long>(k), "_space"), std::to_string(space[k]));
      add("software", numberedKey("Opt", static_cast<long long>(k), "_cs"), std::to_string(stored[k]));
    }
  for (std::size_t r = 0; r < kPictureRoles; ++r)
    if (!facts.pictureNames[r].empty()) {
      const ScriptKeyName where = pictureScriptKey(static_cast<PictureRole>(r));
      add(where.section, where.key, facts.pictureNames[r], false);
    }
  add("compression", "mode", facts.compression == Compression::None ? "0" : "1");
  add("compression", "size", std::to_string(compressionSize));
  int rows = 0;
  for (const auto& r : selection.rows)
    rows = std::max(rows, r.number);
  add("directories", "total", std::to_string(rows));
  for (const auto& r : selection.rows)
    if (r.generated) add("directories", numberedKey("d", r.option, "_") + std::to_string(r.number), r.value, false);
  std::array<int, 8> count{};
  for (std::size_t i = 0; i < selection.files.size(); ++i) {
    const auto& f = selection.files[i];
    const std::string section = numberedKey("Option_", f.option);
    const std::string j = std::to_string(++count[static_cast<std::size_t>(f.option)]);
    const FilePlacement& p = facts.placements[i];
    add(section, "f" + j, f.name, false);
    add(section, "d" + j, std::to_string(f.directory));
    add(section, "s" + j, volumeNumberText(p.volume), false);
    add(section, "p" + j, std::to_string(p.offset));
    add(section, "z" + j, std::to_string(p.storedSize));
    // A file stored as it is, on its own or as an archive's stored member, has
    // no checksum that the expansion tests: setup.exe tells a damaged volume by this one.
    if (!p.selfChecked) add(section, "c" + j, crc32Text(p.crc), false);
  }
  return keys;
}

SetupInf composeSetupInf(const Project& project, const FileSelection& selection, const MediumFacts& facts,
                         Diagnostics& diag) {
  Composer composer(project, selection, facts, diag);
  // [compression] size counts setup.inf itself (its copy setup.tmp), whose
  // length depends on that number: settle on a size that describes itself.
  std::int64_t size = setupInfCompressionSize(facts, 0);
  std::string text = composer.compose(size);
  for (int round = 0; round < 8; ++round) {
    const std::int64_t next = setupInfCompressionSize(facts, text.size());
    if (next == size) break;
    size = next;
    text = composer.compose(size);
  }
  return {text, size};
}

MediumFacts widestFacts(const FileSelection& selection, MediumFacts facts) {
  facts.volumeCount = static_cast<int>(kMaxInt32);
  facts.placements.assign(selection.files.size(),
                          FilePlacement{static_cast<int>(kMaxInt32), kMaxInt32, kMaxInt32, 0xFFFFFFFFu});
  facts.largestStaged = kMaxInt32;
  return facts;
}

} // namespace kalvora::media
