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

bool PhraseLog::Contains(std::string_view line) const {
  if (lookup_ == Lookup::kScan) return ScanForEqual(lines_, line) >= 0;
  return index_.Find(LineOf(lines_), line) >= 0;
}

void PhraseLog::Add(std::string_view line) {
  const int32_t i = lines_.Add(line);
  if (lookup_ == Lookup::kScan) return;
  ChangeIndexes(lookup_, index_, [&] { index_.Insert(LineOf(lines_), i); });
}

void PhraseLog::SetLookup(Lookup lookup) {
  lookup_ = lookup;
  Reindex();
}

void PhraseLog::LoadFromFile(const NarrowText& path) {
  lines_.Load(ReadStoreFile(path));
  Reindex();
}

void PhraseLog::Reindex() {
  index_.Clear();
  if (lookup_ == Lookup::kScan) return;
  ChangeIndexes(lookup_, index_,
                [&] { index_.Build(lines_.Count(), LineOf(lines_)); });
}

}  // namespace holvan
