#include "store/phrase_log.h"

#include "store/scans.h"
#include "store/stored_text.h"

namespace holvan {
namespace {

// The line at a position, as the index asks for it.
auto LineOf(const StoredLines& lines) {
  return [&lines](int32_t i) { return lines.Get(i); };
}

}  // namespace

auto PhraseLog::Build() const {
  return [this](FirstIndexTable& index, const StopFlag& stop) {
    index.Build(lines_.Count(), LineOf(lines_), stop);
  };
}

bool PhraseLog::Contains(std::string_view line) const {
  const FirstIndexTable* index = index_.Use(Build());
  if (index == nullptr) return ScanForEqual(lines_, line) >= 0;
  return index->Find(LineOf(lines_), line) >= 0;
}

void PhraseLog::Add(std::string_view line) {
  index_.Settle();
  const int32_t i = lines_.Add(line);
  index_.Insert(
      [&](FirstIndexTable& index) { index.Insert(LineOf(lines_), i); });
}

void PhraseLog::LoadFromFile(const NarrowText& path) {
  FileBytes file = ReadStoreFile(path);
  index_.Drop();
  lines_.Load(std::move(file));
}

void PhraseLog::IndexBeside() { index_.BuildBeside(Build()); }

}  // namespace holvan
