#include "store/brain.h"

#include "store/growth_room.h"
#include "store/scans.h"

namespace holvan {

void Brain::Add(NarrowText key, NarrowText value) {
  const int32_t i = keys_.Add(std::move(key));
  values_.Add(std::move(value));
  if (lookup_ == Lookup::kScan) return;
  prefixes_.Insert(keys_.entries(), i);
  substrings_.Insert(keys_.entries(), i);
}

void Brain::Assign(std::vector<NarrowText> keys,
                   std::vector<NarrowText> values) {
  keys.reserve(GrowthRoom(keys.size()));
  values.reserve(GrowthRoom(values.size()));
  keys_.Assign(std::move(keys));
  values_.Assign(std::move(values));
  Reindex();
}

void Brain::SetValue(int32_t i, NarrowText value) {
  values_.Put(i, std::move(value));
}

void Brain::Clear() {
  keys_.Clear();
  values_.Clear();
  Reindex();
}

void Brain::SetLookup(Lookup lookup) {
  lookup_ = lookup;
  Reindex();
}

void Brain::Reindex() {
  prefixes_.Clear();
  substrings_.Clear();
  if (lookup_ == Lookup::kScan) return;
  prefixes_.Build(keys_.entries());
  substrings_.Build(keys_.entries());
}

int32_t Brain::FindKeyStartingWith(std::string_view topic) const {
  if (lookup_ == Lookup::kScan)
    return ScanForStartingWith(keys_.entries(), topic);
  return prefixes_.FirstStartingWith(keys_.entries(), topic);
}

void Brain::ForEachKeyIn(std::u16string_view line,
                         const std::function<bool(int32_t)>& visit) const {
  if (lookup_ == Lookup::kScan) {
    ScanForKeysIn(keys_.entries(), line, visit);
    return;
  }
  substrings_.ForEachKeyIn(keys_.entries(), line, visit);
}

}  // namespace holvan
