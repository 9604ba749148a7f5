#pragma once

#include <cstdint>
#include <vector>

namespace holvan::editor {

/// Ascending line numbers, as a list shows them in its rows, kept as runs of
/// consecutive lines: a list of every line of a million-line file costs a
/// few bytes, one of scattered search results eight bytes a line.
class LineRuns {
 public:
  LineRuns() = default;
  /// lines, ascending.
  explicit LineRuns(const std::vector<int32_t>& lines) { Append(lines); }

  /// Adds lines, ascending and after the last one.
  void Append(const std::vector<int32_t>& lines);
  int32_t Count() const { return count_; }
  /// The line in row (counted from 0, below Count()).
  int32_t At(int32_t row) const;
  /// The row of line; -1 when it is not listed.
  int32_t RowOf(int32_t line) const;

 private:
  struct Run {
    int32_t first_line;
    int32_t first_row;
  };

  std::vector<Run> runs_;
  int32_t count_ = 0;
};

}  // namespace holvan::editor
