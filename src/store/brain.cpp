#include "store/brain.h"

#include "store/scans.h"

namespace holvan {

void BrainIndexes::Clear() {
  prefixes.Clear();
  substrings.Clear();
}

void BrainIndexes::Build(const std::vector<NarrowText>& keys) {
  prefixes.Build(keys);
  substrings.Build(keys);
}

void BrainIndexes::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  prefixes.Insert(keys, i);
  substrings.Insert(keys, i);
}

int32_t Brain::FindKeyStartingWith(std::string_view topic) const {
  if (scans()) return ScanForStartingWith(keys(), topic);
  return indexes().prefixes.FirstStartingWith(keys(), topic);
}

void Brain::ForEachKeyIn(std::u16string_view line,
                         const std::function<bool(int32_t)>& visit) const {
  if (scans()) {
    ScanForKeysIn(keys(), line, visit);
    return;
  }
  indexes().substrings.ForEachKeyIn(keys(), line, visit);
}

}  // namespace holvan
