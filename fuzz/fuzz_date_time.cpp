// DateTimeText with any pattern at any valid moment.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "dates/date_time.h"
#include "support/check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  FuzzedDataProvider input(data, size);
  Moment moment;
  moment.year = input.ConsumeIntegralInRange(1, 9999);
  moment.month = input.ConsumeIntegralInRange(1, 12);
  const std::chrono::year_month_day_last last{
      std::chrono::year(moment.year) /
      std::chrono::month(static_cast<unsigned>(moment.month)) /
      std::chrono::last};
  moment.day = input.ConsumeIntegralInRange(
      1, static_cast<int>(static_cast<unsigned>(last.day())));
  moment.hour = input.ConsumeIntegralInRange(0, 23);
  moment.minute = input.ConsumeIntegralInRange(0, 59);
  moment.second = input.ConsumeIntegralInRange(0, 59);
  moment.millisecond = input.ConsumeIntegralInRange(0, 999);
  const std::string pattern = input.ConsumeRemainingBytesAsString();

  const LocaleTexts& locale = JapaneseLocaleTexts();
  const NarrowText text = DateTimeText(pattern, moment, locale);
  HOLVAN_CHECK(text.size() <= 256);
  HOLVAN_CHECK(DateTimeText(pattern, moment, locale) == text);
  const NarrowText weekday = DateTimeText("aaaa", moment, locale);
  HOLVAN_CHECK(std::find(locale.weekdays.begin(), locale.weekdays.end(),
                         weekday) != locale.weekdays.end());
  return 0;
}
