#include "errors/error.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;

TEST(ErrorTest, BoxTextAddsAPeriodAfterBytesAboveIt) {
  // Ends in ")": no period.
  EXPECT_EQ(ListIndexError(9).BoxText(),
            Sj("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (9)"));
  // Ends in a Japanese character, whose bytes sort after ".".
  EXPECT_EQ(WriteError().BoxText(), Sj("ｽﾄﾘｰﾑへの書き込みｴﾗｰ."));
  EXPECT_EQ(AppendError().BoxText(), Sj("行を挿入できません."));
  EXPECT_EQ(OutOfMemoryError().BoxText(), Sj("メモリが足りません."));
  EXPECT_EQ(Error("x.").BoxText(), "x.");
  EXPECT_EQ(Error("x-").BoxText(), "x-");
  EXPECT_EQ(Error("x/").BoxText(), "x/.");
  EXPECT_EQ(Error("").BoxText(), "");
  EXPECT_EQ(ListIndexError(-1).message(),
            Sj("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (-1)"));
}

TEST(ErrorTest, MessagesShowPathsInTheCodePage) {
  EXPECT_EQ(OpenError("diary.dat").message(),
            Sj("ﾌｧｲﾙ diary.dat は開けません"));
  EXPECT_EQ(CreateError("/tmp/日記.dat").message(),
            Sj("ﾌｧｲﾙ /tmp/日記.dat を作成できません"));
  EXPECT_EQ(CreateError("/tmp/%s.dat").message(),
            Sj("ﾌｧｲﾙ /tmp/%s.dat を作成できません"));
  EXPECT_STREQ(OpenError("日記.dat").what(), "ﾌｧｲﾙ 日記.dat は開けません");
}

}  // namespace
}  // namespace holvan
