#pragma once
// Deterministic data for tests and benchmarks, made in code: the same bytes on
// every machine and every run.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kalvora::testing {

// Words and line breaks, as in a readme.
std::vector<std::uint8_t> textData(std::size_t size, std::uint32_t seed = 1);
// Bytes that do not compress.
std::vector<std::uint8_t> randomData(std::size_t size, std::uint32_t seed = 1);
// Blocks of code-like bytes, sparse tables, strings and regular sequences.
std::vector<std::uint8_t> executableLike(std::size_t size);

} // namespace kalvora::testing
