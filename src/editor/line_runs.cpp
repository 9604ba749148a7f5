#include "editor/line_runs.h"

#include <algorithm>

namespace holvan::editor {

void LineRuns::Append(const std::vector<int32_t>& lines) {
  for (const int32_t line : lines) {
    if (runs_.empty() ||
        line != runs_.back().first_line + (count_ - runs_.back().first_row)) {
      runs_.push_back({line, count_});
    }
    ++count_;
  }
}

int32_t LineRuns::At(int32_t row) const {
  const auto after = std::upper_bound(
      runs_.begin(), runs_.end(), row,
      [](int32_t r, const Run& run) { return r < run.first_row; });
  const Run& run = *(after - 1);
  return run.first_line + (row - run.first_row);
}

int32_t LineRuns::RowOf(int32_t line) const {
  const auto after = std::upper_bound(
      runs_.begin(), runs_.end(), line,
      [](int32_t l, const Run& run) { return l < run.first_line; });
  if (after == runs_.begin()) return -1;
  const Run& run = *(after - 1);
  const int32_t end_row = after == runs_.end() ? count_ : after->first_row;
  const int32_t row = run.first_row + (line - run.first_line);
  return row < end_row ? row : -1;
}

}  // namespace holvan::editor
