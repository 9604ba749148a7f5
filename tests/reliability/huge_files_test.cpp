// Files larger than memory, and memory running out inside an event: the
// file's error (or the out-of-memory error) ends the event, the run goes on,
// and the close saves what it read and leaves alone what it did not. The
// files are sparse, so they take no room and no time.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "faults.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

constexpr off_t kHuge = off_t{200} << 30;
const std::string kProfile = Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
const std::string kNextProfile = Sj("太郎\r\n6\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");

// truncate -s 200G: a file of 200 GiB that holds no block.
void MakeHuge(const std::string& path) {
  WriteFile(path, "");
  ASSERT_EQ(::truncate(path.c_str(), kHuge), 0);
}

bool StillHuge(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && st.st_size == kHuge &&
         st.st_blocks == 0;
}

std::string Canonical(const TempDir& folder, const std::string& name) {
  return std::filesystem::canonical(folder.path()).string() + "/" + name;
}

TEST(HugeFilesTest, ADiaryLargerThanMemoryIsNotEnteredAndTheRunGoesOn) {
  TempDir folder;
  WriteFile(folder.File("holv.dat"), kProfile);
  WriteFile(folder.File("res.dat"), "");
  MakeHuge(folder.File("diary.dat"));
  const TermResult run = RunTermOnce(folder.path(), "日記\nこんにちは\n");
  const bool ok =
      run.status == 0 &&
      run.err == "文字列の大きさが ﾒﾓ の制限を越えました.\n" &&
      run.out.find("太郎 > こんにちは\n") != std::string::npos &&
      ReadFile(folder.File("res.dat")) == Sj("日記\r\nこんにちは\r\n") &&
      ReadFile(folder.File("holv.dat")) == kNextProfile &&
      StillHuge(folder.File("diary.dat"));
  EXPECT_TRUE(ok) << run.out << run.err;
  ReportCase("bad input (huge)", "a 200 GB sparse diary.dat, then 日記",
             Reported(ok,
                      "the capacity error, diary mode not entered; the "
                      "next turn answered and the close saved"),
             "res.dat, holv.dat, diary.dat untouched");
}

TEST(HugeFilesTest, ADataFileLargerThanMemoryAtStartUpIsLeftAlone) {
  const std::vector<std::string> load_order = {"brain.dat", "dic.dat",
                                               "res.dat", "holv.dat"};
  const std::map<std::string, std::string> files = {
      {"holv.dat", kProfile},
      {"brain.dat", Sj("猫＝動物\r\n")},
      {"dic.dat", Sj("犬*動物\r\n")},
      {"res.dat", Sj("前の一言\r\n")}};
  for (const std::string& huge : load_order) {
    TempDir folder;
    for (const auto& [name, bytes] : files) WriteFile(folder.File(name), bytes);
    MakeHuge(folder.File(huge));
    const TermResult run = RunTermOnce(folder.path(), "こんにちは\n");
    // Files read before it are saved as usual; it and the files after it are
    // not touched.
    bool ok =
        run.status == 0 &&
        run.err == "ﾌｧｲﾙ " + Canonical(folder, huge) + " は開けません.\n" &&
        run.out.find("どうも") == std::string::npos &&
        StillHuge(folder.File(huge));
    bool reached = true;
    for (const std::string& name : load_order) {
      if (name == huge) reached = false;
      if (name == huge) continue;
      const std::string expected = reached && name == "res.dat"
                                       ? files.at(name) + Sj("こんにちは\r\n")
                                       : files.at(name);
      ok = ok && ReadFile(folder.File(name)) == expected;
    }
    EXPECT_TRUE(ok) << huge << "\n" << run.out << run.err;
    ReportCase("bad input (huge)", "a 200 GB sparse " + huge + " at start-up",
               Reported(ok,
                        "open error shown, nothing allocated for it, no "
                        "greeting, the run goes on; it and the files not yet "
                        "read are left as they were"),
               "4 files");
  }
}

// A soft limit on this process's data for its lifetime; children inherit it.
class DataLimit {
 public:
  explicit DataLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_DATA, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ok_ = ::setrlimit(RLIMIT_DATA, &limit) == 0;
  }
  ~DataLimit() { ::setrlimit(RLIMIT_DATA, &old_); }
  DataLimit(const DataLimit&) = delete;
  DataLimit& operator=(const DataLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  rlimit old_;
  bool ok_ = false;
};

// A diary that fits the limit to be read but not to be taken in: the
// allocation fails inside the event, whose edge shows the program's error.
TEST(HugeFilesTest, AnAllocationFailingInsideAnEventEndsOnlyThatEvent) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer maps terabytes of shadow memory, which no data limit
  // allows.
  ReportCase("memory", "an allocation failing inside an event", "skipped",
             "not under AddressSanitizer");
  GTEST_SKIP() << "a data limit cannot be set under AddressSanitizer";
#endif
  TempDir folder;
  WriteFile(folder.File("holv.dat"), kProfile);
  WriteFile(folder.File("res.dat"), "");
  std::string diary;
  while (diary.size() < (40u << 20)) diary += "a line of the diary\r\n";
  WriteFile(folder.File("diary.dat"), diary);
  TermResult run;
  {
    const DataLimit limit(64u << 20);
    ASSERT_TRUE(limit.ok());
    run = RunTermOnce(folder.path(), "日記\nこんにちは\n");
  }
  const bool ok =
      run.status == 0 && run.err == "メモリが足りません.\n" &&
      run.out.find("太郎 > こんにちは\n") != std::string::npos &&
      ReadFile(folder.File("res.dat")) == Sj("日記\r\nこんにちは\r\n") &&
      ReadFile(folder.File("holv.dat")) == kNextProfile &&
      ReadFile(folder.File("diary.dat")) == diary;
  EXPECT_TRUE(ok) << run.out << run.err;
  ReportCase("memory",
             "an allocation failing inside an event (40 MB diary.dat under "
             "a 64 MB data limit, then 日記)",
             Reported(ok,
                      "the out-of-memory error, diary mode not entered; the "
                      "next turn answered and the close saved"),
             "res.dat, holv.dat, diary.dat");
}

}  // namespace
}  // namespace holvan::testing
