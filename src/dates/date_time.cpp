#include "dates/date_time.h"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan {
namespace {

using namespace literals;

constexpr size_t kMaxDateTimeText = 256;

NarrowText FromIcu(const icu::UnicodeString& text) {
  return ToNarrow(std::u16string_view(text.getBuffer(),
                                      static_cast<size_t>(text.length())));
}

NarrowText TwoDigits(int n) {
  NarrowText text = IntText(n);
  return text.size() < 2 ? "0" + text : text;
}

bool IsLeadByte(char c) {
  auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// What ICU's Japanese calendar says of a local date.
struct CalendarDay {
  // The era and the year within it; era -1 before 明治 or when ICU cannot
  // tell.
  int era = -1;
  int year = 0;
  // 0 = Sunday.
  int weekday = 0;
};

// The calendar, built once per thread: Gregorian all the way back, so that a
// date before 1582 has the weekday it has everywhere else in the program.
icu::Calendar* JapaneseCalendar() {
  thread_local const std::unique_ptr<icu::Calendar> calendar = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> built(icu::Calendar::createInstance(
        *icu::TimeZone::getGMT(), icu::Locale("ja_JP@calendar=japanese"),
        status));
    if (U_FAILURE(status)) return std::unique_ptr<icu::Calendar>();
    if (auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(built.get())) {
      gregorian->setGregorianChange(U_DATE_MIN, status);
    }
    return built;
  }();
  return calendar.get();
}

CalendarDay CalendarDayOf(const Moment& moment) {
  icu::Calendar* calendar = JapaneseCalendar();
  if (calendar == nullptr) return {};
  calendar->clear();
  calendar->set(UCAL_EXTENDED_YEAR, moment.year);
  calendar->set(UCAL_MONTH, moment.month - 1);
  calendar->set(UCAL_DATE, moment.day);
  calendar->set(UCAL_HOUR_OF_DAY, 12);
  UErrorCode status = U_ZERO_ERROR;
  CalendarDay day;
  day.weekday = calendar->get(UCAL_DAY_OF_WEEK, status) - UCAL_SUNDAY;
  const int era = calendar->get(UCAL_ERA, status);
  const int year = calendar->get(UCAL_YEAR, status);
  if (U_FAILURE(status)) return {};
  // The calendar before 明治 was lunisolar: no era is given for it.
  if (std::tie(moment.year, moment.month, moment.day) >=
      std::make_tuple(1868, 9, 8)) {
    day.era = era;
    day.year = year;
  }
  return day;
}

LocaleTexts BuildJapaneseLocaleTexts() {
  LocaleTexts texts;
  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(icu::Locale("ja_JP"), status);
  if (U_SUCCESS(status)) {
    int32_t count = 0;
    const icu::UnicodeString* am_pm = symbols.getAmPmStrings(count);
    if (count >= 2) {
      texts.morning = FromIcu(am_pm[0]);
      texts.afternoon = FromIcu(am_pm[1]);
    }
    const icu::UnicodeString* days = symbols.getWeekdays(
        count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    for (int day = 0; day < 7 && UCAL_SUNDAY + day < count; ++day) {
      texts.weekdays[day] = FromIcu(days[UCAL_SUNDAY + day]);
    }
  }

  auto era_names = std::make_shared<std::vector<NarrowText>>();
  status = U_ZERO_ERROR;
  icu::DateFormatSymbols era_symbols(icu::Locale("ja_JP"), "japanese", status);
  if (U_SUCCESS(status)) {
    int32_t count = 0;
    const icu::UnicodeString* names = era_symbols.getEraNames(count);
    for (int32_t i = 0; i < count; ++i) {
      era_names->push_back(FromIcu(names[i]));
    }
  }
  texts.era_name = [era_names](const Moment& moment) -> NarrowText {
    const CalendarDay day = CalendarDayOf(moment);
    if (day.era < 0 || static_cast<size_t>(day.era) >= era_names->size()) {
      return {};
    }
    return (*era_names)[static_cast<size_t>(day.era)];
  };
  texts.era_year = [](const Moment& moment) -> NarrowText {
    const CalendarDay day = CalendarDayOf(moment);
    if (day.era < 0 || day.year < 1) return {};
    return TwoDigits(day.year % 100);
  };
  return texts;
}

// The text cut to at most max bytes, never inside a double-byte character.
void CutToBytes(NarrowText& text, size_t max) {
  if (text.size() <= max) return;
  size_t end = 0;
  while (end < max) {
    size_t step = IsLeadByte(text[end]) && end + 1 < text.size() ? 2 : 1;
    if (end + step > max) break;
    end += step;
  }
  text.resize(end);
}

const std::array<const char*, 7> kEnglishWeekdays = {
    "Sunday",   "Monday", "Tuesday", "Wednesday",
    "Thursday", "Friday", "Saturday"};

// Copies the text quoted at pattern[i] (by " or ') to out, its double-byte
// characters whole; returns where the pattern goes on after the closing
// quote.
size_t CopyQuoted(std::string_view pattern, size_t i, NarrowText& out) {
  const char quote = pattern[i++];
  while (i < pattern.size() && pattern[i] != quote) {
    const size_t step =
        IsLeadByte(pattern[i]) && i + 1 < pattern.size() ? 2 : 1;
    out.append(pattern.substr(i, step));
    i += step;
  }
  return i < pattern.size() ? i + 1 : i;
}

// "ampm", in any case, which stands for the morning's or afternoon's name.
constexpr std::string_view kAmPm = "ampm";

bool IsAmPm(std::string_view rest) {
  return rest.size() >= kAmPm.size() &&
         std::equal(kAmPm.begin(), kAmPm.end(), rest.begin(),
                    [](char a, char b) { return a == Lower(b); });
}

// What the fields of one pattern are read against, and what the fields
// before them change: "ampm" makes the hours count to 12, and "m" right
// after an hour is the minute.
struct Field {
  const Moment& moment;
  const LocaleTexts& locale;
  bool twelve_hour = false;
  char previous = 0;  // the last date or time field's letter
};

void AppendDesignator(Field& field, NarrowText& out) {
  const bool morning = field.moment.hour < 12;
  const NarrowText& designator =
      morning ? field.locale.morning : field.locale.afternoon;
  out += !designator.empty() ? designator
         : morning           ? NarrowText("am")
                             : NarrowText("pm");
  field.twelve_hour = true;
}

// Appends what token, a run of letter in any case, stands for; a run that
// stands for nothing is copied.
void AppendField(std::string_view token, char letter, Field& field,
                 NarrowText& out) {
  const Moment& moment = field.moment;
  const LocaleTexts& locale = field.locale;
  const size_t run = token.size();
  auto number = [&](int value) {
    if (run == 1) {
      out += IntText(value);
    } else if (run == 2) {
      out += TwoDigits(value);
    } else {
      out.append(token);
    }
  };
  switch (letter) {
    case 'g':
      if (locale.era_name) out += locale.era_name(moment);
      break;
    case 'e': {
      NarrowText year = locale.era_year ? locale.era_year(moment) : "";
      if (run == 1 && year.size() > 1 && year[0] == '0') year.erase(0, 1);
      if (run <= 2) {
        out += year;
      } else {
        out.append(token);
      }
      break;
    }
    case 'm':
      number(field.previous == 'h' ? moment.minute : moment.month);
      break;
    case 'd':
      number(moment.day);
      break;
    case 'h': {
      int hour = moment.hour;
      if (field.twelve_hour) {
        hour %= 12;
        if (hour == 0) hour = 12;
      }
      number(hour);
      break;
    }
    case 'n':
      number(moment.minute);
      break;
    case 's':
      number(moment.second);
      break;
    case 'a':
      if (run == 4) {
        const int day = CalendarDayOf(moment).weekday;
        const NarrowText& name = locale.weekdays[static_cast<size_t>(day)];
        out += !name.empty() ? name : NarrowText(kEnglishWeekdays[day]);
      } else {
        out.append(token);
      }
      break;
    default:
      out.append(token);
      return;
  }
  field.previous = letter;
}

}  // namespace

const LocaleTexts& JapaneseLocaleTexts() {
  static const LocaleTexts texts = BuildJapaneseLocaleTexts();
  return texts;
}

NarrowText DateTimeText(std::string_view pattern, const Moment& moment,
                        const LocaleTexts& locale) {
  NarrowText out;
  Field field{moment, locale};
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      i = CopyQuoted(pattern, i, out);
    } else if (IsLeadByte(c)) {
      i += i + 1 < pattern.size() ? 2 : 1;
    } else if (IsAmPm(pattern.substr(i))) {
      AppendDesignator(field, out);
      i += kAmPm.size();
    } else {
      const char letter = Lower(c);
      size_t run = 1;
      while (i + run < pattern.size() && Lower(pattern[i + run]) == letter) {
        ++run;
      }
      AppendField(pattern.substr(i, run), letter, field, out);
      i += run;
    }
  }
  CutToBytes(out, kMaxDateTimeText);
  return out;
}

const NarrowText& DatePattern() {
  return "ggge\"年\"m\"月\"d\"日(\"aaaa\")\""_sj;
}

const NarrowText& TimePattern() { return "ampmh\"時\"nn\"分\"ss\"秒"_sj; }

}  // namespace holvan
