// A system without glibc's code page 932 converter (minimal containers): the
// tables are part of the program, so it converts as anywhere else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "faults.h"
#include "support/temp_dir.h"
#include "term_driver.h"

namespace holvan::testing {
namespace {

// An environment variable set for the children started in its lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(NoConverterTest, WithoutIconvTheMemoryIsReadAndWrittenAsEverywhere) {
  TempDir folder;
  const std::string brain =
      Sj("好き＝楽しい事＊嬉しい事\r\n嫌い＝悲しい事\r\n猫＝動物＊哺乳類\r\n");
  const std::string dic = Sj("犬*忠実な動物\r\n");
  WriteFile(folder.File("brain.dat"), brain);
  WriteFile(folder.File("dic.dat"), dic);
  WriteFile(folder.File("res.dat"), "");
  WriteFile(folder.File("holv.dat"),
            Sj("太郎\r\n5\r\n1\r\n0\r\n0\r\n0\r\n0\r\n"));
  TermResult run;
  {
    const ScopedVariable preload("LD_PRELOAD", HOLVAN_NO_ICONV_PATH);
    // Under AddressSanitizer its runtime would insist on coming first.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const ScopedVariable sanitizer(
        "ASAN_OPTIONS",
        std::string(asan ? asan : "") + ":verify_asan_link_order=0");
    run = RunTermOnce(folder.path(), "猫が好き\n犬は？\n", 4);
  }
  const bool ok =
      run.status == 0 && run.err.empty() &&
      run.out.rfind(
          "どうも 太郎さん 今日は令和8年12月5日(土曜日)\n"
          "時刻は午後3時07分09秒です\n",
          0) == 0 &&
      run.out.find("犬 とは 忠実な動物 という事らしいです\n") !=
          std::string::npos &&
      ReadFile(folder.File("brain.dat")) == brain &&
      ReadFile(folder.File("dic.dat")) == dic &&
      ReadFile(folder.File("res.dat")) == Sj("猫が好き\r\n犬は？\r\n");
  EXPECT_TRUE(ok) << run.out << run.err;
  ReportCase("environment",
             "no code page 932 converter (iconv_open always fails, "
             "LD_PRELOAD)",
             Reported(ok,
                      "greeting and answers as usual; brain.dat saved back "
                      "byte for byte"),
             "brain.dat, dic.dat, res.dat");
}

}  // namespace
}  // namespace holvan::testing
