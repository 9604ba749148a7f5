// DateTimeText with any pattern at any valid moment.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/check.h"
#include "dates/date_time.h"

namespace {

int DaysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30,
                                  31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  FuzzedDataProvider input(data, size);
  Moment moment;
  moment.year = input.ConsumeIntegralInRange(1, 9999);
  moment.month = input.ConsumeIntegralInRange(1, 12);
  moment.day =
      input.ConsumeIntegralInRange(1, DaysIn(moment.year, moment.month));
  moment.hour = input.ConsumeIntegralInRange(0, 23);
  moment.minute = input.ConsumeIntegralInRange(0, 59);
  moment.second = input.ConsumeIntegralInRange(0, 59);
  moment.millisecond = input.ConsumeIntegralInRange(0, 999);
  const std::string pattern = input.ConsumeRemainingBytesAsString();

  const LocaleTexts& locale = JapaneseLocaleTexts();
  const NarrowText text = DateTimeText(pattern, moment, locale);
  HOLVAN_CHECK(text.size() <= 256);
  HOLVAN_CHECK(DateTimeText(pattern, moment, locale) == text);
  const int weekday = Weekday(moment.year, moment.month, moment.day);
  HOLVAN_CHECK(weekday >= 0 && weekday <= 6);
  return 0;
}
