#include "files/line_list.h"

#include <limits>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "text/line_breaks.h"

namespace holvan {

const NarrowText& LineList::Get(int32_t i) const {
  if (i < 0 || i >= Count()) throw ListIndexError(i);
  return entries_[static_cast<size_t>(i)];
}

void LineList::Put(int32_t i, NarrowText s) {
  if (i < 0 || i >= Count()) throw ListIndexError(i);
  entries_[static_cast<size_t>(i)] = std::move(s);
}

int32_t LineList::Add(NarrowText s) {
  if (entries_.size() >=
      static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw AppendError();
  }
  entries_.push_back(std::move(s));
  return Count() - 1;
}

void LineList::Assign(std::vector<NarrowText> entries) {
  if (entries.size() >
      static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw AppendError();
  }
  entries_ = std::move(entries);
}

void LineList::SaveToFile(const NarrowText& path) const {
  AtomicFileWriter writer(path);
  // The entries lie all over memory: ask for the ones a few steps ahead.
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i + kAhead < entries_.size()) {
      __builtin_prefetch(entries_[i + kAhead].data());
    }
    writer.Append(entries_[i]);
    writer.Append("\r\n");
  }
  writer.Commit();
}

std::vector<NarrowText> SplitFileLines(std::string_view bytes) {
  std::vector<NarrowText> lines;
  lines.reserve(CountLineFeeds(bytes) + 1);
  ForEachLine(UpToZero(bytes), [&lines](std::string_view line, bool) {
    lines.emplace_back(line);
  });
  return lines;
}

}  // namespace holvan
