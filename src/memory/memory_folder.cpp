#include "memory/memory_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "files/read_file.h"
#include "memory/key_rules.h"
#include "memory/wording.h"
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

/// Holvan reads at most this much of a profile line.
constexpr std::size_t kProfileLineBytes = 4096;

/// Whether pattern is empty or found in one of texts, by characters.
bool Holds(std::string_view pattern,
           std::initializer_list<std::string_view> texts) {
  if (pattern.empty()) return true;
  return std::any_of(texts.begin(), texts.end(), [&](std::string_view text) {
    return WidePos(pattern, text) > 0;
  });
}

/// Raises the reason when there is one.
void Refuse(const std::optional<NarrowText>& reason) {
  if (reason) throw Error(*reason);
}

/// "「key」は dic.dat の 12 行目にあります"
NarrowText Taken(std::string_view key, MemoryFile file, int32_t line) {
  return Quoted(key) + "は "_sj + LineName(file, line) + "にあります"_sj;
}

}  // namespace

NarrowText FolderInUseReason(const std::optional<LockHolder>& holder) {
  const NarrowText& after_holvan = "Holvan の終了後に編集できます"_sj;
  if (!holder) return after_holvan;
  return IsHolvan(*holder)
             ? after_holvan + WhichHolvan(*holder)
             : HolderUsesFolder(*holder) + "。終了後に編集できます"_sj;
}

MemoryFolder::MemoryFolder(const NarrowText& folder,
                           NarrowText read_only_reason)
    : folder_(folder), read_only_reason_(std::move(read_only_reason)) {
  for (MemoryFile file : kMemoryFiles) {
    const NarrowText path = DataFilePath(folder_, FileName(file));
    File& state = files_.emplace_back();
    // Taken before reading: a change while it is read shows at the save.
    state.identity = IdentityOf(path);
    state.exists = FileExists(path);
    if (state.exists) state.lines = FileLines(NarrowText(ReadFileBytes(path)));
  }
}

MemoryFolder MemoryFolder::OpenForEditing(const NarrowText& folder) {
  return MemoryFolder(folder, NarrowText());
}

MemoryFolder MemoryFolder::OpenReadOnly(const NarrowText& folder,
                                        NarrowText reason) {
  return MemoryFolder(folder, std::move(reason));
}

MemoryFolder::Identity MemoryFolder::IdentityOf(const NarrowText& path) {
  struct stat st;
  Identity identity;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return identity;
  identity.present = true;
  identity.device = st.st_dev;
  identity.inode = st.st_ino;
  identity.size = st.st_size;
  identity.modified_seconds = st.st_mtim.tv_sec;
  identity.modified_nanoseconds = st.st_mtim.tv_nsec;
  return identity;
}

MemoryFolder::File& MemoryFolder::FileOf(MemoryFile file) {
  return files_[static_cast<std::size_t>(file)];
}

const MemoryFolder::File& MemoryFolder::FileOf(MemoryFile file) const {
  return files_[static_cast<std::size_t>(file)];
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
  return NarrowText(lines.Text(0).substr(0, kProfileLineBytes));
}

std::vector<int32_t> MemoryFolder::FactLines(std::string_view key) const {
  std::vector<int32_t> found;
  const FileLines& lines = Lines(MemoryFile::kDictionary);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const std::optional<KeyAndValue> pair = SplitDictionaryLine(lines.Text(i));
    if (pair && pair->key == key) found.push_back(i + 1);
  }
  return found;
}

std::optional<int32_t> MemoryFolder::BrainLine(std::string_view key) const {
  const FileLines& lines = Lines(MemoryFile::kBrain);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (SplitBrainLine(lines.Text(i)).key == key) return i + 1;
  }
  return std::nullopt;
}

std::vector<int32_t> MemoryFolder::PhraseLines(std::string_view text) const {
  std::vector<int32_t> found;
  const FileLines& lines = Lines(MemoryFile::kPhrases);
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (lines.Text(i) == text) found.push_back(i + 1);
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
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (i + 1 != line && SplitBrainLine(lines.Text(i)).key == key) {
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
                     Quoted(key) + "の追加"_sj);
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
             Quoted(key) + "の変更"_sj);
}

ImportReport MemoryFolder::ImportFacts(std::string_view utf8) {
  CheckEditable();
  ImportReport report;
  // The first line of each key: in the file, or (negative) in the list.
  std::unordered_map<NarrowText, int32_t> keys;
  for (const Fact& fact : Facts()) keys.try_emplace(fact.key, fact.line);
  std::vector<NarrowText> added;
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  int32_t number = 0;
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
    const auto [at, fresh] = keys.try_emplace(key, -number);
    if (!fresh) {
      const int32_t taken = at->second;
      skip(taken < 0 ? Quoted(key) + "はこの一覧の "_sj + IntText(-taken) +
                           " 行目にもあります"_sj
                     : Taken(key, MemoryFile::kDictionary, taken));
      continue;
    }
    added.push_back(NarrowText(key) + "*" + text);
  }
  report.added = static_cast<int32_t>(added.size());
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
  const NarrowText what =
      Quoted(key) + "の意味"_sj + Quoted(definition) + "の追加"_sj;
  if (const std::optional<int32_t> line = BrainLine(key)) {
    const NarrowText value(
        SplitBrainLine(Lines(MemoryFile::kBrain).Text(*line - 1)).value);
    const NarrowText newest =
        WithNewestDefinition(value, NarrowText(definition));
    if (newest != value) {
      ChangeLine(MemoryFile::kBrain, *line,
                 NarrowText(key) + BrainSeparator() + newest, what);
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
             Quoted(key) + "の変更"_sj);
}

void MemoryFolder::RemoveDefinition(int32_t line, std::string_view definition) {
  CheckEditable();
  CheckLine(MemoryFile::kBrain, line);
  const KeyAndValue pair =
      SplitBrainLine(Lines(MemoryFile::kBrain).Text(line - 1));
  std::vector<NarrowText> definitions = SplitDefinitions(pair.value);
  const auto found =
      std::find(definitions.begin(), definitions.end(), definition);
  if (found == definitions.end()) {
    throw Error(LineName(MemoryFile::kBrain, line) + "に意味"_sj +
                Quoted(definition) + "はありません"_sj);
  }
  if (definitions.size() == 1) {
    RemoveLines(MemoryFile::kBrain, {line});
    return;
  }
  definitions.erase(found);
  ChangeLine(
      MemoryFile::kBrain, line,
      NarrowText(pair.key) + BrainSeparator() + JoinDefinitions(definitions),
      Quoted(pair.key) + "の意味"_sj + Quoted(definition) + "の削除"_sj);
}

int32_t MemoryFolder::AddPhrase(std::string_view text) {
  CheckEditable();
  Refuse(NotOneLine(text));
  if (text.empty()) throw Error("発言が空です"_sj);
  const std::vector<int32_t> taken = PhraseLines(text);
  if (!taken.empty())
    throw Error(Taken(text, MemoryFile::kPhrases, taken.front()));
  return AppendLines(MemoryFile::kPhrases, {NarrowText(text)},
                     Quoted(text) + "の追加"_sj);
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
                      IntText(static_cast<int32_t>(lines.size())) +
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
  if (name.size() > kProfileLineBytes) {
    throw Error("名前が長すぎます（4096 バイトまでです）"_sj);
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
    if (FileOf(file).unsaved > 0) unsaved.push_back(file);
  }
  return unsaved;
}

void MemoryFolder::Save() {
  CheckEditable();
  for (MemoryFile file : UnsavedFiles()) {
    File& state = FileOf(file);
    const NarrowText path = DataFilePath(folder_, FileName(file));
    if (IdentityOf(path) != state.identity) {
      throw Error(
          NarrowText(FileName(file)) +
          " は読み込んだ後にほかのプログラムが書き換えたので、保存しませんでした"_sj);
    }
    SaveFileAtomically(path, state.lines.Bytes());
    state.exists = true;
    state.identity = IdentityOf(path);
    state.unsaved = 0;
    std::erase_if(edits_,
                  [file](const Edit& edit) { return edit.file == file; });
  }
}

}  // namespace holvan::memory
