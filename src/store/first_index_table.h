#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/narrow_text.h"

namespace holvan {

/// A hash table from a key's bytes to the first position that holds it in a
/// list of keys kept by the caller, who passes the list to every call.
class FirstIndexTable {
 public:
  /// Forgets every key.
  void Clear();
  /// Indexes every entry of keys, replacing what was indexed before.
  void Build(const std::vector<NarrowText>& keys);
  /// Indexes keys[i], the newest entry; an equal older key keeps its place.
  void Insert(const std::vector<NarrowText>& keys, int32_t i);
  /// The first position of key in keys, or -1.
  int32_t Find(const std::vector<NarrowText>& keys, std::string_view key) const;

 private:
  struct Slot {
    uint32_t hash = 0;
    int32_t index = -1;
  };

  /// The slot that holds key, or the empty slot where it would go.
  std::size_t Probe(const std::vector<NarrowText>& keys, std::string_view key,
                    uint32_t hash) const;
  /// Makes room for n keys at most three quarters full.
  void Reserve(std::size_t n);

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace holvan
