#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/companion.h"
#include "store/brain.h"
#include "store/data_files.h"
#include "store/dictionary.h"
#include "store/phrase_log.h"
#include "support/companion_in_folder.h"
#include "support/store_entries.h"
#include "support/temp_dir.h"
#include "text/cp932.h"
#include "text/primitives.h"

namespace holvan {
namespace {

using testing::CompanionInFolder;
using testing::LinesOf;
using testing::PairsOf;
using testing::Sj;
using testing::TempDir;

// Random texts from few pieces, so that keys often begin with, contain or
// equal each other: whole characters, the bytes of one character split, a
// character with two encodings (ED 40 and FA 5C), a lone lead byte, a zero
// byte and the separators of the data files.
class TextMaker {
 public:
  explicit TextMaker(uint32_t seed) : engine_(seed) {
    for (const char* utf8 : {"猫", "猫舌", "ア", "は", "の", "と", "とは", "だ",
                             "＊", "＝", "犬", " ", "ネコ", "A", "*"}) {
      pieces_.push_back(Sj(utf8));
    }
    pieces_.push_back("\xED\x40");
    pieces_.push_back("\xFA\x5C");
    pieces_.push_back("\x83");
    pieces_.push_back("\x81");
    pieces_.push_back(std::string(1, '\0'));
  }

  int Below(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
  }
  NarrowText Text(int max_pieces) {
    NarrowText text;
    for (int n = Below(max_pieces + 1); n > 0; --n) {
      text += pieces_[static_cast<std::size_t>(
          Below(static_cast<int>(pieces_.size())))];
    }
    return text;
  }
  NarrowText Value() {
    NarrowText value = Text(2);
    for (int n = Below(3); n > 0; --n) value += Sj("＊") + Text(2);
    return value;
  }

 private:
  std::mt19937 engine_;
  std::vector<NarrowText> pieces_;
};

std::vector<int32_t> Visits(const Brain& brain, const WideText& line,
                            int stop_after) {
  std::vector<int32_t> visited;
  brain.ForEachKeyIn(line, [&](int32_t i) {
    visited.push_back(i);
    return static_cast<int>(visited.size()) == stop_after;
  });
  return visited;
}

// Indexed and scanning stores fed the same entries and asked the same things.
void CompareStores(uint32_t seed, int entries, int steps) {
  TextMaker maker(seed);
  Brain brain;
  Brain brain_scan;
  Dictionary dictionary;
  Dictionary dictionary_scan;
  PhraseLog log;
  PhraseLog log_scan;
  // The first entries are indexed in one go, as loading does.
  brain.SetLookup(Lookup::kScan);
  brain_scan.SetLookup(Lookup::kScan);
  dictionary.SetLookup(Lookup::kScan);
  dictionary_scan.SetLookup(Lookup::kScan);
  log_scan.SetLookup(Lookup::kScan);
  for (int i = 0; i < entries; ++i) {
    const NarrowText key = maker.Text(4);
    const NarrowText value = maker.Value();
    brain.Add(key, value);
    brain_scan.Add(key, value);
    dictionary.Add(key, value);
    dictionary_scan.Add(key, value);
  }
  brain.SetLookup(Lookup::kIndexed);
  dictionary.SetLookup(Lookup::kIndexed);

  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " step " +
                 std::to_string(step));
    const NarrowText text = maker.Text(step % 3 == 0 ? 8 : 4);
    switch (maker.Below(4)) {
      case 0:
        brain.Add(text, "v");
        brain_scan.Add(text, "v");
        dictionary.Add(text, "v");
        dictionary_scan.Add(text, "v");
        log.Add(text);
        log_scan.Add(text);
        break;
      case 1:
        ASSERT_EQ(brain.FindKeyStartingWith(text),
                  brain_scan.FindKeyStartingWith(text));
        ASSERT_EQ(dictionary.Find(text), dictionary_scan.Find(text));
        ASSERT_EQ(log.Contains(text), log_scan.Contains(text));
        break;
      default: {
        const WideText line = ToWide(text);
        const int stop_after = maker.Below(4);
        ASSERT_EQ(Visits(brain, line, stop_after),
                  Visits(brain_scan, line, stop_after));
      }
    }
  }
}

TEST(IndexDifferentialTest, SmallStoresAnswerAsTheirScans) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    CompareStores(seed, static_cast<int>(seed % 40), 80);
  }
}

TEST(IndexDifferentialTest, LargeStoresAnswerAsTheirScans) {
  // Enough entries, loaded and added, for the ordered index to cut and split
  // its blocks.
  CompareStores(1001, 3000, 400);
  CompareStores(1002, 0, 4000);
  // More keys than a bulk build takes at a time, with keys repeated across.
  CompareStores(1003, 140000, 60);
}

// Every prefix of each key, and each key followed by another byte, looked
// up in brain as in scan, its scanning twin.
void ExpectPrefixesAsTheScan(const Brain& brain, const Brain& scan) {
  for (int32_t i = 0; i < scan.Count(); ++i) {
    const NarrowText key(scan.Key(i));
    for (const NarrowText& probe : {key + "a", key + '\0'}) {
      ASSERT_EQ(brain.FindKeyStartingWith(probe),
                scan.FindKeyStartingWith(probe))
          << "key " << i;
    }
    for (std::size_t length = 1; length <= key.size(); ++length) {
      const std::string_view probe = std::string_view(key).substr(0, length);
      ASSERT_EQ(brain.FindKeyStartingWith(probe),
                scan.FindKeyStartingWith(probe))
          << "key " << i << ", " << length << " bytes";
    }
  }
}

// Keys added one at a time, each where the order puts it, split the blocks
// of the ordered index again and again: always the first block (keys
// coming in descending order) or any of them (in shuffled order).
TEST(IndexDifferentialTest, BlockSplitsKeepTheOrderOfTheScan) {
  std::vector<NarrowText> keys;
  for (int i = 0; i < 700; ++i) {
    keys.push_back(Sj(i % 2 == 0 ? "猫" : "ネコ") + std::to_string(i % 350));
  }
  std::sort(keys.begin(), keys.end(), std::greater<>());
  std::vector<NarrowText> shuffled = keys;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
  for (const bool descending : {true, false}) {
    SCOPED_TRACE(descending ? "descending" : "shuffled");
    const std::vector<NarrowText>& order = descending ? keys : shuffled;
    Brain brain;
    Brain scan;
    scan.SetLookup(Lookup::kScan);
    for (std::size_t i = 0; i < order.size(); ++i) {
      brain.Add(order[i], "v");
      scan.Add(order[i], "v");
      if (i % 97 == 0 || i + 1 == order.size()) {
        ASSERT_NO_FATAL_FAILURE(ExpectPrefixesAsTheScan(brain, scan))
            << "after " << i + 1 << " keys";
      }
    }
  }
}

// The ordered index keeps the first eight bytes of each key as a number;
// keys alike in those differ only in their keys' bytes. Built in one go and
// added one at a time, it answers as the scan.
TEST(IndexDifferentialTest, KeysAlikeInTheirFirstEightBytes) {
  const std::vector<NarrowText> keys = {"ABCDEFGHz",
                                        "ABCDEFGHa",
                                        "ABCDEFGH",
                                        "ABCDEFGHab",
                                        "ABCDEFG",
                                        "ABCDEFGHa",
                                        std::string("ABCDEFG\0z", 9),
                                        "ABCDEFGI",
                                        Sj("あいうえお"),
                                        Sj("あいうえか"),
                                        Sj("あいうえ")};
  for (const bool built : {true, false}) {
    SCOPED_TRACE(built ? "built in one go" : "added one at a time");
    Brain brain;
    Brain scan;
    scan.SetLookup(Lookup::kScan);
    if (built) brain.SetLookup(Lookup::kScan);
    for (const NarrowText& key : keys) {
      brain.Add(key, "v");
      scan.Add(key, "v");
    }
    if (built) brain.SetLookup(Lookup::kIndexed);
    ExpectPrefixesAsTheScan(brain, scan);
  }
}

// The data files read by the plain rules: each line searched through its
// UTF-16 form with WidePos and cut with WideCopy, keeping its bytes.
TEST(IndexDifferentialTest, LoadingCutsLinesAsThePlainRules) {
  TextMaker maker(77);
  TempDir dir;
  NarrowText brain_bytes;
  NarrowText dictionary_bytes;
  std::vector<NarrowText> lines;
  for (int i = 0; i < 3000; ++i) {
    // A zero byte would end the file.
    lines.push_back(maker.Text(8));
    std::erase(lines.back(), '\0');
    brain_bytes += lines.back() + (i % 3 == 0 ? "\n" : "\r\n");
    dictionary_bytes += lines.back() + "\r\n";
  }
  dir.WriteBytes("brain.dat", brain_bytes);
  dir.WriteBytes("dic.dat", dictionary_bytes);
  Stores stores;
  LoadStores(dir.path(), stores);

  std::vector<NarrowText> brain;
  std::vector<NarrowText> dictionary;
  for (const NarrowText& line : lines) {
    const WideText wide = ToWide(line);
    const auto length = static_cast<int32_t>(wide.size());
    const int32_t p = WidePos(ToWide(Sj("＝")), wide);
    brain.push_back(WideCopy(line, 1, p - 1) + "|" +
                    WideCopy(line, p + 1, length));
    for (int32_t i = 1; i <= length; ++i) {
      if (ToNarrow(wide.substr(static_cast<std::size_t>(i - 1), 1)) == "*") {
        dictionary.push_back(WideCopy(line, 1, i - 1) + "|" +
                             WideCopy(line, i + 1, length - i));
        break;
      }
    }
  }
  EXPECT_EQ(PairsOf(stores.brain), brain);
  EXPECT_EQ(PairsOf(stores.dictionary), dictionary);
}

// Stores loaded from files build their indexes beside; the first lookup, the
// first change, a new load or the stores' end may come while they do. Then
// and after, they answer as scanning stores loaded from the same files.
TEST(IndexDifferentialTest, StoresIndexedBesideAnswerAsTheirScans) {
  TextMaker maker(99);
  // A zero byte would end the file.
  const auto text = [&maker](int pieces) {
    NarrowText t = maker.Text(pieces);
    std::erase(t, '\0');
    return t;
  };
  TempDir dir;
  NarrowText brain;
  NarrowText dictionary;
  NarrowText log;
  for (int i = 0; i < 40000; ++i) {
    brain += text(4) + Sj("＝") + text(3) + "\r\n";
    dictionary += text(4) + "*" + text(3) + "\r\n";
    log += text(5) + "\r\n";
  }
  dir.WriteBytes("brain.dat", brain);
  dir.WriteBytes("dic.dat", dictionary);
  dir.WriteBytes("res.dat", log);
  enum class First { kLookUp, kAdd, kSetValue, kLoadAgain, kEnd };
  for (const First first : {First::kLookUp, First::kAdd, First::kSetValue,
                            First::kLoadAgain, First::kEnd}) {
    SCOPED_TRACE("case " + std::to_string(static_cast<int>(first)));
    auto fast = std::make_unique<Stores>();
    Stores scan;
    scan.brain.SetLookup(Lookup::kScan);
    scan.dictionary.SetLookup(Lookup::kScan);
    scan.phrase_log.SetLookup(Lookup::kScan);
    LoadStores(dir.path(), *fast);
    LoadStores(dir.path(), scan);
    const NarrowText added = text(4);
    for (Stores* stores : {fast.get(), &scan}) {
      switch (first) {
        case First::kLookUp:
          break;
        case First::kAdd:
          stores->brain.Add(added, "v");
          stores->dictionary.Add(added, "v");
          stores->phrase_log.Add(added);
          break;
        case First::kSetValue:
          stores->brain.SetValue(0, added);
          break;
        case First::kLoadAgain:
          LoadStores(dir.path(), *stores);
          break;
        case First::kEnd:
          if (stores == fast.get()) fast.reset();
          break;
      }
    }
    if (!fast) continue;
    for (int step = 0; step < 300; ++step) {
      const NarrowText probe = step == 0 ? added : text(step % 3 == 0 ? 8 : 4);
      ASSERT_EQ(fast->brain.FindKeyStartingWith(probe),
                scan.brain.FindKeyStartingWith(probe));
      ASSERT_EQ(fast->dictionary.Find(probe), scan.dictionary.Find(probe));
      ASSERT_EQ(fast->phrase_log.Contains(probe),
                scan.phrase_log.Contains(probe));
      ASSERT_EQ(Visits(fast->brain, ToWide(probe), 3),
                Visits(scan.brain, ToWide(probe), 3));
    }
    EXPECT_EQ(PairsOf(fast->brain), PairsOf(scan.brain));
  }
}

// A random conversation over random data files, line for line the same for
// an indexed and a scanning companion.
class Talker : public CompanionInFolder<> {
 public:
  explicit Talker(Lookup lookup) {
    platform.seed = 4242;
    Stores& stores = conversation().stores;
    stores.brain.SetLookup(lookup);
    stores.dictionary.SetLookup(lookup);
    stores.phrase_log.SetLookup(lookup);
  }
  void Type(const NarrowText& line) { closed = TypeAndPress(line) || closed; }
  void Close() {
    if (!closed) companion.Close();
  }
  uint32_t seed() { return conversation().random.seed(); }

  bool closed = false;
};

void WriteDataFiles(TextMaker& maker, const TempDir& dir) {
  NarrowText brain = Sj("好き＝嬉しい＊楽しい\r\n嫌い＝悲しい\r\n");
  NarrowText dictionary;
  NarrowText log;
  for (int i = maker.Below(30); i > 0; --i) {
    brain += maker.Text(3) + Sj("＝") + maker.Value() + "\r\n";
    dictionary += maker.Text(3) + "*" + maker.Value() + "\r\n";
    log += maker.Text(5) + "\r\n";
  }
  brain += maker.Text(6) + "\r\n";
  dictionary += maker.Text(6) + "\r\n";
  dir.WriteBytes("brain.dat", brain);
  dir.WriteBytes("dic.dat", dictionary);
  dir.WriteBytes("res.dat", log);
  dir.WriteBytes("holv.dat", Sj("太郎\r\n3\r\n2\r\n0\r\n0\r\n0\r\n0\r\n"));
}

// A line in one of the forms the conversation reacts to, its blanks filled
// with random texts.
NarrowText RandomLine(TextMaker& maker) {
  static const char* const kForms[] = {"%は？",
                                       "%って何？",
                                       "%とは%だ",
                                       "%というのは%だ",
                                       "%とは%のことだよ",
                                       "%とは%のこと",
                                       "ちがう%",
                                       "違う",
                                       "そうそう",
                                       "いいよ",
                                       "だめ",
                                       "%",
                                       "%%",
                                       "好き",
                                       "嫌い",
                                       "%っての？"};
  const std::string_view form = kForms[maker.Below(16)];
  NarrowText line;
  std::size_t begin = 0;
  for (std::size_t blank = form.find('%'); blank != std::string_view::npos;
       blank = form.find('%', begin)) {
    line += Sj(form.substr(begin, blank - begin)) + maker.Text(3);
    begin = blank + 1;
  }
  return line + Sj(form.substr(begin));
}

TEST(IndexDifferentialTest, ConversationsGoAsWithScans) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TextMaker maker(seed);
    Talker fast(Lookup::kIndexed);
    Talker scan(Lookup::kScan);
    WriteDataFiles(maker, fast.dir);
    for (const char* name : {"brain.dat", "dic.dat", "res.dat", "holv.dat"}) {
      scan.dir.WriteBytes(name, fast.dir.ReadBytes(name));
    }
    fast.companion.Start();
    scan.companion.Start();
    for (int step = 0; step < 150 && !fast.closed; ++step) {
      if (maker.Below(8) == 0) {
        fast.companion.IdleTick();
        scan.companion.IdleTick();
      } else {
        const NarrowText line = RandomLine(maker);
        fast.Type(line);
        scan.Type(line);
      }
      ASSERT_EQ(fast.view.appended, scan.view.appended) << "step " << step;
      ASSERT_EQ(fast.seed(), scan.seed()) << "step " << step;
    }
    const Stores& a = fast.companion.stores();
    const Stores& b = scan.companion.stores();
    EXPECT_EQ(PairsOf(a.brain), PairsOf(b.brain));
    EXPECT_EQ(LinesOf(a.phrase_log), LinesOf(b.phrase_log));
    EXPECT_EQ(PairsOf(a.dictionary), PairsOf(b.dictionary));
    EXPECT_EQ(fast.companion.state().profile.mood,
              scan.companion.state().profile.mood);
    EXPECT_EQ(fast.companion.state().follow_up_key,
              scan.companion.state().follow_up_key);
    // Saving syncs to the disk, so only some runs go as far.
    if (seed % 8 != 0) continue;
    fast.Close();
    scan.Close();
    for (const char* name : {"brain.dat", "res.dat", "holv.dat"}) {
      EXPECT_EQ(fast.dir.ReadBytes(name), scan.dir.ReadBytes(name)) << name;
    }
  }
}

}  // namespace
}  // namespace holvan
