#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "store/hash_slots.h"
#include "text/narrow_text.h"

namespace holvan {

/// A hash table from a key's bytes to the first position that holds it in a
/// list of keys kept by the caller, who passes the list to every call.
class FirstIndexTable {
 public:
  /// Forgets every key.
  void Clear() { slots_.Clear(); }
  /// Indexes every entry of keys, replacing what was indexed before.
  void Build(const std::vector<NarrowText>& keys);
  /// Indexes keys[i], the newest entry; an equal older key keeps its place.
  void Insert(const std::vector<NarrowText>& keys, int32_t i);
  /// The first position of key in keys, or -1.
  int32_t Find(const std::vector<NarrowText>& keys, std::string_view key) const;

 private:
  HashSlots slots_;
};

}  // namespace holvan
