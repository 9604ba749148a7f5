#include "text/line_list.h"

#include <limits>

#include "text/error.h"
#include "text/files.h"
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

void LineList::LoadFromFile(const NarrowText& path) {
  NarrowText bytes = ReadFileBytes(path);
  std::vector<NarrowText> lines = SplitFileLines(bytes);
  if (lines.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw AppendError();
  }
  entries_ = std::move(lines);
}

void LineList::SaveToFile(const NarrowText& path) const {
  size_t size = 0;
  for (const NarrowText& entry : entries_) size += entry.size() + 2;
  NarrowText bytes;
  bytes.reserve(size);
  for (const NarrowText& entry : entries_) {
    bytes += entry;
    bytes += "\r\n";
  }
  SaveFileAtomically(path, bytes);
}

std::vector<NarrowText> SplitFileLines(std::string_view bytes) {
  std::vector<NarrowText> lines;
  ForEachLine(UpToZero(bytes), [&lines](std::string_view line, bool) {
    lines.emplace_back(line);
  });
  return lines;
}

}  // namespace holvan
