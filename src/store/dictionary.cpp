#include "store/dictionary.h"

#include "store/scans.h"

namespace holvan {
namespace {

// The key at a position, as the index asks for it.
auto KeyOf(const StoredPairs& pairs) {
  return [&pairs](int32_t i) { return pairs.Key(i); };
}

}  // namespace

void DictionaryIndex::Build(const StoredPairs& pairs, const StopFlag& stop) {
  table.Build(pairs.Count(), KeyOf(pairs), stop);
}

void DictionaryIndex::Insert(const StoredPairs& pairs, int32_t i) {
  table.Insert(KeyOf(pairs), i);
}

Dictionary::Dictionary() : IndexedPairs("*") {}

int32_t Dictionary::Find(std::string_view key) const {
  const DictionaryIndex* built = indexes();
  if (built == nullptr) return ScanForEqual(pairs(), key);
  return built->table.Find(KeyOf(pairs()), key);
}

}  // namespace holvan
