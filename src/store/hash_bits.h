#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace holvan {

/// A set of 32-bit hashes kept as one bit each: a quick "certainly not" before
/// a slower look, since a hash never added mostly finds its bit clear.
class HashBits {
 public:
  /// Empties the set and sizes it for n hashes at about bits_per_hash bits
  /// each.
  void Size(std::size_t n, std::size_t bits_per_hash) {
    words_.assign(std::bit_ceil(n * bits_per_hash / 64 + 1), 0);
    room_ = words_.size() * 64 / bits_per_hash;
    added_ = 0;
  }
  void Clear() {
    words_.clear();
    words_.shrink_to_fit();
    room_ = 0;
    added_ = 0;
  }
  void Add(uint32_t hash) {
    const std::size_t bit = hash & (words_.size() * 64 - 1);
    words_[bit / 64] |= uint64_t{1} << (bit % 64);
    ++added_;
  }
  /// False when hash was certainly never added.
  bool MayHold(uint32_t hash) const {
    const std::size_t bit = hash & (words_.size() * 64 - 1);
    return words_[bit / 64] >> (bit % 64) & 1;
  }
  /// True when n more hashes would fill the set past its size.
  bool WouldFill(std::size_t n) const { return added_ + n > room_; }
  std::size_t added() const { return added_; }

 private:
  std::vector<uint64_t> words_;
  std::size_t room_ = 0;
  std::size_t added_ = 0;
};

}  // namespace holvan
