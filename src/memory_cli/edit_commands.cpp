#include <unistd.h>

#include <cerrno>

#include "errors/error.h"
#include "files/read_file.h"
#include "memory/wording.h"
#include "memory_cli/commands.h"
#include "memory_cli/given_text.h"
#include "memory_cli/output.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan::memory_cli {
namespace {

using memory::LineName;
using memory::MemoryFile;
using memory::MemoryFolder;
using memory::Quoted;
using namespace holvan::literals;

/// "「key」は dic.dat にありません"
Error Missing(std::string_view text, MemoryFile file) {
  return Error(Quoted(text) + "は "_sj + NarrowText(memory::FileName(file)) +
               " にありません"_sj);
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
      throw OpenError("-");
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
  return {NarrowText(memory::FileName(file)) + " から"_sj + Quoted(text) +
          "を消しました（"_sj + LineNumbers(lines) + "）"_sj};
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
  return {LineName(MemoryFile::kDictionary, line) + "を"_sj + Quoted(key) +
          "の事柄に書き換えました"_sj};
}

std::vector<NarrowText> AddDefinition(MemoryFolder& memory,
                                      const Request& request) {
  const NarrowText key = Given(request.arguments[0]);
  const NarrowText definition = Given(request.arguments[1]);
  const int32_t line = memory.AddDefinition(key, definition);
  if (memory.UnsavedFiles().empty()) {
    return {Quoted(key) + "の一番新しい意味はもう"_sj + Quoted(definition) +
            "です"_sj};
  }
  return {LineName(MemoryFile::kBrain, line) + "の"_sj + Quoted(key) +
          "に意味"_sj + Quoted(definition) + "を加えました"_sj};
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
    return {LineName(MemoryFile::kBrain, *line) + "の"_sj + Quoted(key) +
            "を消しました"_sj};
  }
  const NarrowText definition = Given(request.arguments[1]);
  const int32_t lines = memory.Lines(MemoryFile::kBrain).Count();
  memory.RemoveDefinition(*line, definition);
  NarrowText said =
      Quoted(key) + "の意味"_sj + Quoted(definition) + "を消しました"_sj;
  if (memory.Lines(MemoryFile::kBrain).Count() < lines) {
    said += "（最後の意味だったので、言葉ごと消しました）"_sj;
  }
  return {said};
}

std::vector<NarrowText> Import(MemoryFolder& memory, const Request& request) {
  const std::string& file = request.arguments[0];
  const memory::ImportReport report = memory.ImportFacts(
      file == "-" ? ReadStandardInput() : NarrowText(ReadFileBytes(file)));
  for (const memory::ReplacedLine& replaced : report.replaced) {
    Notify(std::to_string(replaced.line) + " 行目: " + replaced.notice);
  }
  std::vector<NarrowText> said;
  for (const memory::SkippedLine& skipped : report.skipped) {
    said.push_back(IntText(skipped.line) + " 行目: "_sj + skipped.reason);
  }
  said.push_back("dic.dat に "_sj + IntText(report.added) +
                 " 件加えました。"_sj +
                 IntText(static_cast<int64_t>(report.skipped.size())) +
                 " 行は加えませんでした"_sj);
  return said;
}

}  // namespace

std::vector<NarrowText> Edit(MemoryFolder& memory, const Request& request) {
  switch (request.command) {
    case Command::kAddFact: {
      const NarrowText key = Given(request.arguments[0]);
      const int32_t line = memory.AddFact(key, Given(request.arguments[1]));
      return {LineName(MemoryFile::kDictionary, line) + "に"_sj + Quoted(key) +
              "を加えました"_sj};
    }
    case Command::kChangeFact:
      return ChangeFact(memory, request);
    case Command::kRemoveFact:
      return RemoveFound(memory, request, MemoryFile::kDictionary,
                         &MemoryFolder::FactLines);
    case Command::kAddDefinition:
      return AddDefinition(memory, request);
    case Command::kRemoveDefinition:
      return RemoveDefinition(memory, request);
    case Command::kRemovePhrase:
      return RemoveFound(memory, request, MemoryFile::kPhrases,
                         &MemoryFolder::PhraseLines);
    case Command::kRename: {
      const NarrowText name = Given(request.arguments[0]);
      memory.SetUserName(name);
      return {"名前を"_sj + Quoted(name) + "にしました"_sj};
    }
    case Command::kImport:
      return Import(memory, request);
    default:
      return {};
  }
}

}  // namespace holvan::memory_cli
