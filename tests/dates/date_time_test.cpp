#include "dates/date_time.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/literal.h"

namespace holvan {
namespace {

using testing::Sj;

NarrowText Date(const Moment& moment) {
  return DateTimeText(DatePattern(), moment, JapaneseLocaleTexts());
}

NarrowText Time(int hour, int minute, int second) {
  Moment moment;
  moment.hour = hour;
  moment.minute = minute;
  moment.second = second;
  return DateTimeText(TimePattern(), moment, JapaneseLocaleTexts());
}

TEST(DateTimeTest, GreetingPatterns) {
  EXPECT_EQ(DatePattern(), Sj("ggge\"年\"m\"月\"d\"日(\"aaaa\")\""));
  EXPECT_EQ(TimePattern(), Sj("ampmh\"時\"nn\"分\"ss\"秒"));
  EXPECT_EQ(Date({2026, 12, 5, 15, 7, 9}), Sj("令和8年12月5日(土曜日)"));
  EXPECT_EQ(Time(15, 7, 9), Sj("午後3時07分09秒"));
  EXPECT_EQ(Date({2000, 11, 5}), Sj("平成12年11月5日(日曜日)"));
  EXPECT_EQ(Time(15, 5, 9), Sj("午後3時05分09秒"));
  EXPECT_EQ(Date({2019, 5, 1}), Sj("令和1年5月1日(水曜日)"));
}

TEST(DateTimeTest, TwelveHourClock) {
  EXPECT_EQ(Time(0, 5, 9), Sj("午前12時05分09秒"));
  EXPECT_EQ(Time(12, 0, 0), Sj("午後12時00分00秒"));
  EXPECT_EQ(Time(23, 59, 59), Sj("午後11時59分59秒"));
  EXPECT_EQ(Time(9, 0, 0), Sj("午前9時00分00秒"));
  EXPECT_EQ(Time(11, 59, 59), Sj("午前11時59分59秒"));
  // Without "ampm" the hour stays on the 24-hour clock.
  Moment evening;
  evening.hour = 15;
  evening.minute = 7;
  EXPECT_EQ(DateTimeText("h:nn", evening, JapaneseLocaleTexts()), "15:07");
  EXPECT_EQ(DateTimeText("h:m", evening, JapaneseLocaleTexts()), "15:7");
  EXPECT_EQ(DateTimeText("AMPMH", evening, JapaneseLocaleTexts()), Sj("午後3"));
}

TEST(DateTimeTest, EraBoundariesFromTheCalendar) {
  EXPECT_EQ(Date({2026, 1, 1}), Sj("令和8年1月1日(木曜日)"));
  EXPECT_EQ(Date({2019, 4, 30}), Sj("平成31年4月30日(火曜日)"));
  EXPECT_EQ(Date({1989, 1, 7}), Sj("昭和64年1月7日(土曜日)"));
  EXPECT_EQ(Date({1989, 1, 8}), Sj("平成1年1月8日(日曜日)"));
  EXPECT_EQ(Date({1912, 7, 29}), Sj("明治45年7月29日(月曜日)"));
  EXPECT_EQ(Date({1868, 9, 8}), Sj("明治1年9月8日(火曜日)"));
  // Before 明治 there is neither era nor year.
  EXPECT_EQ(Date({1868, 9, 7}), Sj("年9月7日(月曜日)"));
  const LocaleTexts& japanese = JapaneseLocaleTexts();
  EXPECT_EQ(japanese.era_year(Moment{1989, 1, 8}), "01");
  EXPECT_EQ(japanese.era_year(Moment{1988, 1, 8}), "63");
  EXPECT_EQ(japanese.era_name(Moment{1800, 1, 1}), "");
}

TEST(DateTimeTest, MissingLocaleTextsFallBack) {
  LocaleTexts bare;
  std::vector<NarrowText> days;
  for (int day = 4; day <= 10; ++day) {
    days.push_back(DateTimeText("aaaa", Moment{2026, 1, day}, bare));
  }
  EXPECT_EQ(days,
            (std::vector<NarrowText>{"Sunday", "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"}));
  EXPECT_EQ(DateTimeText(DatePattern(), Moment{2000, 11, 5}, bare),
            Sj("年11月5日(Sunday)"));
  EXPECT_EQ(DateTimeText(TimePattern(), Moment{2000, 1, 1, 9, 0, 0}, bare),
            Sj("am9時00分00秒"));
  EXPECT_EQ(DateTimeText(TimePattern(), Moment{2000, 1, 1, 21, 0, 0}, bare),
            Sj("pm9時00分00秒"));
  LocaleTexts partial = JapaneseLocaleTexts();
  partial.weekdays[6].clear();
  partial.morning.clear();
  EXPECT_EQ(DateTimeText("aaaa", Moment{2026, 12, 5}, partial), "Saturday");
  EXPECT_EQ(DateTimeText("aaaa", Moment{2026, 12, 6}, partial), Sj("日曜日"));
  EXPECT_EQ(DateTimeText("ampm", Moment{2026, 12, 6, 15}, partial), Sj("午後"));
  // A single-digit era year comes with its zero, which "e" removes.
  partial.era_year = [](const Moment&) { return NarrowText("05"); };
  EXPECT_EQ(DateTimeText("e/ee", Moment{}, partial), "5/05");
}

TEST(DateTimeTest, PatternInterpreter) {
  const LocaleTexts& japanese = JapaneseLocaleTexts();
  const Moment moment{2000, 1, 2, 3, 4, 5};
  EXPECT_EQ(DateTimeText("'m'd", moment, japanese), "m2");
  EXPECT_EQ(DateTimeText("\"it's\" d", moment, japanese), "it's 2");
  EXPECT_EQ(DateTimeText("\"open d", moment, japanese), "open d");
  EXPECT_EQ(DateTimeText("mm/dd nn:ss", moment, japanese), "01/02 04:05");
  EXPECT_EQ(DateTimeText("D-M", moment, japanese), "2-1");
  EXPECT_EQ(DateTimeText("x,(q)", moment, japanese), "x,(q)");
  // Outside quotes a double-byte character gives nothing, even when its second
  // byte reads as a pattern letter: "Ｅ" is 82 64, "ｄ" is 82 84.
  EXPECT_EQ(DateTimeText(Sj("Ｅ年d"), moment, japanese), "2");
  EXPECT_EQ(DateTimeText(Sj("\"Ｅ\"d"), moment, japanese), Sj("Ｅ") + "2");
  EXPECT_EQ(DateTimeText("", moment, japanese), "");
  // At most 256 bytes, never half a character.
  EXPECT_EQ(DateTimeText("\"" + std::string(300, 'x'), moment, japanese),
            std::string(256, 'x'));
  NarrowText kanji;
  for (int i = 0; i < 200; ++i) kanji += Sj("亜");
  NarrowText cut = DateTimeText("\"x" + kanji, moment, japanese);
  EXPECT_EQ(cut, "x" + kanji.substr(0, 254));
}

// Gregorian all the way back: 4 October 1582 and 1 January of year 1 are
// Mondays, as they are anywhere that counts so.
TEST(DateTimeTest, Weekday) {
  const struct {
    Moment moment;
    const char* weekday;
  } cases[] = {
      {{2000, 11, 5}, "日曜日"},  {{2026, 12, 5}, "土曜日"},
      {{2000, 2, 29}, "火曜日"},  {{1900, 3, 1}, "木曜日"},
      {{2024, 1, 1}, "月曜日"},   {{1582, 10, 4}, "月曜日"},
      {{1582, 10, 15}, "金曜日"}, {{1, 1, 1}, "月曜日"},
      {{9999, 12, 31}, "金曜日"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeText("aaaa", c.moment, JapaneseLocaleTexts()),
              Sj(c.weekday))
        << c.moment.year << "-" << c.moment.month << "-" << c.moment.day;
  }
}

TEST(DateTimeTest, JapaneseLocaleTexts) {
  const LocaleTexts& japanese = JapaneseLocaleTexts();
  EXPECT_EQ(japanese.morning, Sj("午前"));
  EXPECT_EQ(japanese.afternoon, Sj("午後"));
  EXPECT_EQ(japanese.weekdays[0], Sj("日曜日"));
  EXPECT_EQ(japanese.weekdays[6], Sj("土曜日"));
}

}  // namespace
}  // namespace holvan
