#include "files/text_lines.h"

#include <algorithm>
#include <limits>

#include "files/atomic_save.h"
#include "files/read_file.h"
#include "text/line_breaks.h"

namespace holvan {
namespace {

constexpr std::string_view kBreak = "\r\n";

// Piece i of text: its byte range without the break; found is false when the
// text has fewer pieces.
struct Piece {
  bool found = false;
  bool last = false;
  size_t begin = 0;
  size_t end = 0;
};

Piece FindPiece(std::string_view text, int32_t i) {
  if (i < 0) return {};
  size_t begin = 0;
  for (int32_t k = 0; k < i; ++k) {
    size_t at = text.find(kBreak, begin);
    if (at == std::string_view::npos) return {};
    begin = at + kBreak.size();
  }
  size_t at = text.find(kBreak, begin);
  if (at == std::string_view::npos) return {true, true, begin, text.size()};
  return {true, false, begin, at};
}

}  // namespace

int32_t TextLines::Count() const {
  std::string_view text = text_;
  size_t breaks = 0;
  for (size_t at = text.find(kBreak); at != std::string_view::npos;
       at = text.find(kBreak, at + kBreak.size())) {
    ++breaks;
  }
  // The pieces are breaks + 1, less an empty last piece.
  bool last_empty = text.empty() || text.ends_with(kBreak);
  size_t count = breaks + (last_empty ? 0 : 1);
  return static_cast<int32_t>(
      std::min<size_t>(count, std::numeric_limits<int32_t>::max()));
}

NarrowText TextLines::Get(int32_t i) const {
  if (i >= Count()) return {};
  Piece piece = FindPiece(text_, i);
  if (!piece.found) return {};
  size_t length = std::min(piece.end - piece.begin, kLineReadBytes);
  return text_.substr(piece.begin, length);
}

void TextLines::Put(int32_t i, std::string_view s) {
  Piece piece = FindPiece(text_, i);
  if (!piece.found) return;
  text_.replace(piece.begin, piece.end - piece.begin, s);
}

NarrowText TextLines::Add(std::string_view s) {
  NarrowText added;
  added.reserve(s.size() + kBreak.size());
  if (text_.empty() || text_.ends_with(kBreak)) {
    added.append(s);
    added.append(kBreak);
  } else {
    added.append(kBreak);
    added.append(s);
  }
  text_ += added;
  return added;
}

ByteRange TextLines::Delete(int32_t i) {
  Piece piece = FindPiece(text_, i);
  if (!piece.found) return {};
  size_t end = piece.last ? piece.end : piece.end + kBreak.size();
  ByteRange removed{piece.begin, end - piece.begin};
  text_.erase(removed.begin, removed.length);
  return removed;
}

void TextLines::Clear() {
  text_.clear();
  selection_ = {};
}

void TextLines::LoadFromFile(const NarrowText& path, TooLarge too_large) {
  SetText(NormalizeBreaks(ReadFileBytes(path, too_large)));
}

void TextLines::SaveToFile(const NarrowText& path) const {
  SaveFileAtomically(path, text_);
}

ByteRange TextLines::Selection() const {
  size_t begin = std::min(selection_.begin, text_.size());
  return {begin, std::min(selection_.length, text_.size() - begin)};
}

NarrowText TextLines::SelectedText() const {
  ByteRange range = Selection();
  return text_.substr(range.begin, range.length);
}

ByteRange TextLines::DeleteSelection() {
  ByteRange range = Selection();
  text_.erase(range.begin, range.length);
  selection_ = {range.begin, 0};
  return range;
}

void TextLines::SetText(NarrowText text) {
  text_ = std::move(text);
  selection_ = {};
}

NarrowText NormalizeBreaks(std::string_view bytes) {
  bytes = UpToZero(bytes);
  NarrowText out;
  out.reserve(bytes.size() + bytes.size() / 16);
  ForEachLine(bytes, [&out](std::string_view line, bool broken) {
    out.append(line);
    if (broken) out.append(kBreak);
  });
  return out;
}

}  // namespace holvan
