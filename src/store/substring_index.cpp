#include "store/substring_index.h"

#include <algorithm>
#include <bit>
#include <queue>

#include "text/cp932.h"

namespace holvan {
namespace {

constexpr uint64_t kBase = 0x100000001B3ull;

// The rolling hash of a run of units: a polynomial in kBase, modulo 2^64.
uint64_t Polynomial(std::u16string_view units) {
  uint64_t h = 0;
  for (char16_t u : units) h = h * kBase + u;
  return h;
}

// Spreads a polynomial (with its length, so that runs of zero units differ)
// over all 32 bits of a slot hash.
uint32_t SlotHash(uint64_t polynomial, std::size_t length) {
  uint64_t h = polynomial ^ (static_cast<uint64_t>(length) << 56);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  return static_cast<uint32_t>(h);
}

}  // namespace

void SubstringIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
  next_.clear();
  next_.shrink_to_fit();
  keys_of_length_.clear();
  lengths_.clear();
  powers_.assign(1, 1);
}

void SubstringIndex::Build(const std::vector<NarrowText>& keys) {
  Clear();
  Reserve(keys.size());
  next_.assign(keys.size(), -1);
  WideText wide;
  WideText scratch;
  // From the last position down, each goes in front of the later ones with
  // its key, so that every chain runs in ascending order.
  for (std::size_t i = keys.size(); i-- > 0;) {
    if (keys[i].empty()) continue;
    ToWide(keys[i], wide);
    const uint32_t hash = SlotHash(Polynomial(wide), wide.size());
    Slot& slot = slots_[Probe(keys, wide, hash, scratch)];
    if (slot.first >= 0) {
      next_[i] = slot.first;
    } else {
      ++used_;
      CountLength(wide.size());
    }
    slot = {hash, static_cast<int32_t>(i)};
  }
}

void SubstringIndex::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  next_.resize(keys.size(), -1);
  const NarrowText& key = keys[static_cast<std::size_t>(i)];
  if (key.empty()) return;
  WideText scratch;
  Add(keys, i, ToWide(key), scratch);
}

void SubstringIndex::Add(const std::vector<NarrowText>& keys, int32_t i,
                         std::u16string_view wide, WideText& scratch) {
  Reserve(used_ + 1);
  const uint32_t hash = SlotHash(Polynomial(wide), wide.size());
  Slot& slot = slots_[Probe(keys, wide, hash, scratch)];
  if (slot.first < 0) {
    slot = {hash, i};
    ++used_;
    CountLength(wide.size());
    return;
  }
  int32_t last = slot.first;
  while (next_[static_cast<std::size_t>(last)] >= 0) {
    last = next_[static_cast<std::size_t>(last)];
  }
  next_[static_cast<std::size_t>(last)] = i;
}

void SubstringIndex::CountLength(std::size_t length) {
  if (keys_of_length_.size() <= length) keys_of_length_.resize(length + 1, 0);
  if (keys_of_length_[length]++ == 0) {
    lengths_.insert(std::upper_bound(lengths_.begin(), lengths_.end(), length),
                    length);
  }
  while (powers_.size() <= length) powers_.push_back(powers_.back() * kBase);
}

void SubstringIndex::ForEachKeyIn(
    const std::vector<NarrowText>& keys, std::u16string_view line,
    const std::function<bool(int32_t)>& visit) const {
  if (used_ == 0 || line.empty()) return;
  std::vector<uint64_t> prefix(line.size() + 1, 0);
  for (std::size_t k = 0; k < line.size(); ++k) {
    prefix[k + 1] = prefix[k] * kBase + line[k];
  }
  WideText scratch;
  std::vector<int32_t> found;
  for (std::size_t start = 0; start < line.size(); ++start) {
    for (std::size_t length : lengths_) {
      if (length > line.size() - start) break;
      const uint64_t polynomial =
          prefix[start + length] - prefix[start] * powers_[length];
      const Slot& slot = slots_[Probe(keys, line.substr(start, length),
                                      SlotHash(polynomial, length), scratch)];
      if (slot.first >= 0) found.push_back(slot.first);
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  // Merges the ascending chains of the keys found.
  std::priority_queue<int32_t, std::vector<int32_t>, std::greater<>> pending(
      std::greater<>(), std::move(found));
  while (!pending.empty()) {
    const int32_t i = pending.top();
    pending.pop();
    if (visit(i)) return;
    const int32_t next = next_[static_cast<std::size_t>(i)];
    if (next >= 0) pending.push(next);
  }
}

std::size_t SubstringIndex::Probe(const std::vector<NarrowText>& keys,
                                  std::u16string_view wide, uint32_t hash,
                                  WideText& scratch) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.first < 0) return at;
    if (slot.hash != hash) continue;
    ToWide(keys[static_cast<std::size_t>(slot.first)], scratch);
    if (scratch == wide) return at;
  }
}

void SubstringIndex::Reserve(std::size_t n) {
  if (n * 4 < slots_.size() * 3) return;
  const std::size_t size = std::bit_ceil(n * 4 / 3 + 2);
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  const std::size_t mask = size - 1;
  for (const Slot& slot : old) {
    if (slot.first < 0) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].first >= 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace holvan
