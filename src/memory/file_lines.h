#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "files/file_bytes.h"
#include "text/narrow_text.h"

namespace holvan::memory {

/// A data file's bytes as the lines Holvan reads from it, each with the break
/// that ends it, so that an edit changes only the lines it names: every other
/// byte (invalid ones, lone CR or LF breaks, a missing last break, what
/// follows a zero byte) is written back as it was read. A file holds fewer
/// than INT32_MAX lines, so that a line number (also that of the line after
/// the last) is an int32_t.
class FileLines {
 public:
  /// A line's text and the break after it ("\r\n", "\r", "\n", or nothing
  /// for a last line without one); views of bytes the FileLines keeps.
  struct Line {
    std::string_view text;
    std::string_view end;
  };

  /// Lines [at, at + removed.size()) replaced by inserted.
  struct Splice {
    int32_t at = 0;
    std::vector<Line> removed;
    std::vector<Line> inserted;
    /// Whether lines were added after the last one.
    bool appended = false;
  };

  /// No file: no lines.
  FileLines();
  /// The lines of bytes: each ends at CR LF, a lone CR or an LF; reading
  /// stops at the first zero byte. More lines than a line number can count
  /// raise the capacity error.
  explicit FileLines(FileBytes bytes);
  /// The same over a copy of bytes.
  explicit FileLines(std::string_view bytes);
  FileLines(FileLines&&) noexcept = default;
  FileLines& operator=(FileLines&&) noexcept = default;

  int32_t Count() const { return static_cast<int32_t>(lines_.size()); }
  /// Line i, counted from 0.
  Line At(int32_t i) const {
    const Stored& line = lines_[static_cast<size_t>(i)];
    return {{line.text, line.size}, kBreaks[line.end]};
  }
  std::string_view Text(int32_t i) const {
    const Stored& line = lines_[static_cast<size_t>(i)];
    return {line.text, line.size};
  }
  /// From the first zero byte to the end: bytes Holvan never reads.
  std::string_view Unread() const { return unread_; }
  /// What the file held when it was read or last saved, in the order of its
  /// bytes: views of bytes this object keeps.
  const std::vector<std::string_view>& SavedPieces() const { return saved_; }

  /// A new line of text ending in CR LF, kept as long as this object.
  Line NewLine(NarrowText text);
  /// Line i with text in place of its own and its own break.
  Line ChangedLine(int32_t i, NarrowText text);

  /// Replaces count lines from at by lines; a line put after a last line
  /// without a break gives that line CR LF first. Returns what was done, for
  /// Undo. Raises the append error, changing nothing, when the file would
  /// hold more lines than a line number can count.
  Splice Replace(int32_t at, int32_t count, std::vector<Line> lines);
  /// Takes back a splice made last.
  void Undo(const Splice& splice);
  /// Makes a splice of other lines again on these: lines added after the
  /// last go after the last; else the lines it removed are found by their
  /// texts, the nearest to where they were first, and each line put in the
  /// place of one keeps that one's break. Nothing when they are not there.
  std::optional<Splice> Redo(const Splice& splice);

  /// The file's bytes with the edits made.
  NarrowText Bytes() const;
  /// The same as views of bytes this object keeps: lines still as read that
  /// follow each other in one view, so that a file of a few edits is a few
  /// pieces, written and compared without a copy.
  std::vector<std::string_view> Pieces() const;
  /// The file now holds pieces (taken from Pieces()), which the next save
  /// compares it with.
  void Saved(std::vector<std::string_view> pieces);

 private:
  static constexpr std::string_view kCrLf = "\r\n";
  static constexpr std::size_t kMostLines = INT32_MAX - 1;
  /// The breaks a line can end with, by Stored::end.
  static constexpr std::string_view kBreaks[] = {"", "\r\n", "\r", "\n"};

  /// A line as kept: half the size of a Line, since a memory of a million
  /// entries holds millions of them.
  struct Stored {
    const char* text;
    uint32_t size;
    /// Its index in kBreaks.
    uint32_t end;
  };

  /// line as kept; raises the capacity error for a text too long to keep.
  static Stored Store(const Line& line);
  /// Puts lines in the place of count lines from at.
  void Put(int32_t at, int32_t count, const std::vector<Stored>& lines);

  /// The bytes read, kept as read: views of them survive a move.
  FileBytes read_;
  /// Texts of edited lines, kept while a saved piece may show them; a deque
  /// never moves what it holds.
  std::deque<NarrowText> written_;
  std::vector<Stored> lines_;
  std::string_view unread_;
  std::vector<std::string_view> saved_;
};

}  // namespace holvan::memory
