#include "store/brain.h"

#include "store/line_forms.h"
#include "store/scans.h"

namespace holvan {

void BrainIndexes::Clear() {
  prefixes.Clear();
  substrings.Clear();
}

void BrainIndexes::Build(const StoredPairs& pairs) {
  prefixes.Build(pairs);
  substrings.Build(pairs);
}

void BrainIndexes::Insert(const StoredPairs& pairs, int32_t i) {
  prefixes.Insert(pairs, i);
  substrings.Insert(pairs, i);
}

Brain::Brain() : IndexedPairs(BrainSeparator()) {}

int32_t Brain::FindKeyStartingWith(std::string_view topic) const {
  if (scans()) return ScanForStartingWith(pairs(), topic);
  return indexes().prefixes.FirstStartingWith(pairs(), topic);
}

void Brain::ForEachKeyIn(std::u16string_view line,
                         const std::function<bool(int32_t)>& visit) const {
  if (scans()) {
    ScanForKeysIn(pairs(), line, visit);
    return;
  }
  indexes().substrings.ForEachKeyIn(pairs(), line, visit);
}

}  // namespace holvan
