#include "memory/file_lines.h"

#include <algorithm>
#include <functional>

#include "errors/error.h"
#include "text/line_breaks.h"

namespace holvan::memory {

FileLines::FileLines() = default;

FileLines::Stored FileLines::Store(const Line& line) {
  if (line.text.size() > UINT32_MAX) throw CapacityError();
  const auto end = static_cast<uint32_t>(
      std::find(std::begin(kBreaks), std::end(kBreaks), line.end) -
      std::begin(kBreaks));
  return {line.text.data(), static_cast<uint32_t>(line.text.size()), end};
}

FileLines::FileLines(std::string_view bytes) : FileLines(FileBytes(bytes, 0)) {}

FileLines::FileLines(FileBytes bytes) : read_(std::move(bytes)) {
  const std::string_view all = read_.view();
  if (!all.empty()) saved_.push_back(all);
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
    lines_.push_back(Store({text, read.substr(stop, length)}));
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
  if (appended && at > 0 && At(Count() - 1).end.empty()) {
    // A last line without a break gets one before the lines added after it.
    --at;
    count = 1;
    lines.insert(lines.begin(), Line{Text(Count() - 1), kCrLf});
  }
  std::vector<Stored> stored;
  stored.reserve(lines.size());
  for (const Line& line : lines) stored.push_back(Store(line));
  Splice splice{at, {}, std::move(lines), appended};
  for (int32_t i = at; i < at + count; ++i) splice.removed.push_back(At(i));
  Put(at, count, stored);
  return splice;
}

void FileLines::Undo(const Splice& splice) {
  std::vector<Stored> stored;
  stored.reserve(splice.removed.size());
  for (const Line& line : splice.removed) stored.push_back(Store(line));
  Put(splice.at, static_cast<int32_t>(splice.inserted.size()), stored);
}

void FileLines::Put(int32_t at, int32_t count,
                    const std::vector<Stored>& lines) {
  const auto common = std::min(count, static_cast<int32_t>(lines.size()));
  // A change of one line in place moves none of the others.
  std::copy(lines.begin(), lines.begin() + common, lines_.begin() + at);
  lines_.erase(lines_.begin() + at + common, lines_.begin() + at + count);
  lines_.insert(lines_.begin() + at + common, lines.begin() + common,
                lines.end());
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
  NarrowText bytes;
  for (std::string_view piece : Pieces()) bytes += piece;
  return bytes;
}

std::vector<std::string_view> FileLines::Pieces() const {
  const std::string_view read = read_.view();
  const auto in_read = [&read](std::string_view bytes) {
    const std::less_equal<const char*> not_after;
    return !read.empty() && not_after(read.data(), bytes.data()) &&
           not_after(bytes.data() + bytes.size(), read.data() + read.size());
  };
  std::vector<std::string_view> pieces;
  const auto add = [&](std::string_view bytes) {
    if (bytes.empty()) return;
    if (!pieces.empty()) {
      std::string_view& last = pieces.back();
      if (last.data() + last.size() == bytes.data() && in_read(last) &&
          in_read(bytes)) {
        last = {last.data(), last.size() + bytes.size()};
        return;
      }
    }
    pieces.push_back(bytes);
  };
  for (const Stored& line : lines_) {
    const std::string_view text(line.text, line.size);
    const std::string_view end = kBreaks[line.end];
    add(text);
    // A line still followed by its break in the bytes read continues their
    // run.
    const std::size_t after =
        in_read(text)
            ? static_cast<std::size_t>(text.data() - read.data()) + text.size()
            : read.size();
    const std::string_view end_as_read = read.substr(after, end.size());
    add(end_as_read == end ? end_as_read : end);
  }
  add(unread_);
  return pieces;
}

void FileLines::Saved(std::vector<std::string_view> pieces) {
  saved_ = std::move(pieces);
}

}  // namespace holvan::memory
