#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "conversation/companion.h"
#include "errors/error.h"
#include "support/companion_in_folder.h"
#include "support/file_faults.h"

namespace holvan {
namespace {

using testing::FakePlatform;
using testing::FakeView;
using testing::FileAttribute;
using testing::Sj;
using testing::TempDir;

// Records what the profile file held when the closing box came up.
class ClosingView : public FakeView {
 public:
  void ShowClosingMessage() override {
    FakeView::ShowClosingMessage();
    profile_at_box = dir->ReadBytes("holv.dat");
  }
  const TempDir* dir = nullptr;
  std::string profile_at_box;
};

class ClosingTest : public ::testing::Test,
                    public testing::CompanionInFolder<ClosingView> {
 protected:
  ClosingTest() { view.dir = &dir; }

  void Type(std::string_view utf8) { TypeAndPress(Sj(utf8)); }

  static constexpr char kProfile[] =
      "太郎\r\n5\r\n2\r\n1\r\n1\r\n1\r\n0\r\n追記\r\n";
  static constexpr char kBrain[] = "嬉しい＝楽しい\r\n悲しい＝辛い\r\n猫";
  static constexpr char kPhrases[] = "こんにちは\r\n";

  void WriteAllFiles() {
    dir.WriteSj("holv.dat", kProfile);
    dir.WriteSj("brain.dat", kBrain);
    dir.WriteSj("res.dat", kPhrases);
  }

  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

const char kSavedProfile[] = "太郎\r\n6\r\n3\r\n1\r\n1\r\n1\r\n0\r\n追記\r\n";
const char kSavedBrain[] = "嬉しい＝楽しい\r\n悲しい＝辛い\r\n＝猫\r\n";
const char kSavedPhrases[] = "こんにちは\r\nx\r\n";

TEST_F(ClosingTest, WritesEveryExistingFileExactlyThenShowsTheBox) {
  WriteAllFiles();
  companion.Start();
  conversation().state.profile.mood = 3;
  conversation().stores.phrase_log.Add("x");
  companion.Close();
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Sj(kSavedProfile));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj(kSavedBrain));
  EXPECT_EQ(dir.ReadBytes("res.dat"), Sj(kSavedPhrases));
  EXPECT_EQ(view.closing_messages, 1);
  EXPECT_EQ(view.profile_at_box, Sj(kSavedProfile));
}

TEST_F(ClosingTest, WithoutFilesNothingIsCreatedAndTheBoxStillShows) {
  companion.Start();
  Type("太郎");
  companion.Close();
  EXPECT_TRUE(FileNames().empty());
  EXPECT_EQ(view.closing_messages, 1);
}

// Nothing is known of the files before the start reads them.
TEST_F(ClosingTest, ASaveBeforeTheStartWritesNothing) {
  WriteAllFiles();
  companion.SaveQuietly();
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Sj(kProfile));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj(kBrain));
  EXPECT_EQ(dir.ReadBytes("res.dat"), Sj(kPhrases));
}

TEST_F(ClosingTest, AnEmptyBrainEmptiesItsFile) {
  dir.WriteSj("brain.dat", "猫＝動物\r\n");
  companion.Start();
  conversation().stores.brain = Brain();
  companion.Close();
  EXPECT_TRUE(dir.Exists("brain.dat"));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), "");
}

TEST_F(ClosingTest, AnEmptyProfileGetsSevenLinesAndCountsTheNextVisit) {
  dir.WriteBytes("holv.dat", "");
  companion.Start();
  Type("太郎");
  companion.Close();
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"));

  FakeView next_view;
  FakePlatform next_platform;
  next_platform.folder = dir.path();
  Companion next(next_view, next_platform);
  next.Start();
  EXPECT_EQ(next.state().profile.user_name, Sj("太郎"));
  EXPECT_EQ(next.state().profile.visit_count, 1);
}

TEST_F(ClosingTest, SavesWhereTheCurrentDirectoryIsAtClosing) {
  WriteAllFiles();
  companion.Start();
  TempDir elsewhere;
  elsewhere.WriteBytes("holv.dat", "");
  platform.folder = elsewhere.path();
  companion.SaveQuietly();
  EXPECT_EQ(elsewhere.ReadBytes("holv.dat"),
            Sj("太郎\r\n6\r\n2\r\n1\r\n1\r\n1\r\n0\r\n追記\r\n"));
  EXPECT_FALSE(elsewhere.Exists("brain.dat"));
  EXPECT_EQ(dir.ReadBytes("holv.dat"),
            Sj("太郎\r\n5\r\n2\r\n1\r\n1\r\n1\r\n0\r\n追記\r\n"));
  EXPECT_EQ(view.closing_messages, 0);
}

TEST_F(ClosingTest, AFailedWriteAbandonsTheCloseAndARetryWorks) {
  WriteAllFiles();
  companion.Start();
  conversation().state.profile.mood = 3;
  conversation().stores.phrase_log.Add("x");
  const std::string brain_before = dir.ReadBytes("brain.dat");
  const std::string phrases_before = dir.ReadBytes("res.dat");

  FileAttribute immutable(dir.File("brain.dat"));
  if (!immutable.ok()) {
    GTEST_SKIP() << "chattr +i is not available for " << dir.path()
                 << " (needs root and a file system with the immutable flag)";
  }
  try {
    companion.Close();
    ADD_FAILURE() << "the close went through a write that cannot succeed";
  } catch (const Error& error) {
    EXPECT_NE(error.message().find(dir.File("brain.dat")), std::string::npos)
        << error.message();
  }
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Sj(kSavedProfile));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), brain_before);
  EXPECT_EQ(dir.ReadBytes("res.dat"), phrases_before);
  EXPECT_EQ(view.closing_messages, 0);
  EXPECT_EQ(FileNames(),
            (std::vector<std::string>{"brain.dat", "holv.dat", "res.dat"}));

  immutable.Lift();
  companion.Close();
  EXPECT_EQ(dir.ReadBytes("holv.dat"), Sj(kSavedProfile));
  EXPECT_EQ(dir.ReadBytes("brain.dat"), Sj(kSavedBrain));
  EXPECT_EQ(dir.ReadBytes("res.dat"), Sj(kSavedPhrases));
  EXPECT_EQ(view.closing_messages, 1);
}

}  // namespace
}  // namespace holvan
