#include "text/primitives.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/cp932.h"

namespace holvan {
namespace {

using testing::Sj;

TEST(PrimitivesTest, WideCopyClampsTheStartAndCountToTheText) {
  const NarrowText t = Sj("こんにちは");
  EXPECT_EQ(WideLength(t), 5);
  EXPECT_EQ(WideCopy(t, 1, 2), Sj("こん"));
  EXPECT_EQ(WideCopy(t, 4, 100), Sj("ちは"));
  EXPECT_EQ(WideCopy(t, 0, 2), Sj("こん"));
  // A start below 1 does not shorten the count.
  EXPECT_EQ(WideCopy(t, -1, 3), Sj("こんに"));
  EXPECT_EQ(WideCopy(t, -3, 5), t);
  EXPECT_EQ(WideCopy(t, INT32_MIN, INT32_MAX), t);
  EXPECT_EQ(WideCopy(t, 5, INT32_MAX), Sj("は"));
  EXPECT_EQ(WideCopy(t, 6, 1), "");
  EXPECT_EQ(WideCopy(t, INT32_MAX, 1), "");
  EXPECT_EQ(WideCopy(t, 1, -1), "");
  EXPECT_EQ(WideCopy(t, 2, 0), "");
  EXPECT_EQ(WideCopy("", 1, 1), "");
  // Characters, not bytes: half-width kana and ASCII are one character each.
  EXPECT_EQ(WideLength(Sj("aｱ亜")), 3);
  EXPECT_EQ(WideCopy(Sj("aｱ亜"), 3, 1), Sj("亜"));
  EXPECT_EQ(WideCopy(ToWide(t), 2, 2), Sj("んに"));
}

TEST(PrimitivesTest, WideDeleteDoesNothingOutOfRange) {
  const NarrowText t = Sj("こんにちは");
  EXPECT_EQ(WideDelete(t, 2, 2), Sj("こちは"));
  EXPECT_EQ(WideDelete(t, 4, 9), Sj("こんに"));
  EXPECT_EQ(WideDelete(t, 5, INT32_MAX), Sj("こんにち"));
  EXPECT_EQ(WideDelete(t, 1, 5), "");
  EXPECT_EQ(WideDelete(t, 0, 2), t);
  EXPECT_EQ(WideDelete(t, 6, 1), t);
  EXPECT_EQ(WideDelete(t, 1, 0), t);
  EXPECT_EQ(WideDelete(t, 1, -3), t);
  EXPECT_EQ(WideDelete("", 1, 1), "");
  // Unchanged means byte for byte, even for bytes that are not characters.
  const NarrowText odd = "a\x80\x82";
  EXPECT_EQ(WideDelete(odd, 0, 1), odd);
  EXPECT_EQ(WideDelete(odd, 1, 1), "\x80\x82");
}

TEST(PrimitivesTest, CutsKeepTheBytesTheyCover) {
  // 81 starts no character before FA; FA 54 is "￢", preferred as 81 CA.
  // Converted back, the two would read as "＝" CA.
  const NarrowText odd = "\x81\xFA\x54x";
  EXPECT_EQ(WideLength(odd), 3);
  EXPECT_EQ(WideCopy(odd, 1, 2), "\x81\xFA\x54");
  EXPECT_EQ(WideCopy(odd, 2, 9), "\xFA\x54x");
  EXPECT_EQ(WideDelete(odd, 3, 1), "\x81\xFA\x54");
  EXPECT_EQ(WideDelete(odd, 2, 1), "\x81x");
  // ED 40 is the NEC-selected copy of the kanji whose preferred code is FA 5C.
  const NarrowText copy = Sj("猫") + "\xED\x40" + Sj("だ");
  EXPECT_EQ(WideCopy(copy, 2, 1), "\xED\x40");
  EXPECT_EQ(WideDelete(copy, 3, 1), Sj("猫") + "\xED\x40");
  // Comparisons see each character in its preferred code, as before.
  EXPECT_TRUE(SliceEquals(odd, 2, "\x81\xCA"));
  EXPECT_TRUE(StartsWith("\xED\x40", "\xFA\x5C"));
  EXPECT_TRUE(EndsWith(Sj("猫") + "\xED\x40", "\xFA\x5C"));
  EXPECT_FALSE(SliceEquals(odd, 1, "\x81\xFA"));
}

TEST(PrimitivesTest, SliceTestsCountCharactersOfTheKeyword) {
  EXPECT_TRUE(StartsWith(Sj("元気です"), Sj("元気")));
  EXPECT_FALSE(StartsWith(Sj("元"), Sj("元気")));
  EXPECT_FALSE(StartsWith(Sj("げんき"), Sj("元気")));
  EXPECT_TRUE(StartsWith(Sj("元気"), Sj("元気")));
  EXPECT_TRUE(EndsWith(Sj("元気"), Sj("元気")));
  EXPECT_TRUE(EndsWith(Sj("猫のことだよ"), Sj("のことだよ")));
  EXPECT_FALSE(EndsWith(Sj("のことだ"), Sj("のことだよ")));
  EXPECT_FALSE(EndsWith("", Sj("よ")));
  EXPECT_FALSE(StartsWith("", Sj("よ")));
  // A one-character keyword of two bytes against a one-byte character.
  EXPECT_FALSE(EndsWith("a?", Sj("？")));
  EXPECT_TRUE(EndsWith(Sj("本当？"), Sj("？")));
  EXPECT_TRUE(EndsWith(ToWide(Sj("本当？")), Sj("？")));
  EXPECT_TRUE(StartsWith(ToWide(Sj("命令だ")), Sj("命令")));
  EXPECT_TRUE(SliceEquals(Sj("猫とは動物"), 2, Sj("とは")));
  EXPECT_FALSE(SliceEquals(Sj("猫とは動物"), 3, Sj("とは")));
  EXPECT_TRUE(SliceEquals(ToWide(Sj("猫とは動物")), 4, Sj("動物")));
  // The byte form of a keyword may sit across two characters: no match.
  EXPECT_FALSE(StartsWith(Sj("ャJ"), Sj("カ")));
  // The empty keyword is the empty slice, which every line starts with.
  EXPECT_TRUE(StartsWith(Sj("猫"), ""));
}

TEST(PrimitivesTest, TextEqualsFoldsNothing) {
  EXPECT_FALSE(TextEquals("?", Sj("？")));
  EXPECT_FALSE(TextEquals("1", Sj("１")));
  EXPECT_FALSE(TextEquals(Sj("いいよ"), Sj("いいよ ")));
  EXPECT_FALSE(TextEquals(Sj("ア"), Sj("ｱ")));
  EXPECT_FALSE(TextEquals("A", "a"));
  EXPECT_TRUE(TextEquals("", ""));
  EXPECT_FALSE(TextEquals("", std::string(1, '\0')));
}

TEST(PrimitivesTest, SameCharactersMatchEitherCodeOfACharacter) {
  EXPECT_TRUE(SameCharacters("\x87\x9A", Sj("∵")));  // 81 E6
  EXPECT_TRUE(SameCharacters(Sj("a纊") + "\xED\x40", "a\xED\x40" + Sj("纊")));
  EXPECT_FALSE(SameCharacters(Sj("∵"), Sj("∴")));
  EXPECT_FALSE(SameCharacters(Sj("ア"), Sj("ｱ")));
  // A byte that starts no character equals only itself.
  EXPECT_TRUE(SameCharacters("\x82", "\x82"));
  EXPECT_FALSE(SameCharacters("\x82", "\x81"));
}

TEST(PrimitivesTest, BytePosIgnoresCharacterBoundaries) {
  EXPECT_EQ(BytePos("", "abc"), 0);
  EXPECT_EQ(BytePos("a", ""), 0);
  EXPECT_EQ(BytePos("", ""), 0);
  EXPECT_EQ(BytePos("abcd", "abc"), 0);
  EXPECT_EQ(BytePos("c", "abcabc"), 3);
  EXPECT_EQ(BytePos("abc", "abc"), 1);
  EXPECT_EQ(BytePos("cab", "abcabc"), 3);
  EXPECT_TRUE(Contains(Sj("ア"), "A"));
  EXPECT_TRUE(Contains(Sj("ャJ"), Sj("カ")));
  EXPECT_EQ(BytePos(Sj("カ"), Sj("ャJ")), 2);
  EXPECT_FALSE(Contains("abc", ""));
}

TEST(PrimitivesTest, WidePosMatchesWholeCharacters) {
  EXPECT_EQ(WidePos("A", Sj("ア")), 0);
  EXPECT_EQ(WidePos(Sj("カ"), Sj("ャJ")), 0);
  EXPECT_EQ(WidePos(Sj("とは"), Sj("猫とは動物")), 2);
  EXPECT_EQ(WidePos(Sj("＝"), Sj("犬＝動物＝")), 2);
  EXPECT_EQ(WidePos(Sj("動物"), Sj("犬＝動物＝")), 3);
  EXPECT_EQ(WidePos("", "a"), 0);
  EXPECT_EQ(WidePos("a", ""), 0);
  EXPECT_EQ(WidePos(Sj("猫とは"), Sj("猫と")), 0);
  EXPECT_EQ(WidePos(u"b", u"abab"), 2);
}

}  // namespace
}  // namespace holvan
