// The memory tools keep the user's trust about backups and copies: what is
// erased stays erased, only Holvan's backups are Holvan's, a new backup
// outlives a clock set back, a kill during rotation never leaves a half
// backup listed, a restore is whole or nothing and leaves alone what the
// backup lacks, an export never writes through a planted link, and a backup
// is on the disk before it is listed. holvan-memory runs as a process on
// temporary folders; backups that a test needs beforehand are planted
// through the memory library.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "faults.h"
#include "memory/backups.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

namespace holvan::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
/// Memory files by name.
using Files = std::map<std::string, std::string>;

const std::string kGroup = "memory tools";
/// 2023-11-14, and 2099-01-01.
constexpr int64_t kLongAgo = 1700000000;
constexpr int64_t kFuture = 4070908800;
constexpr int64_t kDay = 86400;

const Files& Now() {
  static const Files files = {
      {"dic.dat", Sj("東京*日本の首都\r\n")},
      {"brain.dat",
       Sj("【ほめ言葉】＝すごい\r\n【悪口】＝ばか\r\n猫＝動物\r\n")},
      {"res.dat", Sj("こんにちは\r\nパスワードは1234\r\n")},
      {"holv.dat", Sj("太郎\r\n3\r\n1\r\n0\r\n0\r\n0\r\n0\r\n")}};
  return files;
}

/// All five files, each of about size bytes, their lines marked with tag.
Files Sized(const std::string& tag, std::size_t size) {
  Files files;
  for (const char* name :
       {"dic.dat", "brain.dat", "res.dat", "holv.dat", "diary.dat"}) {
    std::string bytes;
    for (int line = 0; bytes.size() < size; ++line) {
      bytes += tag + name + std::to_string(line) + "*x\r\n";
    }
    files[name] = bytes;
  }
  return files;
}

mode_t Mode(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

/// The memory files in folder.
Files Read(const std::string& folder) {
  Files files;
  for (const char* name :
       {"dic.dat", "brain.dat", "res.dat", "holv.dat", "diary.dat"}) {
    if (fs::exists(folder + "/" + name)) {
      files[name] = ReadFile(folder + "/" + name);
    }
  }
  return files;
}

/// Whether text holds piece.
bool Holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

/// The name after "PREFIX: " on a line of out.
std::string NameAfter(const std::string& out, const std::string& prefix) {
  const std::size_t at = out.find(prefix + ": ");
  if (at == std::string::npos) return "";
  const std::size_t from = at + prefix.size() + 2;
  return out.substr(from, out.find('\n', from) - from);
}

/// Whether line is "NAME<TAB>YYYY-MM-DD HH:MM:SS<TAB>" and then rest.
bool ListedAs(const std::string& line, const std::string& name,
              const std::string& rest) {
  constexpr std::string_view kMoment = "0000-00-00 00:00:00";
  if (line.size() < name.size() + 1 + kMoment.size() ||
      line != name + "\t" + line.substr(name.size() + 1, kMoment.size()) +
                  "\t" + rest) {
    return false;
  }
  for (std::size_t i = 0; i < kMoment.size(); ++i) {
    const char c = line[name.size() + 1 + i];
    if (kMoment[i] == '0' ? c < '0' || c > '9' : c != kMoment[i]) return false;
  }
  return true;
}

/// Variables for a run with a library preloaded, also under
/// AddressSanitizer, whose runtime would insist on coming first.
EnvironmentChanges Preloading(const std::string& library) {
  const char* asan = std::getenv("ASAN_OPTIONS");
  return {{"LD_PRELOAD", library},
          {"ASAN_OPTIONS",
           std::string(asan ? asan : "") + ":verify_asan_link_order=0"}};
}

class BackupsTrustTest : public ::testing::Test {
 protected:
  BackupsTrustTest() {
    fs::create_directories(memory());
    Write(Now());
  }

  std::string memory() const { return home_.File("memory"); }
  std::string root() const { return home_.File("backups"); }

  void Write(const Files& files) const {
    for (const auto& [name, bytes] : files) {
      WriteFile(memory() + "/" + name, bytes);
    }
  }

  /// holvan-memory on the memory folder and its backups.
  ProgramRun Memory(const std::vector<std::string>& args,
                    EnvironmentChanges environment = {}) const {
    std::vector<std::string> all = {"--dir", memory()};
    if (args[0] != "export") all.insert(all.end(), {"--backups", root()});
    all.insert(all.end(), args.begin(), args.end());
    environment.emplace_back("LC_ALL", "C.UTF-8");
    return RunProgram(HOLVAN_MEMORY_PATH, all, home_.path(), "", environment);
  }

  /// A backup of files named name in the backups folder, taken at taken.
  void Plant(const std::string& name, int64_t taken, const Files& files) const {
    TempDir source;
    for (const auto& [file, bytes] : files) {
      WriteFile(source.File(file), bytes);
    }
    memory::TakeBackup(source.path(), root(), name, false, taken);
  }

  /// The lines that backups prints, by the name each begins with.
  std::map<std::string, std::string> Listed() const {
    std::map<std::string, std::string> listed;
    std::istringstream lines(Memory({"backups"}).out);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t tab = line.find('\t');
      if (tab != std::string::npos) listed[line.substr(0, tab)] = line;
    }
    return listed;
  }

  TempDir home_;
};

TEST_F(BackupsTrustTest, ARemovedPhraseLeavesEveryBackupAndBackupsArePrivate) {
  const std::string password = Sj("パスワードは1234");
  const mode_t umask = ::umask(0);
  Plant("2026-11-01", kLongAgo, Now());
  Plant("2026-11-02", kLongAgo + kDay, Now());
  const ProgramRun backup = Memory({"backup"});
  const ProgramRun removed = Memory({"remove", "phrase", "パスワードは1234"});
  const ProgramRun kept =
      Memory({"remove", "phrase", "こんにちは", "--keep-in-backups"});
  ::umask(umask);

  bool erased = true;
  bool hello_kept = true;
  bool private_ = Mode(root()) == 0700;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root())) {
    const std::string path = entry.path().string();
    if (entry.is_directory()) {
      private_ = private_ && Mode(path) == 0700;
      continue;
    }
    ++files;
    private_ = private_ && Mode(path) == 0600;
    const std::string bytes = ReadFile(path);
    erased = erased && !Holds(bytes, password);
    if (entry.path().filename() == "res.dat") {
      hello_kept = hello_kept && Holds(bytes, Sj("こんにちは"));
    }
  }
  const ProgramRun restore =
      Memory({"restore", NameAfter(backup.out, "バックアップしました")});
  const bool ok = backup.status == 0 && removed.status == 0 &&
                  Holds(removed.out, "バックアップ 3 個からも消しました\n") &&
                  kept.status == 0 && erased && hello_kept && private_ &&
                  restore.status == 0 &&
                  !Holds(ReadFile(memory() + "/res.dat"), password);
  EXPECT_TRUE(ok) << removed.out << removed.err << kept.err << restore.err
                  << "erased " << erased << " kept " << hello_kept
                  << " private " << private_;
  ReportCase(kGroup,
             "a password typed by mistake and 3 backups holding it: remove "
             "phrase, then restore (umask 0)",
             Reported(ok,
                      "gone from res.dat and every backup, 3 told; the "
                      "restore brings it not back; --keep-in-backups keeps "
                      "a phrase there; folders 0700, files 0600"),
             std::to_string(files) + " files of the backups, their modes");
}

TEST_F(BackupsTrustTest, OnlyHolvansMarkedBackupsAreRotatedOrSwept) {
  for (int day = 1; day <= 7; ++day) {
    const std::string folder = root() + "/2025-03-0" + std::to_string(day);
    fs::create_directories(folder);
    WriteFile(folder + "/photo.jpg", "jpeg " + std::to_string(day));
  }
  const std::vector<std::string> kLookAlikes = {".partial-abc",
                                                ".partial-0-abcdef"};
  for (const std::string& name : kLookAlikes) {
    fs::create_directories(root() + "/" + name);
    WriteFile(root() + "/" + name + "/dic.dat", "mine");
  }
  for (int n = 0; n < 33; ++n) {
    Plant("2026-01-01-" + std::to_string(n), kLongAgo + n * kDay, Now());
  }
  const ProgramRun run = Memory({"backup"});
  int rotated = 0;
  for (std::size_t at = 0; (at = run.out.find("古いバックアップを消しました",
                                              at)) != std::string::npos;
       ++at) {
    ++rotated;
  }
  bool kept = true;
  for (int day = 1; day <= 7; ++day) {
    kept = kept && ReadFile(root() + "/2025-03-0" + std::to_string(day) +
                            "/photo.jpg") == "jpeg " + std::to_string(day);
  }
  for (const std::string& name : kLookAlikes) {
    kept = kept && ReadFile(root() + "/" + name + "/dic.dat") == "mine";
  }
  const std::map<std::string, std::string> listed = Listed();
  const bool ok = run.status == 0 && rotated == 20 && kept &&
                  listed.size() == 14 && listed.count("2025-03-01") == 0;
  EXPECT_TRUE(ok) << run.out << run.err << rotated;
  ReportCase(kGroup,
             "folders of photos named by their days (2025-03-01...), "
             ".partial-abc and .partial-0-abcdef beside 33 backups, then "
             "backup",
             Reported(ok,
                      "only Holvan's marked backups rotated (20) and listed "
                      "(14); every photo and look-alike folder kept"),
             "7 photos, 2 look-alike folders, the listing");
}

TEST_F(BackupsTrustTest, ANewBackupOutlivesAClockSetBack) {
  for (int day = 1; day <= 14; ++day) {
    Plant("2099-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day),
          kFuture + day * kDay, Now());
  }
  const ProgramRun run = Memory({"backup"});
  const std::string name = NameAfter(run.out, "バックアップしました");
  const std::map<std::string, std::string> listed = Listed();
  const bool ok =
      run.status == 0 && !name.empty() && listed.count(name) &&
      listed.size() == 14 && Read(root() + "/" + name) == Now() &&
      Holds(run.out, "古いバックアップを消しました: 2099-01-01\n") &&
      !Holds(run.out, "消しました: " + name + "\n");
  EXPECT_TRUE(ok) << run.out << run.err;
  ReportCase(kGroup,
             "14 backups taken in 2099 (the clock set back since), then "
             "backup",
             Reported(ok,
                      "the new backup kept and listed; the one taken first "
                      "(2099-01-01) rotated out, by when it was taken"),
             "the listing and the new backup's 4 files");
}

TEST_F(BackupsTrustTest, AKillDuringRotationNeverLeavesAHalfBackupListed) {
  const Files old_files = Sized("old", 64 << 10);
  const Files new_files = Sized("new", 64 << 10);
  // Old backups are copies of one, alike but for their names.
  Write(old_files);
  TempDir templates;
  memory::TakeBackup(memory(), templates.path(), "old", false, kLongAgo);
  Write(new_files);
  fs::create_directories(root());
  int planted = 0;
  const auto plant_up_to = [&](std::size_t count) {
    while (memory::ListBackups(root()).size() < count) {
      fs::copy(templates.File("old"),
               root() + "/2026-01-01-" + std::to_string(planted++),
               fs::copy_options::recursive);
    }
  };
  // How long a backup that rotates 4 backups out takes, unkilled.
  plant_up_to(18);
  const auto started = Clock::now();
  ASSERT_EQ(Memory({"backup"}).status, 0);
  const auto whole_run = std::chrono::duration_cast<std::chrono::microseconds>(
      (Clock::now() - started) * 6 / 5);

  std::mt19937 random(20);
  int rounds = 0;
  int listings = 0;
  int restores = 0;
  bool ok = true;
  const auto give_up = Clock::now() + std::chrono::seconds(30);
  while (rounds < 15 && Clock::now() < give_up && ok) {
    plant_up_to(18);
    const pid_t child = ::fork();
    if (child == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execl(HOLVAN_MEMORY_PATH, HOLVAN_MEMORY_PATH, "--dir", memory().c_str(),
              "--backups", root().c_str(), "backup",
              static_cast<char*>(nullptr));
      _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(
        random() % static_cast<uint64_t>(whole_run.count() + 1)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ++rounds;

    // Whatever is listed is whole: all five files, old or new alike.
    const std::map<std::string, std::string> listed = Listed();
    for (const auto& [name, line] : listed) {
      const Files held = Read(root() + "/" + name);
      if (Holds(line, "壊れています") ||
          (held != old_files && held != new_files)) {
        ADD_FAILURE() << "listed but not whole: " << line;
        ok = false;
      }
    }
    ++listings;
    // And a restore brings back five whole files, now and then, of the one
    // first by name: the one a rotation by name would be deleting.
    if (rounds % 3 != 0) continue;
    const std::string first = listed.begin()->first;
    const ProgramRun restore = Memory({"restore", first});
    const Files restored = Read(memory());
    ok = ok && restore.status == 0 &&
         (restored == old_files || restored == new_files);
    EXPECT_TRUE(ok) << first << ": " << restore.out << restore.err;
    ++restores;
    Write(new_files);
  }
  EXPECT_GT(rounds, 0);
  ReportCase(kGroup,
             "SIGKILL at random moments of a backup that rotates 4 old "
             "backups out, " +
                 std::to_string(rounds) + " times",
             Reported(ok,
                      "every listed backup whole; a restore of one brings "
                      "back 5 whole files"),
             std::to_string(listings) + " listings checked file by file, " +
                 std::to_string(restores) + " restores");
}

TEST_F(BackupsTrustTest, ARestoreThatFailsPartWayPutsBackWhatItReplaced) {
  const Files old_files = Sized("old", 4 << 10);
  const Files new_files = Sized("new", 4 << 10);
  Write(old_files);
  const std::string name =
      NameAfter(Memory({"backup"}).out, "バックアップしました");
  Write(new_files);
  EnvironmentChanges failing = Preloading(HOLVAN_RENAME_FAULT_PATH);
  failing.emplace_back("HOLVAN_FAIL_RENAME_TO", "/diary.dat");
  const ProgramRun run = Memory({"restore", name}, failing);
  const bool ok =
      run.status == 1 &&
      Holds(run.err,
            "holv.dat、res.dat、brain.dat、dic.dat は元に戻しました。記憶は戻す"
            "前のままです\n") &&
      Read(memory()) == new_files &&
      FolderEntries(memory()) ==
          std::vector<std::string>{"brain.dat", "diary.dat", "dic.dat",
                                   "holv.dat", "res.dat"};
  EXPECT_TRUE(ok) << run.out << run.err;
  ReportCase(kGroup,
             "restore of 5 files whose last cannot be put in place (rename "
             "fails, LD_PRELOAD)",
             Reported(ok,
                      "status 1 and the message names the 4 files put back "
                      "and says the memory is as it was; nothing left beside "
                      "them"),
             "5 files byte for byte, the folder's entries");
}

TEST_F(BackupsTrustTest, WithoutExchangingNamesBackupsAreReplacedWhole) {
  EnvironmentChanges without = Preloading(HOLVAN_RENAME_FAULT_PATH);
  without.emplace_back("HOLVAN_NO_RENAME_EXCHANGE", "1");
  const ProgramRun first = Memory({"backup"}, without);
  const ProgramRun second = Memory({"backup"}, without);
  const ProgramRun removed =
      Memory({"remove", "phrase", "パスワードは1234"}, without);
  const std::string name = NameAfter(first.out, "バックアップしました");
  Files expected = Now();
  expected["res.dat"] = Sj("こんにちは\r\n");
  const std::map<std::string, std::string> listed = Listed();
  const bool ok =
      first.status == 0 && second.status == 0 &&
      Holds(second.out, "今日のバックアップを新しくしました: " + name) &&
      removed.status == 0 &&
      Holds(removed.out, "バックアップ 1 個からも消しました\n") &&
      listed.size() == 1 && listed.count(name) &&
      !Holds(listed.at(name), "壊れています") &&
      Read(root() + "/" + name) == expected &&
      FolderEntries(root()) == std::vector<std::string>{name};
  EXPECT_TRUE(ok) << first.err << second.out << second.err << removed.out
                  << removed.err;
  ReportCase(kGroup,
             "a file system that cannot exchange two names (renameat2 "
             "fails, LD_PRELOAD): backup, backup again, remove phrase",
             Reported(ok,
                      "today's backup replaced and then changed whole, the "
                      "old one renamed away first; nothing hidden left"),
             "the listing, the backup's 4 files, the folder's entries");
}

TEST_F(BackupsTrustTest, ARestoreLeavesWhatTheBackupLacksAndBackupsTellsAll) {
  const std::string name =
      NameAfter(Memory({"backup"}).out, "バックアップしました");
  WriteFile(memory() + "/diary.dat", Sj("今日の日記\r\n"));
  const ProgramRun restore = Memory({"restore", name});
  const bool diary_kept =
      restore.status == 0 &&
      Holds(restore.out,
            "diary.dat はバックアップにないので、そのまま"
            "にしました\n") &&
      ReadFile(memory() + "/diary.dat") == Sj("今日の日記\r\n");
  std::map<std::string, std::string> listed = Listed();
  const std::string snapshot =
      NameAfter(restore.out, "今のファイルをバックアップしました");
  const bool told =
      listed.size() == 2 &&
      ListedAs(listed[name], name, "事柄 1\t言葉 3\t発言 2\t日記なし") &&
      ListedAs(listed[snapshot], snapshot,
               "事柄 1\t言葉 3\t発言 2\t日記 12 バイト");
  const ProgramRun exact = Memory({"restore", "--exact", name, "diary.dat"});
  const bool removed = exact.status == 0 &&
                       Holds(exact.out,
                             "diary.dat を消しました（バックアップにないため）"
                             "\n") &&
                       !fs::exists(memory() + "/diary.dat");
  const bool ok = diary_kept && told && removed;
  EXPECT_TRUE(ok) << restore.out << restore.err << exact.out << exact.err
                  << listed[name] << "\n"
                  << listed[snapshot];
  ReportCase(kGroup,
             "restore of a backup taken before the diary existed; backups",
             Reported(ok,
                      "today's diary left as it was (removed only with "
                      "--exact); each backup listed with when it was taken, "
                      "its facts, words, phrases and diary size"),
             "diary.dat, the listing of 2 backups");
}

TEST_F(BackupsTrustTest, AnExportNeverWritesThroughAPlantedLink) {
  TempDir outside;
  WriteFile(outside.File("victim"), "root's own\n");
  fs::create_directories(outside.File("empty"));
  fs::create_directories(home_.File("shared"));
  fs::create_symlink(outside.File("victim"), home_.File("shared/dic.txt"));
  fs::create_symlink(outside.File("empty"), home_.File("linked"));
  const ProgramRun planted = Memory({"export", home_.File("shared")});
  const ProgramRun linked = Memory({"export", home_.File("linked")});
  const mode_t umask = ::umask(0);
  const ProgramRun fresh = Memory({"export", home_.File("new/copies")});
  ::umask(umask);
  const bool ok =
      planted.status == 1 && Holds(planted.err, "は空ではありません") &&
      linked.status == 1 && Holds(linked.err, "はリンクなので") &&
      ReadFile(outside.File("victim")) == "root's own\n" &&
      FolderEntries(outside.File("empty")).empty() && fresh.status == 0 &&
      Mode(home_.File("new")) == 0700 &&
      Mode(home_.File("new/copies")) == 0700 &&
      Mode(home_.File("new/copies/dic.txt")) == 0600 &&
      ReadFile(home_.File("new/copies/dic.txt")) == "東京*日本の首都\n";
  EXPECT_TRUE(ok) << planted.err << linked.err << fresh.err;
  ReportCase(kGroup,
             "export into a folder holding a link to a file outside, and "
             "into a link to an empty folder (umask 0 for a new one)",
             Reported(ok,
                      "both refused, nothing written through the links; a "
                      "new folder is made 0700 with its parents, each copy "
                      "a new file 0600"),
             "the outside file and folder, the copies' modes");
}

/// The path strace -y shows for the descriptor of a line "call(N</path>".
std::string TracedPath(const std::string& line) {
  const std::size_t from = line.find('<');
  const std::size_t to = line.find('>', from);
  return from == std::string::npos || to == std::string::npos
             ? ""
             : line.substr(from + 1, to - from - 1);
}

TEST_F(BackupsTrustTest, ABackupIsOnTheDiskBeforeItIsListed) {
  if (!RunQuietly({"strace", "-o", "/dev/null", "true"})) {
    ReportCase(kGroup, "backup traced for its syncs", "skipped",
               "strace unavailable");
    GTEST_SKIP() << "strace is not available";
  }
  fs::create_directories(root());
  const std::string folders = fs::canonical(home_.path()).string();
  const std::string trace = home_.File("trace");
  // LeakSanitizer cannot work under a tracer.
  const char* asan = std::getenv("ASAN_OPTIONS");
  const ProgramRun run = RunProgram(
      "/usr/bin/strace",
      {"-f", "-qq", "-y", "-e", "trace=fsync,fdatasync,rename,renameat2", "-o",
       trace, HOLVAN_MEMORY_PATH, "--dir", folders + "/memory", "--backups",
       folders + "/backups", "backup"},
      home_.path(), "",
      {{"ASAN_OPTIONS", std::string(asan ? asan : "") + ":detect_leaks=0"}});
  const std::string name = NameAfter(run.out, "バックアップしました");
  const std::string target = folders + "/backups/" + name;

  // The order of the calls: each file, then its folder, then the rename,
  // then the backups folder.
  std::vector<std::string> synced;
  std::string partial;
  std::size_t renamed = 0;
  std::istringstream lines(ReadFile(trace));
  for (std::string line; std::getline(lines, line);) {
    if (!line.ends_with("= 0")) continue;
    if (Holds(line, "fsync(")) synced.push_back(TracedPath(line));
    if (Holds(line, "rename") && Holds(line, "\"" + target + "\"")) {
      renamed = synced.size();
    }
    if (partial.empty() && Holds(line, "/.partial-")) {
      partial = TracedPath(line).substr(0, TracedPath(line).rfind('/'));
    }
  }
  std::vector<std::string> expected;
  for (const char* file :
       {"dic.dat", "brain.dat", "res.dat", "holv.dat", "holvan-backup"}) {
    expected.push_back(partial + "/" + file);
  }
  expected.push_back(partial);
  const auto backup = std::search(synced.begin(), synced.end(),
                                  expected.begin(), expected.end());
  const bool ok =
      run.status == 0 && !partial.empty() && backup != synced.end() &&
      static_cast<std::size_t>(backup - synced.begin()) + expected.size() ==
          renamed &&
      renamed < synced.size() && synced[renamed] == folders + "/backups";
  EXPECT_TRUE(ok) << run.err << ReadFile(trace);
  ReportCase(kGroup, "backup traced for its syncs (strace -y)",
             Reported(ok,
                      "each file and the manifest synced, then the hidden "
                      "folder, then it is renamed into place and the "
                      "backups folder synced"),
             "the order of every fsync and rename");
}

}  // namespace
}  // namespace holvan::testing
