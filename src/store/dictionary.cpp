#include "store/dictionary.h"

#include "store/growth_room.h"
#include "store/scans.h"

namespace holvan {

void Dictionary::Add(NarrowText key, NarrowText value) {
  const int32_t i = keys_.Add(std::move(key));
  values_.Add(std::move(value));
  if (lookup_ == Lookup::kIndexed) index_.Insert(keys_.entries(), i);
}

void Dictionary::Assign(std::vector<NarrowText> keys,
                        std::vector<NarrowText> values) {
  keys.reserve(GrowthRoom(keys.size()));
  values.reserve(GrowthRoom(values.size()));
  keys_.Assign(std::move(keys));
  values_.Assign(std::move(values));
  Reindex();
}

void Dictionary::Clear() {
  keys_.Clear();
  values_.Clear();
  Reindex();
}

void Dictionary::SetLookup(Lookup lookup) {
  lookup_ = lookup;
  Reindex();
}

void Dictionary::Reindex() {
  index_.Clear();
  if (lookup_ == Lookup::kIndexed) index_.Build(keys_.entries());
}

int32_t Dictionary::Find(std::string_view key) const {
  if (lookup_ == Lookup::kScan) return ScanForEqual(keys_.entries(), key);
  return index_.Find(keys_.entries(), key);
}

}  // namespace holvan
