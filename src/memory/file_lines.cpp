#include "memory/file_lines.h"

#include <algorithm>

#include "errors/error.h"
#include "text/line_breaks.h"

namespace holvan::memory {

FileLines::FileLines() = default;

FileLines::FileLines(std::string_view bytes) : FileLines(FileBytes(bytes, 0)) {}

FileLines::FileLines(FileBytes bytes) : read_(std::move(bytes)) {
  const std::string_view all = read_.view();
  const std::string_view read = UpToZero(all);
  unread_ = all.substr(read.size());
  ForEachLine(read, [&](std::string_view text, bool broken) {
    if (lines_.size() == kMostLines) throw CapacityError();
    const auto stop =
        static_cast<std::size_t>(text.data() - read.data()) + text.size();
    std::size_t length = 0;
    if (broken) {
      length =
          read[stop] == '\r' && stop + 1 < read.size() && read[stop + 1] == '\n'
              ? 2
              : 1;
    }
    lines_.push_back({text, read.substr(stop, length)});
  });
}

FileLines::Line FileLines::NewLine(NarrowText text) {
  return {written_.emplace_back(std::move(text)), kCrLf};
}

FileLines::Line FileLines::ChangedLine(int32_t i, NarrowText text) {
  return {written_.emplace_back(std::move(text)), At(i).end};
}

FileLines::Splice FileLines::Replace(int32_t at, int32_t count,
                                     std::vector<Line> lines) {
  if (lines_.size() - static_cast<std::size_t>(count) + lines.size() >
      kMostLines) {
    throw AppendError();
  }
  const bool appended = !lines.empty() && count == 0 && at == Count();
  if (appended && at > 0 && lines_.back().end.empty()) {
    // A last line without a break gets one before the lines added after it.
    --at;
    count = 1;
    lines.insert(lines.begin(), Line{lines_.back().text, kCrLf});
  }
  const auto first = lines_.begin() + at;
  Splice splice{at, {first, first + count}, std::move(lines), appended};
  lines_.erase(first, first + count);
  lines_.insert(lines_.begin() + at, splice.inserted.begin(),
                splice.inserted.end());
  return splice;
}

void FileLines::Undo(const Splice& splice) {
  const auto from = lines_.begin() + splice.at;
  lines_.erase(from,
               from + static_cast<std::ptrdiff_t>(splice.inserted.size()));
  lines_.insert(lines_.begin() + splice.at, splice.removed.begin(),
                splice.removed.end());
}

std::optional<FileLines::Splice> FileLines::Redo(const Splice& splice) {
  const auto removed = static_cast<int32_t>(splice.removed.size());
  std::vector<Line> lines;
  if (splice.appended) {
    // Past the last line that took a break.
    for (std::size_t i = splice.removed.size(); i < splice.inserted.size();
         ++i) {
      lines.push_back(NewLine(NarrowText(splice.inserted[i].text)));
    }
    return Replace(Count(), 0, std::move(lines));
  }
  const auto holds_removed = [&](int32_t at) {
    if (at < 0 || at + removed > Count()) return false;
    for (int32_t i = 0; i < removed; ++i) {
      if (Text(at + i) != splice.removed[static_cast<std::size_t>(i)].text) {
        return false;
      }
    }
    return true;
  };
  for (int32_t distance = 0; distance <= std::max(splice.at, Count());
       ++distance) {
    for (const int32_t at : {splice.at - distance, splice.at + distance}) {
      if (!holds_removed(at)) continue;
      for (std::size_t i = 0; i < splice.inserted.size(); ++i) {
        const auto k = static_cast<int32_t>(i);
        NarrowText text(splice.inserted[i].text);
        lines.push_back(k < removed ? ChangedLine(at + k, std::move(text))
                                    : NewLine(std::move(text)));
      }
      return Replace(at, removed, std::move(lines));
    }
  }
  return std::nullopt;
}

NarrowText FileLines::Bytes() const {
  std::size_t size = unread_.size();
  for (const Line& line : lines_) size += line.text.size() + line.end.size();
  NarrowText bytes;
  bytes.reserve(size);
  for (const Line& line : lines_) bytes.append(line.text).append(line.end);
  bytes.append(unread_);
  return bytes;
}

}  // namespace holvan::memory
