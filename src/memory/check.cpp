#include "memory/check.h"

#include <string_view>
#include <vector>

#include "memory/key_rules.h"
#include "memory/wording.h"
#include "store/first_index_table.h"
#include "store/line_forms.h"
#include "store/profile.h"
#include "text/cp932_decode.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

// The key of the line at a position, for the table of first lines.
struct KeyAtLine {
  std::string_view operator()(int32_t at) const {
    return keys[static_cast<std::size_t>(at)];
  }
  const std::vector<std::string_view>& keys;
};

/// Collects the problems of one file.
class FileCheck {
 public:
  FileCheck(const MemoryFolder& memory, MemoryFile file,
            std::vector<Problem>& problems)
      : lines_(memory.Lines(file)),
        file_(file),
        problems_(problems),
        keys_(static_cast<std::size_t>(lines_.Count())) {}

  const FileLines& lines() const { return lines_; }

  void Report(int32_t line, NarrowText message) {
    problems_.push_back({file_, line, std::move(message)});
  }

  /// Reports the first byte of each line that starts no character.
  void Bytes() {
    for (int32_t i = 0; i < lines_.Count(); ++i) {
      const std::string_view text = lines_.Text(i);
      for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        if (!IsEscapedByte(UnitAt(text, at))) continue;
        Report(i + 1, "コードページ 932 の文字ではないバイト "_sj +
                          HexByte(static_cast<unsigned char>(text[start])) +
                          " があります（"_sj +
                          IntText(static_cast<int64_t>(start + 1)) +
                          " バイト目）"_sj);
        break;
      }
    }
  }

  /// Reports a zero byte, on the line where it stands.
  void ZeroByte() {
    if (lines_.Unread().empty()) return;
    const int32_t count = lines_.Count();
    const bool own_line = count == 0 || !lines_.At(count - 1).end.empty();
    Report(own_line ? count + 1 : count,
           "ゼロのバイトがあります: ここから後の "_sj +
               IntText(static_cast<int64_t>(lines_.Unread().size())) +
               " バイトは Holvan に読まれません"_sj);
  }

  /// Notes the key of a line, for RepeatedKeys.
  void NoteKey(int32_t line, std::string_view key) {
    keys_[static_cast<std::size_t>(line - 1)] = key;
  }
  /// Reports each noted key but the first of those equal to it, with
  /// message(key, line of the first); empty keys are passed over.
  template <typename Message>
  void RepeatedKeys(Message message) {
    FirstIndexTable first_lines;
    const StopFlag never(false);
    first_lines.Build(static_cast<int32_t>(keys_.size()), KeyAtLine{keys_},
                      never, [&](int32_t at, int32_t first) {
                        const std::string_view key =
                            keys_[static_cast<std::size_t>(at)];
                        if (!key.empty())
                          Report(at + 1, message(key, first + 1));
                      });
  }

 private:
  static NarrowText HexByte(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {'0', 'x', kDigits[byte >> 4], kDigits[byte & 0xF]};
  }

  const FileLines& lines_;
  MemoryFile file_;
  std::vector<Problem>& problems_;
  // The key of each line (empty for a line without one), as a view of the
  // line, which outlives the check.
  std::vector<std::string_view> keys_;
};

void CheckDictionary(FileCheck& check) {
  const FileLines& lines = check.lines();
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const std::optional<KeyAndValue> pair = SplitDictionaryLine(lines.Text(i));
    if (!pair) {
      if (std::optional<NarrowText> reason =
              UnreadableReason(MemoryFile::kDictionary, lines.Text(i))) {
        check.Report(i + 1, std::move(*reason));
      }
      continue;
    }
    if (std::optional<NarrowText> unaskable = Unaskable(pair->key)) {
      check.Report(i + 1, *unaskable);
    }
    check.NoteKey(i + 1, pair->key);
  }
  check.RepeatedKeys([](std::string_view key, int32_t first) {
    return InCornerBrackets(key) + "は "_sj + IntText(first) +
           " 行目と同じ言葉なので、答えに使われません"_sj;
  });
}

void CheckBrain(FileCheck& check) {
  const FileLines& lines = check.lines();
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Text(i);
    const KeyAndValue pair = SplitBrainLine(line);
    if (std::optional<NarrowText> reason =
            UnreadableReason(MemoryFile::kBrain, line)) {
      check.Report(i + 1, std::move(*reason));
      continue;
    }
    if (SplitBrainLine(pair.value).value.size() != pair.value.size()) {
      check.Report(i + 1,
                   "「＝」が 2 つ以上あります: 言葉は最初の「＝」"
                   "までの"_sj +
                       InCornerBrackets(pair.key) + "として読まれます"_sj);
    }
    check.NoteKey(i + 1, pair.key);
  }
  check.RepeatedKeys([](std::string_view key, int32_t first) {
    return InCornerBrackets(key) + "は "_sj + IntText(first) +
           " 行目と同じ言葉です"_sj;
  });
}

void CheckPhrases(FileCheck& check) {
  const FileLines& lines = check.lines();
  for (int32_t i = 0; i < lines.Count(); ++i) {
    check.NoteKey(i + 1, lines.Text(i));
  }
  check.RepeatedKeys([](std::string_view, int32_t first) {
    return IntText(first) + " 行目と同じ発言です"_sj;
  });
}

// The numbers are read only when line 2 holds something; one that is no
// integer is read as its default.
void CheckProfile(FileCheck& check) {
  const FileLines& lines = check.lines();
  if (lines.Count() < 2 || lines.Text(1).empty()) return;
  for (int32_t i = 1; i < std::min(lines.Count(), kProfileLines); ++i) {
    const std::string_view text = lines.Text(i);
    const int32_t fallback = ProfileNumberDefault(i);
    if (ParseIntOr(text, 0) != ParseIntOr(text, 1)) {
      check.Report(i + 1, InCornerBrackets(text) + "は整数ではないので、"_sj +
                              IntText(fallback) + " として読まれます"_sj);
    }
  }
  if (lines.Count() < kProfileLines) {
    // Line 2 is there: the lines missing hold counters.
    check.Report(lines.Count() + 1,
                 "行が足りません: "_sj +
                     NarrowText(FileName(MemoryFile::kProfile)) + " は "_sj +
                     IntText(kProfileLines) + " 行で、ない行の数は "_sj +
                     IntText(ProfileNumberDefault(kProfileLines - 1)) +
                     " として読まれます"_sj);
  }
}

}  // namespace

std::vector<Problem> CheckMemory(const MemoryFolder& memory) {
  std::vector<Problem> problems;
  for (MemoryFile file : kMemoryFiles) {
    FileCheck check(memory, file, problems);
    check.Bytes();
    // The diary is free text: it has no form to check.
    static constexpr void (*kForms[])(FileCheck&) = {
        CheckDictionary, CheckBrain, CheckPhrases, CheckProfile, nullptr};
    if (auto form = kForms[static_cast<std::size_t>(file)]) form(check);
    check.ZeroByte();
  }
  // Line by line within a file.
  std::stable_sort(
      problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
        return a.file < b.file || (a.file == b.file && a.line < b.line);
      });
  return problems;
}

NarrowText ProblemText(const Problem& problem) {
  return NarrowText(FileName(problem.file)) + " "_sj + IntText(problem.line) +
         " 行目: "_sj + problem.message;
}

}  // namespace holvan::memory
