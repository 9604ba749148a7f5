#include "store/brain.h"

#include "store/line_forms.h"
#include "store/scans.h"

namespace holvan {

void BrainIndexes::Clear() {
  prefixes.Clear();
  substrings.Clear();
}

void BrainIndexes::Build(const StoredPairs& pairs, const StopFlag& stop) {
  prefixes.Build(pairs, stop);
  substrings.Build(pairs, stop);
}

void BrainIndexes::Insert(const StoredPairs& pairs, int32_t i) {
  prefixes.Insert(pairs, i);
  substrings.Insert(pairs, i);
}

Brain::Brain() : IndexedPairs(BrainSeparator()) {}

int32_t Brain::FindKeyStartingWith(std::string_view topic) const {
  const BrainIndexes* built = indexes();
  if (built == nullptr) return ScanForStartingWith(pairs(), topic);
  return built->prefixes.FirstStartingWith(pairs(), topic);
}

void Brain::ForEachKeyIn(std::u16string_view line,
                         const std::function<bool(int32_t)>& visit) const {
  const BrainIndexes* built = indexes();
  if (built == nullptr) {
    ScanForKeysIn(pairs(), line, visit);
    return;
  }
  built->substrings.ForEachKeyIn(pairs(), line, visit);
}

}  // namespace holvan
