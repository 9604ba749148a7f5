#include "store/phrase_log.h"

#include "store/scans.h"

namespace holvan {

bool PhraseLog::Contains(std::string_view line) const {
  if (lookup_ == Lookup::kScan)
    return ScanForEqual(entries_.entries(), line) >= 0;
  return index_.Find(entries_.entries(), line) >= 0;
}

void PhraseLog::Add(NarrowText line) {
  const int32_t i = entries_.Add(std::move(line));
  if (lookup_ == Lookup::kIndexed) index_.Insert(entries_.entries(), i);
}

void PhraseLog::Clear() {
  entries_.Clear();
  Reindex();
}

void PhraseLog::SetLookup(Lookup lookup) {
  lookup_ = lookup;
  Reindex();
}

void PhraseLog::LoadFromFile(const NarrowText& path) {
  entries_.LoadFromFile(path);
  Reindex();
}

void PhraseLog::Reindex() {
  index_.Clear();
  if (lookup_ == Lookup::kIndexed) index_.Build(entries_.entries());
}

}  // namespace holvan
