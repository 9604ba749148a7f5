#include "memory/memory_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "files/text_lines.h"
#include "memory/key_rules.h"
#include "memory/listed_lines.h"
#include "memory/user_text.h"
#include "memory/wording.h"
#include "os/descriptors.h"
#include "store/data_files.h"
#include "store/definition_list.h"
#include "store/line_forms.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

/// Whether pattern is empty or found in one of texts, by characters.
bool Holds(std::string_view pattern,
           std::initializer_list<std::string_view> texts) {
  if (pattern.empty()) return true;
  const WideText wide = ToWide(pattern);
  return std::any_of(texts.begin(), texts.end(), [&](std::string_view text) {
    return ToWide(text).find(wide) != WideText::npos;
  });
}

/// Raises the reason when there is one.
void Refuse(const std::optional<NarrowText>& reason) {
  if (reason) throw Error(*reason);
}

/// "「key」は dic.dat の 12 行目にあります"
NarrowText Taken(std::string_view key, MemoryFile file, int64_t line) {
  return InCornerBrackets(key) + "は "_sj + LineName(file, line) +
         "にあります"_sj;
}

NarrowText NoAsterisk() {
  return "「*」がないので、この行は辞書に入りません"_sj;
}

NarrowText NoEquals() {
  return "「＝」がないので言葉のない行として読まれ、次の保存で先頭に「＝」が"
         "付きます"_sj;
}

/// Whether the file at path holds the pieces one after the other and nothing
/// else, read a block at a time so that a large file costs no second copy;
/// raises the open error.
bool FileHolds(const NarrowText& path,
               const std::vector<std::string_view>& pieces) {
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
  if (!fd.ok()) throw OpenError(path);
  NarrowText block(std::size_t{1} << 16, '\0');
  auto piece = pieces.begin();
  std::string_view expected;
  for (;;) {
    ssize_t n;
    do {
      n = ::read(fd.get(), block.data(), block.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw OpenError(path);
    std::string_view read(block.data(), static_cast<std::size_t>(n));
    if (read.empty()) break;
    while (!read.empty()) {
      while (expected.empty() && piece != pieces.end()) expected = *piece++;
      const std::size_t common = std::min(read.size(), expected.size());
      if (common == 0 || read.substr(0, common) != expected.substr(0, common)) {
        return false;
      }
      read.remove_prefix(common);
      expected.remove_prefix(common);
    }
  }
  // Pieces are never empty: none is left when the file held them all.
  return expected.empty() && piece == pieces.end();
}

}  // namespace

NarrowText FolderInUseReason(const std::optional<LockHolder>& holder) {
  const NarrowText& after_holvan = "Holvan の終了後に編集できます"_sj;
  if (!holder) return after_holvan;
  return IsHolvan(*holder)
             ? after_holvan + WhichHolvan(*holder)
             : HolderUsesFolder(*holder) + "。終了後に編集できます"_sj;
}

std::optional<NarrowText> UnreadableReason(MemoryFile file,
                                           std::string_view line) {
  switch (file) {
    case MemoryFile::kDictionary:
      if (line.empty() || SplitDictionaryLine(line)) return std::nullopt;
      return NoAsterisk();
    case MemoryFile::kBrain:
      if (SplitBrainLine(line).value.size() != line.size()) return std::nullopt;
      return NoEquals();
    default:
      return std::nullopt;
  }
}

MemoryFolder::MemoryFolder(const NarrowText& folder,
                           NarrowText read_only_reason, Reading reading)
    : folder_(folder),
      read_only_reason_(std::move(read_only_reason)),
      files_(kMemoryFiles.size()) {
  if (reading == Reading::kAllAtOnce) {
    for (MemoryFile file : kMemoryFiles) ReadFile(file);
  }
}

MemoryFolder MemoryFolder::OpenForEditing(const NarrowText& folder,
                                          Reading reading) {
  return MemoryFolder(folder, NarrowText(), reading);
}

MemoryFolder MemoryFolder::OpenReadOnly(const NarrowText& folder,
                                        NarrowText reason, Reading reading) {
  return MemoryFolder(folder, std::move(reason), reading);
}

MemoryFolder::File MemoryFolder::Read(const NarrowText& path) {
  File file;
  file.exists = FileExists(path);
  if (file.exists) file.lines = FileLines(ReadFileBytes(path));
  file.read = true;
  return file;
}

NarrowText MemoryFolder::PathOf(MemoryFile file) const {
  return DataFilePath(folder_, FileName(file));
}

MemoryFolder::File& MemoryFolder::ReadFile(MemoryFile file) const {
  File& state = files_[static_cast<std::size_t>(file)];
  if (!state.read) state = Read(PathOf(file));
  return state;
}

MemoryFolder::File& MemoryFolder::FileOf(MemoryFile file) {
  return ReadFile(file);
}

const MemoryFolder::File& MemoryFolder::FileOf(MemoryFile file) const {
  return ReadFile(file);
}

bool MemoryFolder::Exists(MemoryFile file) const { return FileOf(file).exists; }

const FileLines& MemoryFolder::Lines(MemoryFile file) const {
  return FileOf(file).lines;
}

std::vector<Fact> MemoryFolder::Facts(std::string_view containing) const {
  std::vector<Fact> facts;
  const FileLines& lines = Lines(MemoryFile::kDictionary);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const std::optional<KeyAndValue> pair = SplitDictionaryLine(lines.Text(i));
    if (pair && Holds(containing, {pair->key, pair->value})) {
      facts.push_back({i + 1, NarrowText(pair->key), NarrowText(pair->value)});
    }
  }
  return facts;
}

std::vector<BrainEntry> MemoryFolder::BrainEntries(
    std::string_view containing) const {
  std::vector<BrainEntry> entries;
  const FileLines& lines = Lines(MemoryFile::kBrain);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const KeyAndValue pair = SplitBrainLine(lines.Text(i));
    if (Holds(containing, {pair.key, pair.value})) {
      entries.push_back(
          {i + 1, NarrowText(pair.key), SplitDefinitions(pair.value)});
    }
  }
  return entries;
}

std::vector<Phrase> MemoryFolder::Phrases(std::string_view containing) const {
  std::vector<Phrase> phrases;
  const FileLines& lines = Lines(MemoryFile::kPhrases);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (Holds(containing, {lines.Text(i)})) {
      phrases.push_back({i + 1, NarrowText(lines.Text(i))});
    }
  }
  return phrases;
}

NarrowText MemoryFolder::UserName() const {
  const FileLines& lines = Lines(MemoryFile::kProfile);
  if (lines.Count() == 0) return {};
  return NarrowText(lines.Text(0).substr(0, kLineReadBytes));
}

std::vector<UnreadableLine> MemoryFolder::UnreadableLines(
    MemoryFile file, std::string_view containing) const {
  std::vector<UnreadableLine> found;
  const FileLines& lines = Lines(file);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const std::string_view text = lines.Text(i);
    std::optional<NarrowText> reason = UnreadableReason(file, text);
    if (reason && Holds(containing, {text})) {
      found.push_back({i + 1, NarrowText(text), std::move(*reason)});
    }
  }
  return found;
}

std::vector<int32_t> MemoryFolder::FactLines(std::string_view key) const {
  std::vector<int32_t> found;
  const FileLines& lines = Lines(MemoryFile::kDictionary);
  const FirstCharacter first(key);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (!first.MayStart(lines.Text(i))) continue;
    const std::optional<KeyAndValue> pair = SplitDictionaryLine(lines.Text(i));
    if (pair && SameCharacters(pair->key, key)) found.push_back(i + 1);
  }
  return found;
}

std::optional<int32_t> MemoryFolder::BrainLine(std::string_view key) const {
  const FileLines& lines = Lines(MemoryFile::kBrain);
  const FirstCharacter first(key);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (!first.MayStart(lines.Text(i))) continue;
    if (SameCharacters(SplitBrainLine(lines.Text(i)).key, key)) return i + 1;
  }
  return std::nullopt;
}

std::vector<int32_t> MemoryFolder::PhraseLines(std::string_view text) const {
  std::vector<int32_t> found;
  const FileLines& lines = Lines(MemoryFile::kPhrases);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (SameCharacters(lines.Text(i), text)) found.push_back(i + 1);
  }
  return found;
}

void MemoryFolder::CheckEditable() const {
  if (!editable()) throw Error(read_only_reason_);
}

void MemoryFolder::CheckLine(MemoryFile file, int32_t line) const {
  if (line < 1 || line > Lines(file).Count()) {
    throw Error(NarrowText(FileName(file)) + " に "_sj + IntText(line) +
                " 行目はありません"_sj);
  }
}

void MemoryFolder::CheckFactKey(std::string_view key, int32_t line) const {
  Refuse(BadFactKey(key));
  for (int32_t taken : FactLines(key)) {
    if (taken != line) throw Error(Taken(key, MemoryFile::kDictionary, taken));
  }
}

void MemoryFolder::CheckBrainKey(std::string_view key, int32_t line) const {
  Refuse(BadBrainKey(key));
  const FileLines& lines = Lines(MemoryFile::kBrain);
  const FirstCharacter first(key);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (i + 1 != line && first.MayStart(lines.Text(i)) &&
        SameCharacters(SplitBrainLine(lines.Text(i)).key, key)) {
      throw Error(Taken(key, MemoryFile::kBrain, i + 1));
    }
  }
}

void MemoryFolder::Record(Edit edit) {
  ++FileOf(edit.file).unsaved;
  edits_.push_back(std::move(edit));
}

void MemoryFolder::ChangeLine(MemoryFile file, int32_t line, NarrowText text,
                              NarrowText what) {
  FileLines& lines = FileOf(file).lines;
  if (lines.Text(line - 1) == text) return;
  FileLines::Line changed = lines.ChangedLine(line - 1, std::move(text));
  Record({file, {lines.Replace(line - 1, 1, {changed})}, std::move(what)});
}

int32_t MemoryFolder::AppendLines(MemoryFile file,
                                  std::vector<NarrowText> texts,
                                  NarrowText what) {
  FileLines& lines = FileOf(file).lines;
  const int32_t first = lines.Count() + 1;
  std::vector<FileLines::Line> added;
  added.reserve(texts.size());
  for (NarrowText& text : texts)
    added.push_back(lines.NewLine(std::move(text)));
  Record({file,
          {lines.Replace(lines.Count(), 0, std::move(added))},
          std::move(what)});
  return first;
}

int32_t MemoryFolder::AddFact(std::string_view key, std::string_view text) {
  CheckEditable();
  CheckFactKey(key, 0);
  Refuse(NotOneLine(text));
  if (text.empty()) throw Error("説明が空です"_sj);
  return AppendLines(MemoryFile::kDictionary,
                     {NarrowText(key) + "*" + NarrowText(text)},
                     InCornerBrackets(key) + "の追加"_sj);
}

void MemoryFolder::ChangeFact(int32_t line, std::string_view key,
                              std::string_view text) {
  CheckEditable();
  CheckLine(MemoryFile::kDictionary, line);
  CheckFactKey(key, line);
  Refuse(NotOneLine(text));
  if (text.empty()) throw Error("説明が空です"_sj);
  ChangeLine(MemoryFile::kDictionary, line,
             NarrowText(key) + "*" + NarrowText(text),
             InCornerBrackets(key) + "の変更"_sj);
}

ImportReport MemoryFolder::ImportFacts(std::string_view utf8) {
  CheckEditable();
  ImportReport report;
  // The first line of each key, by its characters: in the file, or
  // (negative) in the list.
  std::unordered_map<NarrowText, int64_t> keys;
  for (const Fact& fact : Facts()) {
    keys.try_emplace(Recoded(fact.key), fact.line);
  }
  std::vector<NarrowText> added;
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  int64_t number = 0;
  while (!utf8.empty()) {
    ++number;
    const std::size_t end = std::min(utf8.find('\n'), utf8.size());
    std::string_view line = utf8.substr(0, end);
    utf8.remove_prefix(std::min(end + 1, utf8.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    const auto skip = [&](NarrowText reason) {
      report.skipped.push_back({number, std::move(reason)});
    };
    if (!IsUtf8(line)) {
      skip("UTF-8 ではありません"_sj);
      continue;
    }
    const std::size_t separator = line.find_first_of("*\t");
    if (separator == std::string_view::npos) {
      skip("区切り（「*」かタブ）がありません"_sj);
      continue;
    }
    if (!FitsCodePage932(line)) {
      skip("コードページ 932 にない文字があります"_sj);
      continue;
    }
    const NarrowText key = Utf8ToNarrow(line.substr(0, separator));
    const NarrowText text = Utf8ToNarrow(line.substr(separator + 1));
    std::optional<NarrowText> problem = BadFactKey(key);
    if (!problem) problem = NotOneLine(text);
    if (!problem && text.empty()) problem = "説明が空です"_sj;
    if (problem) {
      skip(std::move(*problem));
      continue;
    }
    const auto [at, fresh] = keys.try_emplace(Recoded(key), -number);
    if (!fresh) {
      const int64_t taken = at->second;
      skip(taken < 0 ? InCornerBrackets(key) + "はこの一覧の "_sj +
                           IntText(-taken) + " 行目にもあります"_sj
                     : Taken(key, MemoryFile::kDictionary, taken));
      continue;
    }
    added.push_back(NarrowText(key) + "*" + text);
    if (std::string notice = ReplacementNotice(line); !notice.empty()) {
      report.replaced.push_back({number, std::move(notice)});
    }
  }
  report.added = static_cast<int64_t>(added.size());
  if (!added.empty()) {
    AppendLines(MemoryFile::kDictionary, std::move(added),
                IntText(report.added) + " 件の事柄の取り込み"_sj);
  }
  return report;
}

int32_t MemoryFolder::AddDefinition(std::string_view key,
                                    std::string_view definition) {
  CheckEditable();
  Refuse(BadBrainKey(key));
  Refuse(BadDefinition(definition));
  const NarrowText what = InCornerBrackets(key) + "の意味"_sj +
                          InCornerBrackets(definition) + "の追加"_sj;
  if (const std::optional<int32_t> line = BrainLine(key)) {
    const KeyAndValue pair =
        SplitBrainLine(Lines(MemoryFile::kBrain).Text(*line - 1));
    const NarrowText newest =
        WithNewestDefinition(pair.value, NarrowText(definition));
    if (newest != pair.value) {
      ChangeLine(MemoryFile::kBrain, *line,
                 NarrowText(pair.key) + BrainSeparator() + newest, what);
    }
    return *line;
  }
  // Lines 1 and 2 move the mood, whatever they hold.
  if (Lines(MemoryFile::kBrain).Count() < 2) {
    throw Error(
        "brain.dat に機嫌を動かす言葉の 2 行がないので、言葉を加えられません"_sj);
  }
  return AppendLines(
      MemoryFile::kBrain,
      {NarrowText(key) + BrainSeparator() + NarrowText(definition)}, what);
}

void MemoryFolder::ChangeBrainEntry(
    int32_t line, std::string_view key,
    const std::vector<NarrowText>& definitions) {
  CheckEditable();
  CheckLine(MemoryFile::kBrain, line);
  CheckBrainKey(key, line);
  if (definitions.empty()) throw Error("意味が空です"_sj);
  for (const NarrowText& definition : definitions) {
    Refuse(BadDefinition(definition));
  }
  ChangeLine(MemoryFile::kBrain, line,
             NarrowText(key) + BrainSeparator() + JoinDefinitions(definitions),
             InCornerBrackets(key) + "の変更"_sj);
}

void MemoryFolder::RemoveDefinition(int32_t line, std::string_view definition) {
  CheckEditable();
  CheckLine(MemoryFile::kBrain, line);
  const KeyAndValue pair =
      SplitBrainLine(Lines(MemoryFile::kBrain).Text(line - 1));
  std::vector<NarrowText> definitions = SplitDefinitions(pair.value);
  const auto found = std::find_if(
      definitions.begin(), definitions.end(),
      [&](const NarrowText& held) { return SameCharacters(held, definition); });
  if (found == definitions.end()) {
    throw Error(LineName(MemoryFile::kBrain, line) + "に意味"_sj +
                InCornerBrackets(definition) + "はありません"_sj);
  }
  if (definitions.size() == 1) {
    RemoveLines(MemoryFile::kBrain, {line});
    return;
  }
  definitions.erase(found);
  ChangeLine(
      MemoryFile::kBrain, line,
      NarrowText(pair.key) + BrainSeparator() + JoinDefinitions(definitions),
      InCornerBrackets(pair.key) + "の意味"_sj + InCornerBrackets(definition) +
          "の削除"_sj);
}

void MemoryFolder::FixLine(MemoryFile file, int32_t line,
                           std::string_view text) {
  CheckEditable();
  Refuse(NotOneLine(text));
  switch (file) {
    case MemoryFile::kDictionary:
      if (const std::optional<KeyAndValue> pair = SplitDictionaryLine(text)) {
        ChangeFact(line, pair->key, pair->value);
        return;
      }
      throw Error(NoAsterisk());
    case MemoryFile::kBrain: {
      Refuse(UnreadableReason(file, text));
      const KeyAndValue pair = SplitBrainLine(text);
      ChangeBrainEntry(line, pair.key, SplitDefinitions(pair.value));
      return;
    }
    default:
      throw Error(NarrowText(FileName(file)) + " の行は直せません"_sj);
  }
}

int32_t MemoryFolder::AddPhrase(std::string_view text) {
  CheckEditable();
  Refuse(NotOneLine(text));
  if (text.empty()) throw Error("発言が空です"_sj);
  const std::vector<int32_t> taken = PhraseLines(text);
  if (!taken.empty())
    throw Error(Taken(text, MemoryFile::kPhrases, taken.front()));
  return AppendLines(MemoryFile::kPhrases, {NarrowText(text)},
                     InCornerBrackets(text) + "の追加"_sj);
}

void MemoryFolder::ChangePhrase(int32_t line, std::string_view text) {
  CheckEditable();
  CheckLine(MemoryFile::kPhrases, line);
  Refuse(NotOneLine(text));
  if (text.empty()) throw Error("発言が空です"_sj);
  for (int32_t taken : PhraseLines(text)) {
    if (taken != line) throw Error(Taken(text, MemoryFile::kPhrases, taken));
  }
  ChangeLine(MemoryFile::kPhrases, line, NarrowText(text),
             LineName(MemoryFile::kPhrases, line) + "の変更"_sj);
}

void MemoryFolder::RemoveLines(MemoryFile file, std::vector<int32_t> lines) {
  CheckEditable();
  if (file == MemoryFile::kProfile || file == MemoryFile::kDiary) {
    throw Error(NarrowText(FileName(file)) + " の行は消せません"_sj);
  }
  std::sort(lines.begin(), lines.end(), std::greater<>());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  if (lines.empty()) return;
  for (int32_t line : lines) {
    CheckLine(file, line);
    if (file == MemoryFile::kBrain && line <= 2) {
      throw Error(
          "brain.dat の 1 行目と 2 行目は機嫌を動かす言葉の行なので消せません"_sj);
    }
  }
  // From the last, so that the line numbers still to go stay where they are.
  Edit edit{file,
            {},
            lines.size() == 1
                ? LineName(file, lines.front()) + "の削除"_sj
                : NarrowText(FileName(file)) + " の "_sj +
                      IntText(static_cast<int64_t>(lines.size())) +
                      " 行の削除"_sj};
  FileLines& file_lines = FileOf(file).lines;
  for (int32_t line : lines) {
    edit.splices.push_back(file_lines.Replace(line - 1, 1, {}));
  }
  Record(std::move(edit));
}

void MemoryFolder::SetUserName(std::string_view name) {
  CheckEditable();
  Refuse(NotOneLine(name));
  if (name.empty()) throw Error("名前が空です"_sj);
  if (name.size() > kLineReadBytes) {
    throw Error("名前が長すぎます（"_sj +
                IntText(static_cast<int64_t>(kLineReadBytes)) +
                " バイトまでです）"_sj);
  }
  const NarrowText what = "名前の変更"_sj;
  if (Lines(MemoryFile::kProfile).Count() == 0) {
    AppendLines(MemoryFile::kProfile, {NarrowText(name)}, what);
  } else {
    ChangeLine(MemoryFile::kProfile, 1, NarrowText(name), what);
  }
}

const NarrowText& MemoryFolder::LastEdit() const {
  static const NarrowText kNone;
  return edits_.empty() ? kNone : edits_.back().what;
}

void MemoryFolder::Undo() {
  if (edits_.empty()) return;
  const Edit& edit = edits_.back();
  File& file = FileOf(edit.file);
  for (auto splice = edit.splices.rbegin(); splice != edit.splices.rend();
       ++splice) {
    file.lines.Undo(*splice);
  }
  --file.unsaved;
  edits_.pop_back();
}

std::vector<MemoryFile> MemoryFolder::UnsavedFiles() const {
  std::vector<MemoryFile> unsaved;
  for (MemoryFile file : kMemoryFiles) {
    // Not FileOf: a file never read has no edits, and stays unread.
    if (files_[static_cast<std::size_t>(file)].unsaved > 0) {
      unsaved.push_back(file);
    }
  }
  return unsaved;
}

bool MemoryFolder::Changed(MemoryFile file) const {
  const File& state = FileOf(file);
  const NarrowText path = PathOf(file);
  const bool exists = FileExists(path);
  return exists != state.exists ||
         (exists && !FileHolds(path, state.lines.SavedPieces()));
}

std::vector<MemoryFile> MemoryFolder::ChangedFiles() const {
  std::vector<MemoryFile> changed = UnsavedFiles();
  std::erase_if(changed, [this](MemoryFile file) { return !Changed(file); });
  return changed;
}

void MemoryFolder::Save() {
  CheckEditable();
  std::optional<MemoryFile> changed;
  std::optional<Error> failure;
  for (MemoryFile file : UnsavedFiles()) {
    File& state = FileOf(file);
    std::vector<std::string_view> pieces;
    try {
      if (Changed(file)) {
        if (!changed) changed = file;
        continue;
      }
      pieces = state.lines.Pieces();
      AtomicFileWriter writer(PathOf(file));
      for (std::string_view piece : pieces) writer.Append(piece);
      writer.Commit();
    } catch (const Error& error) {
      if (!failure) failure = error;
      continue;
    }
    if (file == MemoryFile::kPhrases) NoteErasedPhrases(state.lines);
    // What the file now holds is what the next save compares it with.
    state.lines.Saved(std::move(pieces));
    state.exists = true;
    state.unsaved = 0;
    std::erase_if(edits_,
                  [file](const Edit& edit) { return edit.file == file; });
  }
  if (failure) throw *failure;
  if (changed) {
    throw Error(
        NarrowText(FileName(*changed)) +
        " は読み込んだ後にほかのプログラムが書き換えたので、保存しませんでした"_sj);
  }
}

void MemoryFolder::NoteErasedPhrases(const FileLines& saved) {
  std::unordered_set<std::string_view> gone;
  for (const Edit& edit : edits_) {
    if (edit.file != MemoryFile::kPhrases) continue;
    for (const FileLines::Splice& splice : edit.splices) {
      for (const FileLines::Line& line : splice.removed) gone.insert(line.text);
    }
  }
  if (gone.empty()) return;
  for (int32_t i = 0; i < saved.Count(); ++i) gone.erase(saved.Text(i));
  for (std::string_view text : gone) erased_phrases_.emplace_back(text);
}

std::vector<NarrowText> MemoryFolder::TakeErasedPhrases() {
  return std::exchange(erased_phrases_, {});
}

std::vector<NarrowText> MemoryFolder::Reload(MemoryFile file) {
  CheckEditable();
  File fresh = Read(PathOf(file));
  std::vector<NarrowText> dropped;
  // Built aside, so that nothing changes until all is done.
  std::vector<Edit> kept;
  for (const Edit& edit : edits_) {
    if (edit.file != file) {
      kept.push_back(edit);
      continue;
    }
    std::vector<FileLines::Splice> redone;
    for (const FileLines::Splice& splice : edit.splices) {
      std::optional<FileLines::Splice> again = fresh.lines.Redo(splice);
      if (!again) break;
      redone.push_back(std::move(*again));
    }
    if (redone.size() < edit.splices.size()) {
      for (auto undone = redone.rbegin(); undone != redone.rend(); ++undone) {
        fresh.lines.Undo(*undone);
      }
      dropped.push_back(edit.what);
      continue;
    }
    kept.push_back({file, std::move(redone), edit.what});
    ++fresh.unsaved;
  }
  edits_ = std::move(kept);
  FileOf(file) = std::move(fresh);
  return dropped;
}

}  // namespace holvan::memory
