#pragma once
// SOURCE_DATE_EPOCH, the reproducible-builds convention: when it is set, it
// stands for every time a medium records (archive members' times, the files'
// own times), so that two builds from fresh copies of a project agree.
#include <cstdint>
#include <optional>
#include <string>

namespace kalvora::media {

// The variable's value: nullopt when unset or empty. Raises kalvora::Exception
// when it is not a whole number of seconds since 1970-01-01 00:00 UTC.
std::optional<std::int64_t> sourceDateEpoch(const char* value);

// The epoch as a DOS date and time (UTC), within DOS's 1980 to 2107.
std::uint32_t dosDateTimeOfEpoch(std::int64_t seconds);

} // namespace kalvora::media
