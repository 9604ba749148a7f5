#include "store/stored_pairs.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "errors/error.h"
#include "store/brain.h"
#include "store/dictionary.h"
#include "store/line_forms.h"
#include "store/stored_lines.h"
#include "store/stored_text.h"
#include "support/store_entries.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::PairsOf;
using testing::Sj;
using testing::TempDir;
using Lines = std::vector<NarrowText>;

std::optional<KeyAndValue> BrainLine(std::string_view line) {
  return SplitBrainLine(line);
}

// The pairs of a brain.dat of bytes.
StoredPairs Loaded(const TempDir& dir, std::string_view bytes) {
  dir.WriteBytes("brain.dat", bytes);
  StoredPairs pairs(BrainSeparator());
  pairs.Load(ReadStoreFile(dir.File("brain.dat")), BrainLine);
  return pairs;
}

std::string Saved(const TempDir& dir, const StoredPairs& pairs) {
  AtomicFileWriter writer(dir.File("saved.dat"));
  pairs.Write(writer);
  writer.Commit();
  return dir.ReadBytes("saved.dat");
}

TEST(StoredPairsTest, WritesEveryPairAsKeySeparatorValue) {
  TempDir dir;
  // A line without "＝", lone breaks, and a last line without a break.
  StoredPairs pairs =
      Loaded(dir, Sj("猫＝動物\r\n犬\n鳥＝空＝青\r\r\n＝\r\n魚＝水"));
  EXPECT_EQ(PairsOf(pairs), (Lines{Sj("猫|動物"), Sj("|犬"), Sj("鳥|空＝青"),
                                   "|", "|", Sj("魚|水")}));
  EXPECT_EQ(Saved(dir, pairs),
            Sj("猫＝動物\r\n＝犬\r\n鳥＝空＝青\r\n＝\r\n＝\r\n魚＝水\r\n"));

  pairs.SetValue(0, Sj("猫の値"));
  EXPECT_EQ(pairs.Add(Sj("新"), ""), 6);
  EXPECT_EQ(pairs.Add("", Sj("空の鍵")), 7);
  pairs.SetValue(5, Sj("水の中"));
  pairs.SetValue(6, Sj("新しい"));
  // A value given as a view of the pairs' own bytes.
  pairs.SetValue(1, pairs.Value(6));
  EXPECT_EQ(PairsOf(pairs),
            (Lines{Sj("猫|猫の値"), Sj("|新しい"), Sj("鳥|空＝青"), "|", "|",
                   Sj("魚|水の中"), Sj("新|新しい"), Sj("|空の鍵")}));
  EXPECT_EQ(Saved(dir, pairs),
            Sj("猫＝猫の値\r\n＝新しい\r\n鳥＝空＝青\r\n＝\r\n＝\r\n"
               "魚＝水の中\r\n新＝新しい\r\n＝空の鍵\r\n"));

  try {
    pairs.Key(8);
    FAIL() << "Key(8) returned";
  } catch (const Error& error) {
    EXPECT_EQ(error.BoxText(), Sj("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (8)"));
  }
  EXPECT_THROW(pairs.Value(-1), Error);
  EXPECT_THROW(pairs.SetValue(8, "x"), Error);
  EXPECT_EQ(pairs.Count(), 8);
}

TEST(StoredPairsTest, ValuesRewrittenMillionsOfBytesOverKeepEveryPair) {
  TempDir dir;
  std::string file;
  for (int i = 0; i < 100; ++i)
    file += "k" + std::to_string(i) + Sj("＝") + "v\r\n";
  StoredPairs pairs = Loaded(dir, file);
  for (int i = 0; i < 50; ++i) pairs.Add("a" + std::to_string(i), "w");
  std::vector<std::string> values(150);
  for (int round = 0; round < 400; ++round) {
    for (int i = round % 3; i < 150; i += 3) {
      values[i] = std::string(static_cast<std::size_t>(round % 97), 'x') +
                  std::to_string(round);
      pairs.SetValue(i, values[i]);
    }
  }
  std::string expected;
  for (int i = 0; i < 150; ++i) {
    const std::string key =
        (i < 100 ? "k" : "a") + std::to_string(i < 100 ? i : i - 100);
    EXPECT_EQ(pairs.Key(i), key);
    EXPECT_EQ(pairs.Value(i), values[i]);
    expected += key + Sj("＝") + values[i] + "\r\n";
  }
  EXPECT_EQ(Saved(dir, pairs), expected);
}

// The added lines are rebuilt again and again while one pair is rewritten;
// a pair set once (the first added line) and one added once move along
// unchanged.
TEST(StoredPairsTest, CompactionKeepsThePairsThatWereNeverRewritten) {
  TempDir dir;
  StoredPairs pairs = Loaded(dir, Sj("猫＝動物\r\n犬＝動物\r\n"));
  pairs.SetValue(1, Sj("忠実な動物"));
  pairs.Add(Sj("鳥"), Sj("空を飛ぶ"));
  const std::string filler(200, 'x');
  for (int i = 0; i < 5000; ++i) pairs.SetValue(0, filler + std::to_string(i));
  EXPECT_EQ(PairsOf(pairs), (Lines{Sj("猫|") + filler + "4999",
                                   Sj("犬|忠実な動物"), Sj("鳥|空を飛ぶ")}));
  EXPECT_EQ(Saved(dir, pairs), Sj("猫＝") + filler + "4999\r\n" +
                                   Sj("犬＝忠実な動物\r\n鳥＝空を飛ぶ\r\n"));
}

// Stores made from a block of bytes that was never allocated, whose view holds
// no pointer at all: nothing is read, and they grow as from an empty file.
TEST(StoredPairsTest, BytesNeverAllocatedMakeEmptyStoresThatGrow) {
  TempDir dir;
  for (const bool with_room : {false, true}) {
    SCOPED_TRACE(with_room);
    const auto none = [with_room] {
      return with_room ? FileBytes(std::string_view(), 0) : FileBytes();
    };
    ASSERT_EQ(none().data(), nullptr);

    StoredPairs pairs(BrainSeparator());
    pairs.Load(none(), BrainLine);
    EXPECT_EQ(pairs.Count(), 0);
    EXPECT_EQ(Saved(dir, pairs), "");
    pairs.Add(Sj("猫"), Sj("動物"));
    EXPECT_EQ(Saved(dir, pairs), Sj("猫＝動物\r\n"));

    StoredLines lines;
    lines.Load(none());
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_THROW(lines.Get(0), Error);
    EXPECT_EQ(lines.Add(Sj("こんにちは")), 0);
    EXPECT_EQ(lines.Get(0), Sj("こんにちは"));

    Brain brain;
    brain.Load(none(), BrainLine);
    EXPECT_EQ(brain.FindKeyStartingWith(Sj("猫")), -1);
    int32_t visited = 0;
    brain.ForEachKeyIn(u"猫", [&visited](int32_t) {
      ++visited;
      return false;
    });
    EXPECT_EQ(visited, 0);
    brain.Add(Sj("猫"), Sj("動物"));
    EXPECT_EQ(brain.FindKeyStartingWith(Sj("猫")), 0);

    Dictionary dictionary;
    dictionary.Load(none(), SplitDictionaryLine);
    EXPECT_EQ(dictionary.Find(Sj("猫")), -1);
    dictionary.Add(Sj("猫"), Sj("動物"));
    EXPECT_EQ(dictionary.Find(Sj("猫")), 0);
  }
  EXPECT_EQ(UpToZero(std::string_view()), "");
  EXPECT_EQ(CountLineFeeds(std::string_view()), 0u);
}

}  // namespace
}  // namespace holvan
