#include "store/phrase_log.h"

#include "files/read_file.h"
#include "store/growth_room.h"
#include "store/scans.h"
#include "text/line_breaks.h"

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

void PhraseLog::SetLookup(Lookup lookup) {
  lookup_ = lookup;
  Reindex();
}

void PhraseLog::LoadFromFile(const NarrowText& path) {
  const NarrowText bytes = ReadFileBytes(path);
  std::vector<NarrowText> lines;
  lines.reserve(GrowthRoom(CountLineFeeds(bytes)));
  ForEachLine(UpToZero(bytes), [&lines](std::string_view line, bool) {
    lines.emplace_back(line);
  });
  entries_.Assign(std::move(lines));
  Reindex();
}

void PhraseLog::Reindex() {
  index_.Clear();
  if (lookup_ == Lookup::kIndexed) index_.Build(entries_.entries());
}

}  // namespace holvan
