#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace holvan {

/// Two sets of 32-bit hashes, A and B, kept as one bit each in a shared
/// table: a quick "certainly not" before a slower look, since a hash never
/// added mostly finds its bit clear. A hash's two bits lie in one word, so
/// asking both sets about it reads memory once.
class HashBits {
 public:
  /// Which of the two sets.
  enum Set { kA, kB };

  /// Empties both sets and sizes them for n hashes in all at about
  /// bits_per_hash bits each.
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
  void Add(Set set, uint32_t hash) {
    words_[hash & (words_.size() - 1)] |= Bit(set, hash);
    ++added_;
  }
  /// False when hash was certainly never added to set.
  bool MayHold(Set set, uint32_t hash) const {
    return (words_[hash & (words_.size() - 1)] & Bit(set, hash)) != 0;
  }
  /// Starts fetching the word of hash from memory.
  void Prefetch(uint32_t hash) const {
    __builtin_prefetch(&words_[hash & (words_.size() - 1)]);
  }
  /// True when n more hashes would fill the table past its size.
  bool WouldFill(std::size_t n) const { return added_ + n > room_; }
  std::size_t added() const { return added_; }

 private:
  // The low bits of a hash choose the word, the high ones the bit in it.
  static uint64_t Bit(Set set, uint32_t hash) {
    return uint64_t{1} << (set == kA ? hash >> 26 : (hash >> 20) & 63);
  }

  std::vector<uint64_t> words_;
  std::size_t room_ = 0;
  std::size_t added_ = 0;
};

}  // namespace holvan
