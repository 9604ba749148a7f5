#include "store/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "errors/error.h"
#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;
using testing::TempDir;

struct Loaded {
  Stores stores;
  Profile profile;
};

Loaded Load(const TempDir& dir) {
  Loaded loaded;
  loaded.profile = LoadStores(dir.path(), loaded.stores);
  return loaded;
}

TEST(DataFilePathTest, JoinsWithOneSlashAndRemovesNothing) {
  EXPECT_EQ(DataFilePath("/home/u", "brain.dat"), "/home/u/brain.dat");
  EXPECT_EQ(DataFilePath("/", "res.dat"), "//res.dat");
}

TEST(LoadStoresTest, BrainSplitsEachLineAtItsFirstFullWidthEquals) {
  TempDir dir;
  dir.WriteSj("brain.dat",
              "猫＝動物＊ペット\r\n猫\r\n\r\n＝前\r\n後＝\r\n犬＝a＝b\nx=y\rz");
  const Brain& brain = Load(dir).stores.brain;
  ASSERT_EQ(brain.Count(), 8);
  const char* expected[][2] = {
      {"猫", "動物＊ペット"}, {"", "猫"},  {"", ""}, {"", "前"}, {"後", ""},
      {"犬", "a＝b"},         {"", "x=y"}, {"", "z"}};
  for (int32_t i = 0; i < brain.Count(); ++i) {
    EXPECT_EQ(brain.Key(i), Sj(expected[i][0])) << i;
    EXPECT_EQ(brain.Value(i), Sj(expected[i][1])) << i;
  }
}

TEST(LoadStoresTest, DictionarySplitsOnlyAtAnAsciiAsterisk) {
  TempDir dir;
  dir.WriteSj("dic.dat",
              "犬*動物*哺乳類\r\n犬＊動物\r\n\r\n*空\r\n鳥*\r\nｶﾅ*ﾃﾞｽ");
  const Dictionary& dictionary = Load(dir).stores.dictionary;
  ASSERT_EQ(dictionary.Count(), 4);
  EXPECT_EQ(dictionary.Key(0), Sj("犬"));
  EXPECT_EQ(dictionary.Value(0), Sj("動物*哺乳類"));
  EXPECT_EQ(dictionary.Key(1), "");
  EXPECT_EQ(dictionary.Value(1), Sj("空"));
  EXPECT_EQ(dictionary.Key(2), Sj("鳥"));
  EXPECT_EQ(dictionary.Value(2), "");
  EXPECT_EQ(dictionary.Key(3), Sj("ｶﾅ"));
  EXPECT_EQ(dictionary.Value(3), Sj("ﾃﾞｽ"));
}

// A stray lead byte (81) before a character with another preferred code (FA
// 54, preferred 81 CA), and a NEC-selected kanji (ED 40, preferred FA 5C):
// recoded, 81 81 CA would read back as "＝" and move the split.
TEST(LoadStoresTest, KeysAndValuesKeepTheLinesBytes) {
  TempDir dir;
  const NarrowText brain = "\x81\xFA\x54" + Sj("＝") + "\xED\x40\x81\xFA\x54" +
                           "\r\n" + Sj("猫＝") + "\x81\xFA\x54\r\n";
  const NarrowText dic = "\x81\xFA\x54*\xED\x40\r\n";
  dir.WriteBytes("brain.dat", brain);
  dir.WriteBytes("dic.dat", dic);
  Loaded loaded = Load(dir);
  const Brain& keys = loaded.stores.brain;
  ASSERT_EQ(keys.Count(), 2);
  EXPECT_EQ(keys.Key(0), "\x81\xFA\x54");
  EXPECT_EQ(keys.Value(0), "\xED\x40\x81\xFA\x54");
  EXPECT_EQ(keys.Value(1), "\x81\xFA\x54");
  ASSERT_EQ(loaded.stores.dictionary.Count(), 1);
  EXPECT_EQ(loaded.stores.dictionary.Key(0), "\x81\xFA\x54");
  EXPECT_EQ(loaded.stores.dictionary.Value(0), "\xED\x40");

  SaveStores(dir.path(), loaded.stores);
  EXPECT_EQ(dir.ReadBytes("brain.dat"), brain);
  EXPECT_EQ(dir.ReadBytes("dic.dat"), dic);
}

TEST(LoadStoresTest, PhraseLogKeepsEveryLineAndStartsEmptyWithoutItsFile) {
  TempDir dir;
  dir.WriteSj("dic.dat", "犬*動物\r\n");
  EXPECT_EQ(Load(dir).stores.phrase_log.Count(), 0);

  dir.WriteSj("res.dat", "abc\r\n\r\nabc\r\nABC\r\n");
  const PhraseLog& log = Load(dir).stores.phrase_log;
  ASSERT_EQ(log.Count(), 4);
  EXPECT_EQ(log.Get(1), "");
  EXPECT_EQ(log.Get(2), "abc");
}

TEST(LoadStoresTest, ProfileCountersAreReadOnlyWhenLineTwoHoldsSomething) {
  TempDir dir;
  dir.WriteSj("holv.dat", "太郎\r\n\r\n5\r\n5\r\n5\r\n5\r\n5\r\n");
  Loaded name_only = Load(dir);
  EXPECT_EQ(name_only.profile.user_name, Sj("太郎"));
  EXPECT_EQ(name_only.profile.visit_count, 0);
  EXPECT_EQ(name_only.profile.mood, 0);
  EXPECT_EQ(name_only.profile.angry_exit_count, 0);

  dir.WriteSj("holv.dat", "太郎\r\n5\r\nabc\r\n\r\n7\r\n$10\r\n-3");
  Loaded full = Load(dir);
  EXPECT_EQ(full.profile.visit_count, 6);
  EXPECT_EQ(full.profile.mood, 1);
  EXPECT_EQ(full.profile.spare_count1, 1);
  EXPECT_EQ(full.profile.spare_count2, 7);
  EXPECT_EQ(full.profile.spare_count3, 16);
  EXPECT_EQ(full.profile.angry_exit_count, -3);

  dir.WriteSj("holv.dat", "\r\nxyz\r\n");
  Loaded unparsable = Load(dir);
  EXPECT_EQ(unparsable.profile.user_name, "");
  EXPECT_EQ(unparsable.profile.visit_count, 1);
  EXPECT_EQ(unparsable.profile.mood, 1);
  EXPECT_EQ(unparsable.profile.angry_exit_count, 1);

  dir.WriteSj("holv.dat", "x\r\n2147483647\r\n");
  EXPECT_EQ(Load(dir).profile.visit_count, INT32_MIN);
}

TEST(LoadStoresTest, ADirectoryInAFilesPlaceCountsAsAbsent) {
  TempDir dir;
  for (const char* name : {"brain.dat", "dic.dat", "res.dat", "holv.dat"}) {
    std::filesystem::create_directory(dir.File(name));
  }
  Loaded loaded = Load(dir);
  EXPECT_EQ(loaded.stores.brain.Count(), 0);
  EXPECT_EQ(loaded.stores.dictionary.Count(), 0);
  EXPECT_EQ(loaded.stores.phrase_log.Count(), 0);
  EXPECT_EQ(loaded.stores.profile_lines.Text(), "");
}

// The stores load side by side, but a file that cannot be read stops the load
// where it comes in file order: the stores before it are loaded, those after
// it untouched and marked unread. A store file of more than 4 GiB (sparse
// here) cannot be read.
TEST(LoadStoresTest, AFileThatCannotBeReadStopsTheLoadInFileOrder) {
  for (const char* failing : {"brain.dat", "dic.dat", "res.dat"}) {
    SCOPED_TRACE(failing);
    TempDir dir;
    dir.WriteSj("brain.dat", "猫＝動物\r\n");
    dir.WriteSj("dic.dat", "犬*動物\r\n");
    dir.WriteSj("res.dat", "こんにちは\r\n");
    dir.WriteSj("holv.dat", "太郎\r\n");
    std::filesystem::resize_file(dir.File(failing), (uint64_t{9} << 29));
    Stores stores;
    try {
      LoadStores(dir.path(), stores);
      FAIL() << "loaded";
    } catch (const Error& error) {
      EXPECT_EQ(error.message(),
                Sj("ﾌｧｲﾙ " + dir.File(failing) + " は開けません"));
    }
    const std::string_view name = failing;
    EXPECT_EQ(stores.brain.Count(), name == "brain.dat" ? 0 : 1);
    EXPECT_EQ(stores.brain_unread, name == "brain.dat");
    EXPECT_EQ(stores.dictionary.Count(), name == "res.dat" ? 1 : 0);
    EXPECT_EQ(stores.phrase_log.Count(), 0);
    EXPECT_TRUE(stores.phrase_log_unread);
    EXPECT_TRUE(stores.profile_unread);
    EXPECT_EQ(stores.profile_lines.Text(), "");
  }
}

TEST(UpdateProfileTest, PadsShortProfilesAndKeepsLinesAfterTheSeventh) {
  Profile profile;
  profile.user_name = Sj("太郎");
  profile.visit_count = 3;
  profile.mood = 4;
  profile.spare_count1 = 1;
  profile.spare_count2 = 2;
  profile.spare_count3 = 3;
  profile.angry_exit_count = -1;
  const NarrowText fields = Sj("太郎\r\n3\r\n4\r\n1\r\n2\r\n3\r\n-1\r\n");

  TextLines empty;
  UpdateProfile(profile, empty);
  EXPECT_EQ(empty.Text(), fields);

  TextLines name_line;
  name_line.SetText(Sj("花子\r\n"));
  UpdateProfile(profile, name_line);
  EXPECT_EQ(name_line.Text(), fields + "\r\n");

  // Without a final break the first padding line only closes the name line.
  TextLines unterminated;
  unterminated.SetText(Sj("花子"));
  UpdateProfile(profile, unterminated);
  EXPECT_EQ(unterminated.Text(), fields);

  TextLines long_profile;
  long_profile.SetText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni");
  UpdateProfile(profile, long_profile);
  EXPECT_EQ(long_profile.Text(), fields + "h\r\ni");
}

// Stores as start-up leaves them once it has read every file.
Stores ReadStores() {
  Stores stores;
  stores.brain_unread = stores.phrase_log_unread = stores.profile_unread =
      false;
  return stores;
}

TEST(SaveStoresTest, WritesKeyEqualsValuePerBrainPair) {
  TempDir dir;
  dir.WriteBytes("brain.dat", "old");
  Stores stores = ReadStores();
  SaveStores(dir.path(), stores);
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "");
  stores.brain.Add(Sj("猫"), Sj("動物＊ペット"));
  stores.brain.Add("", Sj("猫"));
  stores.brain.Add("", "");
  stores.brain.Add(Sj("犬＝"), "x");
  SaveStores(dir.path(), stores);
  EXPECT_EQ(dir.ReadBytes("brain.dat"),
            Sj("猫＝動物＊ペット\r\n＝猫\r\n＝\r\n犬＝＝x\r\n"));
}

TEST(SaveStoresTest, SkipsAbsentFilesAndDirectories) {
  TempDir dir;
  Stores stores = ReadStores();
  stores.brain.Add("k", "v");
  stores.phrase_log.Add("p");
  stores.profile_lines.SetText("x\r\n");
  dir.WriteBytes("res.dat", "old\r\n");
  std::filesystem::create_directory(dir.File("brain.dat"));
  SaveStores(dir.path(), stores);
  EXPECT_EQ(dir.ReadBytes("res.dat"), "p\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("brain.dat")));
  EXPECT_FALSE(dir.Exists("holv.dat"));
}

}  // namespace
}  // namespace holvan
