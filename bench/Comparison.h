#pragma once
#include <string>

namespace kalvora::bench {

// Writes, for every data set NAME, DIR/NAME.kvr (one LZH member, our archive)
// and DIR/NAME.lzh (the same LZH stream as an -lh1- member of an LHA archive),
// for timing `kalvora test` against `lhasa t`. Returns the exit status.
int writeComparisonFiles(const std::string& dir);

} // namespace kalvora::bench
