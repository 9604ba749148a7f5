#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/starter_data.h"
#include "support/temp_dir.h"
#include "text/cp932.h"
#include "text/primitives.h"

namespace holvan::testing {
namespace {

constexpr const char* kStarterFiles[] = {"dic.dat", "brain.dat", "holv.dat",
                                         "res.dat"};

TEST(StarterFilesTest, AreCodePage932WithCrLfLinesAndNoEmptyLine) {
  for (const char* name : kStarterFiles) {
    SCOPED_TRACE(name);
    const std::string bytes = ReadStarterFile(name);
    const WideText wide = ToWide(bytes);
    for (char16_t unit : wide) {
      ASSERT_FALSE(unit >= 0xDC80 && unit <= 0xDCFF)
          << "a byte that is not code page 932 near: "
          << NarrowToUtf8(ToNarrow(wide.substr(0, 40)));
    }
    EXPECT_EQ(ToNarrow(wide), bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a lone LF at " << i;
      }
      if (bytes[i] == '\r') {
        ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n')
            << "a lone CR at " << i;
      }
    }
    if (!bytes.empty()) {
      EXPECT_TRUE(bytes.ends_with("\r\n"));
    }
    for (const NarrowText& line : CrLfLines(bytes)) EXPECT_FALSE(line.empty());
  }
}

TEST(StarterFilesTest, ProfileAndPhraseLogStartEmpty) {
  EXPECT_EQ(ReadStarterFile("holv.dat"), "");
  EXPECT_EQ(ReadStarterFile("res.dat"), "");
}

TEST(StarterDictionaryTest, LinesAreKeyAsteriskExplanationWithUniqueKeys) {
  const auto lines = CrLfLines(ReadStarterFile("dic.dat"));
  EXPECT_GE(lines.size(), 300u);
  std::set<NarrowText> keys;
  for (const NarrowText& line : lines) {
    SCOPED_TRACE(NarrowToUtf8(line));
    const auto pair = SplitAt(line, "*");
    ASSERT_TRUE(pair.has_value());
    const auto& [key, explanation] = *pair;
    EXPECT_FALSE(key.empty());
    EXPECT_FALSE(explanation.empty());
    // Holvan adds the endings 「 という事らしいです」 and 「の事ですよ」.
    EXPECT_FALSE(EndsWith(explanation, Sj("。")) ||
                 EndsWith(explanation, Sj("、")) || EndsWith(explanation, " "));
    EXPECT_TRUE(keys.insert(key).second) << "key twice";
  }
}

TEST(StarterDictionaryTest, KnowsEveryPrefecture) {
  std::set<NarrowText> keys;
  for (const NarrowText& line : CrLfLines(ReadStarterFile("dic.dat"))) {
    if (auto pair = SplitAt(line, "*")) keys.insert(pair->first);
  }
  constexpr const char* kPrefectures[] = {
      "北海道", "青森県",   "岩手県", "宮城県",   "秋田県", "山形県",
      "福島県", "茨城県",   "栃木県", "群馬県",   "埼玉県", "千葉県",
      "東京都", "神奈川県", "新潟県", "富山県",   "石川県", "福井県",
      "山梨県", "長野県",   "岐阜県", "静岡県",   "愛知県", "三重県",
      "滋賀県", "京都府",   "大阪府", "兵庫県",   "奈良県", "和歌山県",
      "鳥取県", "島根県",   "岡山県", "広島県",   "山口県", "徳島県",
      "香川県", "愛媛県",   "高知県", "福岡県",   "佐賀県", "長崎県",
      "熊本県", "大分県",   "宮崎県", "鹿児島県", "沖縄県"};
  static_assert(std::size(kPrefectures) == 47);
  for (const char* prefecture : kPrefectures) {
    EXPECT_TRUE(keys.contains(Sj(prefecture))) << prefecture;
  }
}

TEST(StarterBrainTest, MoodEntriesComeFirstThenDefinitionLists) {
  const auto lines = CrLfLines(ReadStarterFile("brain.dat"));
  ASSERT_GE(lines.size(), 2u + 24u);
  std::set<NarrowText> keys;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(NarrowToUtf8(lines[i]));
    const auto pair = SplitAt(lines[i], Sj("＝"));
    ASSERT_TRUE(pair.has_value());
    const auto& [key, value] = *pair;
    EXPECT_FALSE(key.empty());
    EXPECT_EQ(WidePos(Sj("＝"), value), 0);
    EXPECT_TRUE(keys.insert(key).second) << "key twice";
    if (i < 2) {
      // A ＊ would let Holvan bring the mood words up as a definition.
      EXPECT_EQ(WidePos(Sj("＊"), value), 0);
      continue;
    }
    int definitions = 0;
    NarrowText rest = value;
    while (auto cut = SplitAt(rest, Sj("＊"))) {
      EXPECT_FALSE(cut->first.empty());
      ++definitions;
      rest = cut->second;
    }
    EXPECT_FALSE(rest.empty());
    EXPECT_GE(definitions + 1, 2);
  }
}

// Each mood word must sit in one list only, or typing it would not move the
// mood the way its list says.
TEST(StarterBrainTest, EachMoodWordIsKindOrUnkindNotBoth) {
  const auto lines = CrLfLines(ReadStarterFile("brain.dat"));
  ASSERT_GE(lines.size(), 2u);
  const NarrowText kind = SplitAt(lines[0], Sj("＝"))->second;
  const NarrowText unkind = SplitAt(lines[1], Sj("＝"))->second;
  for (const char* word : {"ありがとう", "すごい", "えらい", "優しい", "好き",
                           "賢い", "かわいい"}) {
    EXPECT_TRUE(Contains(kind, Sj(word))) << word;
  }
  for (const char* word : {"きらい", "ばか", "うざい", "嫌い", "うるさい"}) {
    EXPECT_TRUE(Contains(unkind, Sj(word))) << word;
  }
  using Lists = std::pair<NarrowText, NarrowText>;
  for (const auto& [own, other] : {Lists{kind, unkind}, Lists{unkind, kind}}) {
    NarrowText rest = own;
    while (!rest.empty()) {
      const auto cut = SplitAt(rest, " ");
      const NarrowText word = cut ? cut->first : rest;
      EXPECT_FALSE(word.empty());
      EXPECT_FALSE(Contains(other, word)) << NarrowToUtf8(word);
      rest = cut ? cut->second : "";
    }
  }
}

}  // namespace
}  // namespace holvan::testing
