#include "memory/check.h"
#include "memory/export.h"
#include "memory_cli/commands.h"
#include "memory_cli/given_text.h"
#include "memory_cli/output.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan::memory_cli {
namespace {

using memory::MemoryFile;
using memory::MemoryFolder;
using namespace holvan::literals;

/// Prints "LINE<TAB>field<TAB>field...".
void SayFields(int32_t line, std::initializer_list<std::string_view> fields,
               const std::vector<NarrowText>& more = {}) {
  const NarrowText number = IntText(line);
  std::vector<std::string_view> columns = {number};
  columns.insert(columns.end(), fields.begin(), fields.end());
  columns.insert(columns.end(), more.begin(), more.end());
  SayColumns(columns);
}

void List(const MemoryFolder& memory, const Request& request) {
  const NarrowText containing =
      request.grep ? Given(*request.grep) : NarrowText();
  switch (request.listed) {
    case MemoryFile::kDictionary:
      for (const memory::Fact& fact : memory.Facts(containing)) {
        SayFields(fact.line, {fact.key, fact.text});
      }
      break;
    case MemoryFile::kBrain:
      for (const memory::BrainEntry& entry : memory.BrainEntries(containing)) {
        SayFields(entry.line, {entry.key}, entry.definitions);
      }
      break;
    case MemoryFile::kPhrases:
      for (const memory::Phrase& phrase : memory.Phrases(containing)) {
        SayFields(phrase.line, {phrase.text});
      }
      break;
    default:
      if (memory.Lines(MemoryFile::kProfile).Count() > 0 &&
          (containing.empty() || WidePos(containing, memory.UserName()) > 0)) {
        SayFields(1, {memory.UserName()});
      }
      break;
  }
}

int Check(const MemoryFolder& memory) {
  const std::vector<memory::Problem> problems = memory::CheckMemory(memory);
  for (const memory::Problem& problem : problems) {
    Say(memory::ProblemText(problem));
  }
  if (problems.empty()) {
    Say("問題はありません"_sj);
    return kDone;
  }
  Say("問題が "_sj + IntText(static_cast<int64_t>(problems.size())) +
      " 件あります"_sj);
  return kProblemsFound;
}

}  // namespace

int Look(const MemoryFolder& memory, const Request& request) {
  switch (request.command) {
    case Command::kList:
      List(memory, request);
      return kDone;
    case Command::kCheck:
      return Check(memory);
    default: {
      const std::string& folder = request.arguments[0];
      const std::vector<std::string> written =
          memory::ExportUtf8(memory, folder);
      NarrowText names;
      for (const std::string& name : written) names += " " + name;
      Say(Utf8ToNarrow(folder) + " に書きました:"_sj + names);
      return kDone;
    }
  }
}

}  // namespace holvan::memory_cli
