#include "media/SourceDate.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace kalvora::media {

std::optional<std::int64_t> sourceDateEpoch(const char* value) {
  if (!value || !*value) return std::nullopt;
  const std::string text = value;
  if (text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
    throw Exception("SOURCE_DATE_EPOCH is \"" + text + "\", not a number of seconds since 1970-01-01 UTC");
  return std::stoll(text);
}

std::uint32_t dosDateTimeOfEpoch(std::int64_t seconds) {
  constexpr std::int64_t k1980 = 315532800;   // 1980-01-01 00:00:00 UTC
  constexpr std::int64_t kEnd = 4354819198LL; // 2107-12-31 23:59:58 UTC
  seconds = std::clamp(seconds, k1980, kEnd);
  // Days to a civil date (proleptic Gregorian), after H. Hinnant's days_from_civil inverse.
  const std::int64_t days = seconds / 86400;
  const std::int64_t rest = seconds % 86400;
  const std::int64_t z = days + 719468;
  const std::int64_t era = z / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return packDosDateTime(
      {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)});
}

} // namespace kalvora::media
