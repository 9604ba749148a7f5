// Faults at save time for every file the program writes: a full disk, a file
// that cannot be replaced, a folder that takes no new entry. Each time the
// user sees the error, every file holds its whole old or whole new content,
// nothing is left beside them, and once the fault is gone the next save
// writes exactly what a run without the fault writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

enum class Fault { kFullDisk, kImmutableFile, kImmutableFolder };

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::kFullDisk:
      return "full disk";
    case Fault::kImmutableFile:
      return "file cannot be replaced (chattr +i)";
    default:
      return "folder takes no new entry (chattr +i)";
  }
}

// The files the close writes, in the order it writes them.
const std::vector<std::string> kCloseOrder = {"holv.dat", "brain.dat",
                                              "res.dat"};

// Old contents large enough that a new copy does not fit in what a filled
// disk leaves.
std::map<std::string, std::string> OldFiles() {
  std::string holv = Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  std::string brain = Sj("好き＝楽しい事\r\n嫌い＝いやな事\r\n");
  std::string res;
  std::string diary;
  for (int i = 0; i < 6000; ++i) {
    const std::string n = std::to_string(i);
    holv += Sj("覚え書き" + n + "\r\n");
    brain += Sj("言葉" + n + "＝意味" + n + "\r\n");
    res += Sj("一言 " + n + "\r\n");
    diary += Sj("日記の行 " + n + "\r\n");
  }
  return {{"holv.dat", holv},
          {"brain.dat", brain},
          {"res.dat", res},
          {"diary.dat", diary}};
}

// Lines that change every store: a definition, new phrases, and the visit.
const std::vector<std::string> kTalk = {"猫とは動物だ", "今日は雨",
                                        "はじめての一言"};
const std::vector<std::string> kDiaryTalk = {"日記", "今日は雨が降った"};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

void WriteFiles(const std::string& folder,
                const std::map<std::string, std::string>& files) {
  for (const auto& [name, bytes] : files) WriteFile(folder + "/" + name, bytes);
}

std::string Read(const std::string& folder, const std::string& name) {
  return ReadFile(folder + "/" + name);
}

struct Case {
  std::string target;
  Fault fault;
};

class SaveFaultsTest : public ::testing::TestWithParam<Case> {};

TEST_P(SaveFaultsTest, ErrorShownOldOrNewKeptAndTheNextSaveSucceeds) {
  const Case& c = GetParam();
  const bool diary = c.target == "diary.dat";
  const std::string row = c.target;
  const std::string fault = FaultName(c.fault);

  // The files present: for a fault that hits whatever is written first, the
  // target is made the first file the close writes.
  std::map<std::string, std::string> old = OldFiles();
  if (diary) {
    old = {{"diary.dat", old["diary.dat"]},
           {"holv.dat", Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n")}};
  } else {
    old.erase("diary.dat");
    if (c.fault != Fault::kImmutableFile) {
      for (const std::string& name : kCloseOrder) {
        if (name == c.target) break;
        old.erase(name);
      }
    }
  }
  std::vector<std::string> talk = diary ? kDiaryTalk : kTalk;
  // Without a profile the first line is taken as the name.
  if (old.count("holv.dat") == 0) talk.insert(talk.begin(), "太郎");
  const std::string save = diary ? "セーブ" : "/quit";

  // What a run without the fault leaves.
  TempDir reference;
  WriteFiles(reference.path(), old);
  const TermResult expected =
      RunTermOnce(reference.path(), Joined(talk) + save + "\n/quit\n");
  ASSERT_EQ(expected.status, 0) << expected.err;

  TempDir outer;
  std::string folder = outer.path();
  std::unique_ptr<SmallDisk> disk;
  if (c.fault == Fault::kFullDisk) {
    folder = outer.File("disk");
    disk = std::make_unique<SmallDisk>(folder, 4 << 20);
    if (!disk->ok()) {
      ReportCase("save fault", row + ": " + fault, "skipped", "needs root");
      GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    }
  }
  folder = std::filesystem::canonical(folder).string();
  WriteFiles(folder, old);
  std::unique_ptr<FileAttribute> lock;
  if (c.fault == Fault::kFullDisk) {
    disk->FillLeaving(16 << 10);
  } else {
    lock = std::make_unique<FileAttribute>(
        c.fault == Fault::kImmutableFile ? folder + "/" + c.target : folder);
    if (!lock->ok()) {
      ReportCase("save fault", row + ": " + fault, "skipped",
                 "chattr +i unavailable");
      GTEST_SKIP() << "chattr +i is not available here";
    }
  }
  const std::vector<std::string> entries_before = FolderEntries(folder);

  TermDriver term(folder, FixedClock());
  for (const std::string& line : talk) term.Send(line);
  term.Send(save);
  const std::string message =
      c.fault == Fault::kFullDisk
          ? "ｽﾄﾘｰﾑへの書き込みｴﾗｰ.\n"
          : "ﾌｧｲﾙ " + folder + "/" + c.target + " を作成できません.\n";
  ASSERT_TRUE(term.WaitErr(message)) << term.err();

  // Files written before the failing one hold their new content, the rest
  // their old; nothing new stands beside them.
  int verified = 0;
  bool before_target = true;
  for (const std::string& name :
       diary ? std::vector<std::string>{"diary.dat", "holv.dat"}
             : kCloseOrder) {
    if (name == c.target) before_target = false;
    if (old.count(name) == 0) continue;
    const std::string now = Read(folder, name);
    // Compared whole; the files are too large to print.
    if (before_target) {
      EXPECT_TRUE(now == Read(reference.path(), name)) << name << " not new";
    } else {
      EXPECT_TRUE(now == old[name]) << name << " not old";
    }
    ++verified;
  }
  EXPECT_EQ(FolderEntries(folder), entries_before);

  // The fault goes; the run still has everything and saves it.
  if (disk) disk->Free();
  if (lock) lock->Lift();
  if (diary) term.Send(save);
  term.Send("/quit");
  EXPECT_EQ(term.Finish(), 0) << term.err();
  EXPECT_EQ(term.out(), expected.out);
  for (const auto& [name, bytes] : old) {
    EXPECT_TRUE(Read(folder, name) == Read(reference.path(), name)) << name;
    EXPECT_TRUE(Read(folder, name) != bytes) << name << " was not saved";
    ++verified;
  }
  std::vector<std::string> entries_after = FolderEntries(folder);
  std::erase(entries_after, ".filler");
  std::vector<std::string> names;
  for (const auto& [name, bytes] : old) names.push_back(name);
  EXPECT_EQ(entries_after, names);

  ReportCase("save fault", row + ": " + fault,
             std::string(::testing::Test::HasFailure() ? "FAILED" : "ok") +
                 ": error shown, run went on, next save complete",
             std::to_string(verified) + " file checks, no stray file");
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const char* target : {"holv.dat", "brain.dat", "res.dat", "diary.dat"}) {
    for (Fault fault :
         {Fault::kFullDisk, Fault::kImmutableFile, Fault::kImmutableFolder}) {
      cases.push_back({target, fault});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryFault, SaveFaultsTest,
                         ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.target.substr(
                               0, info.param.target.find('.'));
                           switch (info.param.fault) {
                             case Fault::kFullDisk:
                               return name + "_FullDisk";
                             case Fault::kImmutableFile:
                               return name + "_ImmutableFile";
                             default:
                               return name + "_ImmutableFolder";
                           }
                         });

}  // namespace
}  // namespace holvan::testing
