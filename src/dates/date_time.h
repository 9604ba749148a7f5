#pragma once

#include <array>
#include <functional>

#include "text/narrow_text.h"

namespace holvan {

/// A local calendar date and time of day.
struct Moment {
  int year = 2000;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

/// The locale's texts for dates and times (code page 932). Empty weekday names
/// fall back to the English ones; a missing designator to "am"/"pm".
struct LocaleTexts {
  NarrowText morning;
  NarrowText afternoon;
  std::array<NarrowText, 7> weekdays;  // Sunday first
  /// Era name of a date ("gg"); empty when there is none.
  std::function<NarrowText(const Moment&)> era_name;
  /// Two-digit year within the era ("yy"); empty when there is none.
  std::function<NarrowText(const Moment&)> era_year;
};

/// Japanese texts whatever the user's LANG: era from ICU's Japanese calendar
/// (明治 on), 日曜日..土曜日, 午前/午後. Built once.
const LocaleTexts& JapaneseLocaleTexts();

/// The moment formatted by pattern (quotes, g, e, m, d, aaaa, ampm, h, nn,
/// ss), cut to 256 bytes.
NarrowText DateTimeText(std::string_view pattern, const Moment& moment,
                        const LocaleTexts& locale);

/// The greeting's date pattern: ggge"年"m"月"d"日("aaaa")
const NarrowText& DatePattern();
/// The greeting's time pattern: ampmh"時"nn"分"ss"秒 (the last literal runs to
/// the end).
const NarrowText& TimePattern();

}  // namespace holvan
