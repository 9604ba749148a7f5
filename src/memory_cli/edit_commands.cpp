#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "errors/error.h"
#include "files/read_file.h"
#include "memory/backup_scrub.h"
#include "memory/user_text.h"
#include "memory/wording.h"
#include "memory_cli/commands.h"
#include "memory_cli/given_text.h"
#include "memory_cli/output.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory_cli {
namespace {

using memory::FromUser;
using memory::InCornerBrackets;
using memory::LineName;
using memory::MemoryFile;
using memory::MemoryFolder;
using namespace holvan::literals;

/// "「key」は dic.dat にありません"
Error Missing(std::string_view text, MemoryFile file) {
  return Error(InCornerBrackets(text) + "は "_sj +
               NarrowText(memory::FileName(file)) + " にありません"_sj);
}

/// "12、40 行目"
NarrowText LineNumbers(const std::vector<int32_t>& lines) {
  NarrowText text;
  for (int32_t line : lines) {
    if (!text.empty()) text += "、"_sj;
    text += IntText(line);
  }
  return text + " 行目"_sj;
}

/// All of standard input.
NarrowText ReadStandardInput() {
  NarrowText bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n == 0) return bytes;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw OpenError("-", errno);
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

std::vector<NarrowText> RemoveLine(MemoryFolder& memory, MemoryFile file,
                                   int32_t line) {
  memory.RemoveLines(file, {line});
  return {LineName(file, line) + "を消しました"_sj};
}

/// Removes line --line of file, or every line that lines_of finds for the
/// text argument.
std::vector<NarrowText> RemoveFound(
    MemoryFolder& memory, const Request& request, MemoryFile file,
    std::vector<int32_t> (MemoryFolder::*lines_of)(std::string_view) const) {
  if (request.line) return RemoveLine(memory, file, *request.line);
  const NarrowText text = Given(request.arguments[0]);
  const std::vector<int32_t> lines = (memory.*lines_of)(text);
  if (lines.empty()) throw Missing(text, file);
  memory.RemoveLines(file, lines);
  return {NarrowText(memory::FileName(file)) + " から"_sj +
          InCornerBrackets(text) + "を消しました（"_sj + LineNumbers(lines) +
          "）"_sj};
}

/// remove phrase, as RemoveFound does in res.dat; the phrases for the backups
/// are the texts of the lines removed, or the text asked for when res.dat has
/// none, and none at all with --keep-in-backups.
Edited RemovePhrase(MemoryFolder& memory, const Request& request) {
  const memory::FileLines& log = memory.Lines(MemoryFile::kPhrases);
  const std::vector<int32_t> lines =
      request.line ? std::vector<int32_t>{*request.line}
                   : memory.PhraseLines(FromUser(request.arguments[0]));
  if (lines.empty() && !request.keep_in_backups) {
    return {{}, {FromUser(request.arguments[0])}};
  }
  std::vector<NarrowText> phrases;
  for (int32_t line : lines) {
    if (line > log.Count()) break;
    NarrowText text(log.Text(line - 1));
    if (std::find(phrases.begin(), phrases.end(), text) == phrases.end()) {
      phrases.push_back(std::move(text));
    }
  }
  std::vector<NarrowText> said = RemoveFound(
      memory, request, MemoryFile::kPhrases, &MemoryFolder::PhraseLines);
  if (request.keep_in_backups) phrases.clear();
  return {std::move(said), std::move(phrases)};
}

std::vector<NarrowText> ChangeFact(MemoryFolder& memory,
                                   const Request& request) {
  const NarrowText key = Given(request.arguments[0]);
  const NarrowText text = Given(request.arguments[1]);
  int32_t line = request.line.value_or(0);
  if (!request.line) {
    const std::vector<int32_t> lines = memory.FactLines(key);
    if (lines.empty()) throw Missing(key, MemoryFile::kDictionary);
    line = lines.front();
  }
  memory.ChangeFact(line, key, text);
  return {LineName(MemoryFile::kDictionary, line) + "を"_sj +
          InCornerBrackets(key) + "の事柄に書き換えました"_sj};
}

std::vector<NarrowText> AddDefinition(MemoryFolder& memory,
                                      const Request& request) {
  const NarrowText key = Given(request.arguments[0]);
  const NarrowText definition = Given(request.arguments[1]);
  const int32_t line = memory.AddDefinition(key, definition);
  if (memory.UnsavedFiles().empty()) {
    return {InCornerBrackets(key) + "の一番新しい意味はもう"_sj +
            InCornerBrackets(definition) + "です"_sj};
  }
  return {LineName(MemoryFile::kBrain, line) + "の"_sj + InCornerBrackets(key) +
          "に意味"_sj + InCornerBrackets(definition) + "を加えました"_sj};
}

std::vector<NarrowText> RemoveDefinition(MemoryFolder& memory,
                                         const Request& request) {
  if (request.line)
    return RemoveLine(memory, MemoryFile::kBrain, *request.line);
  const NarrowText key = Given(request.arguments[0]);
  const std::optional<int32_t> line = memory.BrainLine(key);
  if (!line) throw Missing(key, MemoryFile::kBrain);
  if (request.all) {
    memory.RemoveLines(MemoryFile::kBrain, {*line});
    return {LineName(MemoryFile::kBrain, *line) + "の"_sj +
            InCornerBrackets(key) + "を消しました"_sj};
  }
  const NarrowText definition = Given(request.arguments[1]);
  const int32_t lines = memory.Lines(MemoryFile::kBrain).Count();
  memory.RemoveDefinition(*line, definition);
  NarrowText said = InCornerBrackets(key) + "の意味"_sj +
                    InCornerBrackets(definition) + "を消しました"_sj;
  if (memory.Lines(MemoryFile::kBrain).Count() < lines) {
    said += "（最後の意味だったので、言葉ごと消しました）"_sj;
  }
  return {said};
}

/// Adds the lines of the file; those left out are told on standard error.
Edited Import(MemoryFolder& memory, const Request& request) {
  const std::string& file = request.arguments[0];
  const memory::ImportReport report = memory.ImportFacts(
      file == "-" ? ReadStandardInput() : NarrowText(ReadFileBytes(file)));
  for (const memory::ReplacedLine& replaced : report.replaced) {
    Notify(std::to_string(replaced.line) + " 行目: " + replaced.notice);
  }
  for (const memory::SkippedLine& skipped : report.skipped) {
    Complain(IntText(skipped.line) + " 行目: "_sj + skipped.reason);
  }
  Edited edited;
  edited.said.push_back("dic.dat に "_sj + IntText(report.added) +
                        " 件加えました。"_sj +
                        IntText(static_cast<int64_t>(report.skipped.size())) +
                        " 行は加えませんでした"_sj);
  edited.left_out = !report.skipped.empty();
  return edited;
}

}  // namespace

Edited Edit(MemoryFolder& memory, const Request& request) {
  switch (request.command) {
    case Command::kAddFact: {
      const NarrowText key = Given(request.arguments[0]);
      const int32_t line = memory.AddFact(key, Given(request.arguments[1]));
      return {{LineName(MemoryFile::kDictionary, line) + "に"_sj +
               InCornerBrackets(key) + "を加えました"_sj}};
    }
    case Command::kChangeFact:
      return {ChangeFact(memory, request)};
    case Command::kRemoveFact:
      return {RemoveFound(memory, request, MemoryFile::kDictionary,
                          &MemoryFolder::FactLines)};
    case Command::kAddDefinition:
      return {AddDefinition(memory, request)};
    case Command::kRemoveDefinition:
      return {RemoveDefinition(memory, request)};
    case Command::kRemovePhrase:
      return RemovePhrase(memory, request);
    case Command::kRename: {
      const NarrowText name = Given(request.arguments[0]);
      memory.SetUserName(name);
      return {{"名前を"_sj + InCornerBrackets(name) + "にしました"_sj}};
    }
    case Command::kImport:
      return Import(memory, request);
    default:
      return {};
  }
}

void RemoveFromBackups(const std::optional<std::string>& root,
                       const Edited& edited) {
  const bool in_file = !edited.said.empty();
  const NarrowText& asked = edited.phrases.front();
  if (!root) {
    if (!in_file) throw Missing(asked, MemoryFile::kPhrases);
    Say("バックアップの場所（--backups）がわからないので、バックアップからは消していません"_sj);
    return;
  }
  const memory::PhrasesRemoved removed =
      memory::RemovePhrasesFromBackups(*root, edited.phrases);
  const NarrowText count = std::to_string(removed.backups);
  if (in_file) {
    Say(removed.backups > 0
            ? "バックアップ "_sj + count + " 個からも消しました"_sj
            : "バックアップにはありませんでした"_sj);
  } else if (removed.backups > 0) {
    Say(InCornerBrackets(asked) +
        "は res.dat にはありませんでしたが、バックアップ "_sj + count +
        " 個から消しました"_sj);
  }
  if (!removed.left.empty()) {
    NarrowText names;
    for (const std::string& name : removed.left) {
      if (!names.empty()) names += "、"_sj;
      names += Utf8ToNarrow(name);
    }
    Say("Holvan のバックアップの印がないか、ほかのものも入っているフォルダには残っています（変えていません）: "_sj +
        names);
  }
  if (!in_file && removed.backups == 0) {
    throw Missing(asked, MemoryFile::kPhrases);
  }
}

}  // namespace holvan::memory_cli
