#include "os/ram_room.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace holvan {
namespace {

TEST(RamRoomTest, AMebibyteFitsAndTwoHundredGibibytesDoNot) {
  EXPECT_TRUE(FitsInRam(1 << 20));
  EXPECT_FALSE(FitsInRam(uint64_t{200} << 30));
}

}  // namespace
}  // namespace holvan
