#pragma once
// Helpers of the archive tests: archives built byte by byte or by the writer,
// data of several kinds, and a platform that counts yields.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"
#include "platform/MemoryPlatform.h"

namespace kalvora::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline std::string textOf(const Bytes& b) { return std::string(b.begin(), b.end()); }

struct RawMember {
  std::string name;
  MemberHeader header; // nameLength is set from name unless overridden
  Bytes data;
  bool keepNameLength = false;
};

// An archive exactly as given, headers not checked.
inline Bytes rawArchive(const std::string& id, std::int32_t total, const std::vector<RawMember>& members,
                        std::uint8_t type = kArchiveTypeMultiFile) {
  ArchiveHeader header;
  id.copy(header.compressId, 3);
  header.totalExpandedSize = total;
  header.archiveType = type;
  Bytes out(kArchiveHeaderSize);
  encodeArchiveHeader(header, out.data());
  for (const auto& m : members) {
    MemberHeader h = m.header;
    if (!m.keepNameLength) h.nameLength = static_cast<std::int16_t>(m.name.size());
    std::uint8_t raw[kMemberHeaderSize];
    encodeMemberHeader(h, raw);
    out.insert(out.end(), raw, raw + kMemberHeaderSize);
    out.insert(out.end(), m.name.begin(), m.name.end());
    out.insert(out.end(), m.data.begin(), m.data.end());
  }
  return out;
}

// A member whose data are the given bytes stored (Method 0), checksum correct.
inline RawMember storedMember(const std::string& name, const std::string& content) {
  RawMember m{name, {}, bytesOf(content)};
  m.header.expandedSize = m.header.compressedSize = static_cast<std::int32_t>(content.size());
  m.header.method = kMethodStored;
  m.header.checksum = static_cast<std::int32_t>(byteSum(m.data.data(), m.data.size()));
  m.header.fileAttributes = 0x20;
  return m;
}

// A member coded by method (RLE or LZH) with a correct, unlocked checksum.
inline RawMember codedMember(const std::string& name, const Bytes& content, std::uint8_t method) {
  RawMember m{name, {}, {}};
  if (method == kMethodRle) rleEncode(content, m.data);
  if (method == kMethodLzh) lzhEncode(content, m.data);
  if (method == kMethodStored) m.data = content;
  m.header.method = method;
  m.header.expandedSize = static_cast<std::int32_t>(content.size());
  m.header.compressedSize = static_cast<std::int32_t>(m.data.size());
  m.header.checksum = static_cast<std::int32_t>(byteSum(content.data(), content.size()));
  m.header.fileAttributes = 0x20;
  return m;
}

inline std::int32_t totalOf(const std::vector<RawMember>& members) {
  std::int32_t total = 0;
  for (const auto& m : members)
    total += m.header.expandedSize;
  return total;
}

// Words and lines with repeats, as source text has.
inline Bytes textLike(std::size_t n, unsigned seed) {
  static const char* words[] = {"the ",   "archive ", "member ", "expands ", "into ",  "file ",    "with ",
                                "setup ", "window ",  "disk ",   "\r\n",     "space ", "program ", "{ ",
                                "} ",     "int ",     "return ", "0x94 ",    "; ",     "kalvora "};
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n + 16);
  while (out.size() < n) {
    const char* w = words[rng() % std::size(words)];
    out.insert(out.end(), w, w + std::char_traits<char>::length(w));
    if (rng() % 7 == 0) out.push_back(static_cast<std::uint8_t>('0' + rng() % 10));
  }
  out.resize(n);
  return out;
}

// Records of small numbers and repeated structures, as executables have.
inline Bytes binaryLike(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n + 64);
  while (out.size() < n) {
    const auto kind = rng() % 4;
    if (kind == 0) {
      out.insert(out.end(), 4 + rng() % 12, 0);
    } else if (kind == 1 && out.size() > 64) {
      const std::size_t from = out.size() - 1 - rng() % 64, len = 4 + rng() % 16;
      for (std::size_t i = 0; i < len; ++i)
        out.push_back(out[from + i]);
    } else {
      for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(rng() % (kind == 2 ? 16 : 256)));
    }
  }
  out.resize(n);
  return out;
}

inline Bytes randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out)
    b = static_cast<std::uint8_t>(rng());
  return out;
}

// Runs of every length from 1 to 700, of ordinary bytes and of 0x94.
inline Bytes longRuns(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n + 700);
  while (out.size() < n) {
    const std::uint8_t b = rng() % 5 == 0 ? 0x94 : static_cast<std::uint8_t>(rng());
    out.insert(out.end(), 1 + rng() % 700, b);
  }
  out.resize(n);
  return out;
}

class CountingPlatform : public MemoryPlatform {
public:
  void yield() override { ++yields; }
  int yields = 0;
};

// A stream that records the size of every write.
class RecordingStream : public MemoryStream {
public:
  std::size_t write(const void* buffer, std::size_t n) override {
    writes.push_back(n);
    return MemoryStream::write(buffer, n);
  }
  std::vector<std::size_t> writes;
};

} // namespace kalvora::test
