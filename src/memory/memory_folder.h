#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/file_lines.h"
#include "memory/memory_files.h"
#include "os/lock_holder.h"
#include "text/narrow_text.h"

namespace holvan::memory {

// Texts are code page 932. Line numbers count from 1 in the files as they
// stand with the edits made so far, so an edit that adds or removes lines
// moves the numbers after it. Every failure raises holvan::Error with a
// Japanese message; an edit that fails changes nothing.

/// A line of "dic.dat" that the Dictionary takes: key "*" text.
struct Fact {
  int32_t line = 0;
  NarrowText key;
  NarrowText text;
};

/// A line of "brain.dat": key "＝" definitions joined by "＊".
struct BrainEntry {
  int32_t line = 0;
  NarrowText key;
  /// Newest first.
  std::vector<NarrowText> definitions;
};

/// A line that its file's store takes as no entry: a line of "dic.dat"
/// without "*", which the Dictionary leaves out, or of "brain.dat" without
/// "＝", read as a word without a key.
struct UnreadableLine {
  int32_t line = 0;
  NarrowText text;
  /// Why, as the check says it.
  NarrowText reason;
};

/// A line of "res.dat".
struct Phrase {
  int32_t line = 0;
  NarrowText text;
};

/// A line of an imported list that was not added, and why.
struct SkippedLine {
  int64_t line = 0;
  NarrowText reason;
};

/// A line of an imported list that was added with look-alikes in place of
/// characters that code page 932 lacks.
struct ReplacedLine {
  int64_t line = 0;
  /// ReplacementNotice of the line: UTF-8.
  std::string notice;
};

/// What ImportFacts did.
struct ImportReport {
  int64_t added = 0;
  std::vector<SkippedLine> skipped;
  std::vector<ReplacedLine> replaced;
};

/// Which files a MemoryFolder reads when it is opened.
enum class Reading {
  /// All of them at once: a file that cannot be read fails the opening.
  kAllAtOnce,
  /// Each when it is first looked at, so that a command reads only the files
  /// it needs (a file that cannot be read fails the step that needs it).
  kWhenNeeded,
};

/// Why a memory whose folder another program holds is open read-only:
/// "Holvan の終了後に編集できます", with which Holvan holds it after it
/// ("（holvan-term、プロセス 1234）"), or who else does
/// ("「記憶の整理」（プロセス
/// 1234）がこのフォルダを使っています。終了後に編集できます"); the first alone
/// when it is not known.
NarrowText FolderInUseReason(
    const std::optional<LockHolder>& holder = std::nullopt);

/// Why line, of file, is an UnreadableLine; nothing when it is not one (an
/// empty line of "dic.dat" is none: it holds nothing to lose).
std::optional<NarrowText> UnreadableReason(MemoryFile file,
                                           std::string_view line);

/// The memory files of one folder, each read whole (see Reading) and written
/// back only by Save: only the files an edit changed, each atomically, every
/// byte outside the edited lines as it was. Holvan never rereads its files
/// while it runs, so a folder is edited only by whoever holds its lock (see
/// FolderLock); the caller takes it before OpenForEditing and keeps
/// it as long as the MemoryFolder lives.
class MemoryFolder {
 public:
  /// Reads the files of folder for editing; a file that exists but cannot
  /// be read raises its open error.
  static MemoryFolder OpenForEditing(const NarrowText& folder,
                                     Reading reading = Reading::kAllAtOnce);
  /// Reads them to look at only: every edit and Save raise reason.
  static MemoryFolder OpenReadOnly(const NarrowText& folder, NarrowText reason,
                                   Reading reading = Reading::kAllAtOnce);

  MemoryFolder(MemoryFolder&&) noexcept = default;
  MemoryFolder& operator=(MemoryFolder&&) noexcept = default;

  const NarrowText& folder() const { return folder_; }
  bool editable() const { return read_only_reason_.empty(); }
  /// Why edits are refused; empty when they are not.
  const NarrowText& read_only_reason() const { return read_only_reason_; }
  /// Whether the file was there when the folder was read (or was saved
  /// since).
  bool Exists(MemoryFile file) const;
  /// The file's lines with the edits made so far.
  const FileLines& Lines(MemoryFile file) const;

  // Lists in file order. With a non-empty containing, only the entries with
  // it in a key or a text, found by characters (WidePos).

  std::vector<Fact> Facts(std::string_view containing = {}) const;
  std::vector<BrainEntry> BrainEntries(std::string_view containing = {}) const;
  std::vector<Phrase> Phrases(std::string_view containing = {}) const;
  /// Line 1 of "holv.dat" as Holvan reads it (at most 4096 bytes).
  NarrowText UserName() const;
  /// The unreadable lines of "dic.dat" or "brain.dat" (BrainEntries lists
  /// those of "brain.dat" too, with an empty key), found in their whole text.
  std::vector<UnreadableLine> UnreadableLines(
      MemoryFile file, std::string_view containing = {}) const;

  // Keys and texts are found by their characters (SameCharacters), so that
  // one written with the other encoding of a character that has two is
  // found as it is listed.

  /// The lines of facts whose key equals key; the first one answers.
  std::vector<int32_t> FactLines(std::string_view key) const;
  /// The first line of "brain.dat" whose key equals key.
  std::optional<int32_t> BrainLine(std::string_view key) const;
  /// The lines of "res.dat" equal to text.
  std::vector<int32_t> PhraseLines(std::string_view text) const;

  // Edits, each one step of Undo. Keys and texts are one line each. A change
  // that leaves a line as it was is no edit.

  /// Adds key "*" text at the end of "dic.dat" (made when absent); refuses a
  /// key that is empty, holds "*", is taken or that no question can reach
  /// (see Unaskable). Returns the line.
  int32_t AddFact(std::string_view key, std::string_view text);
  /// Line becomes key "*" text, with the rules of AddFact.
  void ChangeFact(int32_t line, std::string_view key, std::string_view text);
  /// Adds every "key*text" or "key<TAB>text" line of a UTF-8 text at the
  /// end of "dic.dat", as one step; lines that AddFact would refuse, that
  /// lack a separator or hold characters code page 932 lacks are skipped,
  /// and lines added with look-alikes for such characters told. Empty lines
  /// are passed over.
  ImportReport ImportFacts(std::string_view utf8);

  /// Puts definition first in the value of the first key equal to key, as
  /// Holvan learns it (moved to the front when the value already holds it;
  /// the key keeps its bytes), or adds the line key "＝" definition at the
  /// end. Returns the line.
  int32_t AddDefinition(std::string_view key, std::string_view definition);
  /// Line becomes key "＝" the definitions (newest first, at least one).
  void ChangeBrainEntry(int32_t line, std::string_view key,
                        const std::vector<NarrowText>& definitions);
  /// Takes definition out of the line's value; the line goes with its last
  /// definition.
  void RemoveDefinition(int32_t line, std::string_view definition);

  /// Line of "dic.dat" or "brain.dat" becomes text, a whole line of the
  /// file's form, with the rules of ChangeFact or ChangeBrainEntry: how an
  /// unreadable line is mended. A text that would be unreadable is refused
  /// with the reason.
  void FixLine(MemoryFile file, int32_t line, std::string_view text);

  /// Adds text at the end of "res.dat" (made when absent).
  int32_t AddPhrase(std::string_view text);
  void ChangePhrase(int32_t line, std::string_view text);

  /// Removes the lines of "dic.dat", "brain.dat" or "res.dat", whatever they
  /// hold, as one step. Lines 1 and 2 of "brain.dat" hold the words that
  /// move Holvan's mood and are never removed.
  void RemoveLines(MemoryFile file, std::vector<int32_t> lines);

  /// Line 1 of "holv.dat" becomes name (made when absent).
  void SetUserName(std::string_view name);

  /// Whether there is an edit to take back: the edits since the last Save.
  bool CanUndo() const { return !edits_.empty(); }
  /// What the last edit did, as a short Japanese text ("「猫」の意味の削除").
  const NarrowText& LastEdit() const;
  /// Takes back the last edit.
  void Undo();

  /// The files that Save would write.
  std::vector<MemoryFile> UnsavedFiles() const;
  /// The unsaved files whose bytes another program changed since they were
  /// read or saved (made or removed included): Save leaves them as they are.
  std::vector<MemoryFile> ChangedFiles() const;
  /// Writes each unsaved file atomically, in the order of kMemoryFiles, but
  /// those of ChangedFiles; one that fails to be written does not stop the
  /// others. Then raises the error of the first failed write, else, when a
  /// file was changed, "dic.dat は読み込んだ後にほかのプログラムが
  /// 書き換えたので、保存しませんでした". The files left unsaved keep their
  /// edits.
  void Save();
  /// Reads file again as another program left it and makes its unsaved edits
  /// on it again, in turn, each by the texts of the lines it changed or
  /// removed, found nearest to where they were (see FileLines::Redo); lines
  /// added at the end go to the new end. Returns what each edit that no
  /// longer applies did (as LastEdit tells it): those are dropped. Raises
  /// the open error, changing nothing, when the file cannot be read.
  std::vector<NarrowText> Reload(MemoryFile file);
  /// The phrases that saves of "res.dat" have taken out of it since the last
  /// call: lines the edits removed or changed whose text no line holds any
  /// more, so that they can go from the backups too.
  std::vector<NarrowText> TakeErasedPhrases();

 private:
  struct File {
    /// Whether the file has been read; the fields below are empty until then.
    bool read = false;
    /// Their SavedPieces() are what the file held when it was read or saved:
    /// a save compares the file with them, byte for byte, since a rewrite in
    /// place can keep the size and the time of change.
    FileLines lines;
    bool exists = false;
    /// Edits not yet saved.
    int32_t unsaved = 0;
  };
  struct Edit {
    MemoryFile file;
    std::vector<FileLines::Splice> splices;
    NarrowText what;
  };

  MemoryFolder(const NarrowText& folder, NarrowText read_only_reason,
               Reading reading);

  /// The file at path as it stands.
  static File Read(const NarrowText& path);

  NarrowText PathOf(MemoryFile file) const;
  /// Whether another program changed the file since it was read or saved.
  bool Changed(MemoryFile file) const;
  /// The file, read first when it has not been.
  File& FileOf(MemoryFile file);
  const File& FileOf(MemoryFile file) const;
  /// What both FileOf do; const, since lookups read files too.
  File& ReadFile(MemoryFile file) const;
  /// Raises the read-only reason when edits are refused.
  void CheckEditable() const;
  /// Raises unless line is a line of file.
  void CheckLine(MemoryFile file, int32_t line) const;
  /// Raises when key cannot be the key of a fact on line (0 for a new one).
  void CheckFactKey(std::string_view key, int32_t line) const;
  /// Raises when key cannot be the key of a Brain entry on line (0 for a new
  /// one).
  void CheckBrainKey(std::string_view key, int32_t line) const;
  /// Keeps the texts that the edits of "res.dat" removed and saved no longer
  /// holds.
  void NoteErasedPhrases(const FileLines& saved);
  /// Takes the last edit as one step.
  void Record(Edit edit);
  /// Replaces line of file by text, keeping its break; nothing when it holds
  /// text already.
  void ChangeLine(MemoryFile file, int32_t line, NarrowText text,
                  NarrowText what);
  /// Adds texts at the end of file, as one step.
  int32_t AppendLines(MemoryFile file, std::vector<NarrowText> texts,
                      NarrowText what);

  NarrowText folder_;
  NarrowText read_only_reason_;
  /// Read when first needed, also by the const lookups.
  mutable std::vector<File> files_;
  std::vector<Edit> edits_;
  std::vector<NarrowText> erased_phrases_;
};

}  // namespace holvan::memory
