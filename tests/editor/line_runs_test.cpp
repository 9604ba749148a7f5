#include "editor/line_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace holvan::editor {
namespace {

// Rows and lines agree with the plain list they stand for, whether the lines
// come at once or in parts, in runs or scattered.
TEST(LineRunsTest, ListsAsAPlainListWould) {
  const std::vector<std::vector<int32_t>> cases = {
      {},
      {7},
      {1, 2, 3, 4},
      {2, 4, 6},
      {1, 2, 5, 6, 7, 9, 20, 21},
      {3, 4, 5, 100, 101, 102, 103, 1000},
  };
  for (const std::vector<int32_t>& lines : cases) {
    for (std::size_t split = 0; split <= lines.size(); ++split) {
      LineRuns runs(std::vector<int32_t>(lines.begin(), lines.begin() + split));
      runs.Append(std::vector<int32_t>(lines.begin() + split, lines.end()));
      ASSERT_EQ(runs.Count(), static_cast<int32_t>(lines.size()));
      for (int32_t row = 0; row < runs.Count(); ++row) {
        EXPECT_EQ(runs.At(row), lines[static_cast<std::size_t>(row)]);
      }
      for (int32_t line = 0; line <= 1001; ++line) {
        const auto found = std::find(lines.begin(), lines.end(), line);
        EXPECT_EQ(runs.RowOf(line),
                  found == lines.end() ? -1 : found - lines.begin())
            << "line " << line << " split " << split;
      }
    }
  }
}

}  // namespace
}  // namespace holvan::editor
