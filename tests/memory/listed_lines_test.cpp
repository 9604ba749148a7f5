#include "memory/listed_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "text/cp932.h"

namespace holvan::memory {
namespace {

// ∵ in its three encodings: NEC's row 13, the preferred one, IBM's.
constexpr const char* kBecauseNec = "\x87\x9A";
constexpr const char* kBecause = "\x81\xE6";
constexpr const char* kBecauseIbm = "\xFA\x5B";

std::string Sj(const char* utf8) { return Utf8ToNarrow(utf8); }

TEST(ListedLinesTest, ListsTheLinesAListShowsForASearch) {
  struct Case {
    MemoryFile file;
    std::string line;
    std::string search;
    bool listed;
  };
  const Case cases[] = {
      {MemoryFile::kDictionary, Sj("東京*日本の首都"), Sj("首都"), true},
      {MemoryFile::kDictionary, Sj("東京*日本の首都"), Sj("東京"), true},
      // Found in the key or the text, not across the asterisk.
      {MemoryFile::kDictionary, Sj("東京*日本"), Sj("京*日"), false},
      // An unreadable line is found in its whole text.
      {MemoryFile::kDictionary, Sj("壊れた行"), Sj("れた"), true},
      {MemoryFile::kDictionary, "", "", false},
      {MemoryFile::kDictionary, Sj("猫*動物"), "", true},
      {MemoryFile::kBrain, Sj("猫＝哺乳類＊動物"), Sj("動物"), true},
      {MemoryFile::kBrain, Sj("猫＝哺乳類"), Sj("猫＝"), false},
      {MemoryFile::kBrain, Sj("言葉だけ"), Sj("葉だ"), true},
      {MemoryFile::kPhrases, Sj("パスワードは1234"), "1234", true},
      {MemoryFile::kPhrases, Sj("パスワード"), Sj("パスポート"), false},
      // By characters: another encoding of the same one is found...
      {MemoryFile::kPhrases, std::string("a") + kBecauseNec, kBecause, true},
      {MemoryFile::kPhrases, kBecause, kBecauseIbm, true},
      // ...and the trail byte of a character is no character of its own.
      {MemoryFile::kPhrases, Sj("　"), "@", false},
      {MemoryFile::kPhrases, Sj("　@"), "@", true},
      // A lone lead byte and the byte after it.
      {MemoryFile::kPhrases, "x\x81", "\x81", true},
  };
  for (const Case& c : cases) {
    TextFinder finder(c.search);
    EXPECT_EQ(Listed(c.file, c.line, finder), c.listed)
        << NarrowToUtf8(c.line) << " / " << NarrowToUtf8(c.search);
  }
}

TEST(ListedLinesTest, PassesOverLinesThatCannotStartWithTheKey) {
  struct Case {
    std::string key;
    std::string text;
    bool may;
  };
  const Case cases[] = {
      {Sj("猫"), Sj("猫＝動物"), true},
      {Sj("猫"), Sj("犬＝動物"), false},
      {"", Sj("犬＝動物"), true},
      {std::string(kBecause) + "x", std::string(kBecauseNec) + "x*y", true},
      {std::string(kBecauseIbm), std::string(kBecause), true},
      {"@", Sj("　"), false},
      {"a", "b", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FirstCharacter(c.key).MayStart(c.text), c.may)
        << NarrowToUtf8(c.key) << " / " << NarrowToUtf8(c.text);
  }
}

}  // namespace
}  // namespace holvan::memory
