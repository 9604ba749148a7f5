#include "store/substring_index.h"

#include <algorithm>
#include <queue>

#include "store/growth_room.h"
#include "text/cp932.h"

namespace holvan {
namespace {

// How many keys ahead a bulk build fetches slots.
constexpr std::size_t kAhead = 16;
// Bits per hash in the bit sets, kept small enough to stay in the
// processor's cache (many beginnings are shared by several keys).
constexpr std::size_t kBitsPerHash = 4;

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

// Accepts the slot whose position holds a key of UTF-16 form wide; scratch
// holds the keys converted on the way.
auto Holding(const std::vector<NarrowText>& keys, std::u16string_view wide,
             WideText& scratch) {
  return [&keys, wide, &scratch](int32_t position) {
    ToWide(keys[static_cast<std::size_t>(position)], scratch);
    return scratch == wide;
  };
}

}  // namespace

void SubstringIndex::Clear() {
  slots_.Clear();
  next_.clear();
  next_.shrink_to_fit();
  single_.clear();
  single_.shrink_to_fit();
  keys_of_length_.clear();
  bits_.Clear();
  powers_.assign(1, 1);
}

void SubstringIndex::Build(const std::vector<NarrowText>& keys) {
  Clear();
  slots_.Reserve(keys.size());
  next_.reserve(GrowthRoom(keys.size()));
  next_.assign(keys.size(), -1);
  // A key of two-byte characters has about half as many beginnings as bytes,
  // less the first.
  std::size_t bytes = 0;
  for (const NarrowText& key : keys) bytes += key.size();
  bits_.Size(bytes / 2, kBitsPerHash);
  // Hashes first, so that each slot can be fetched from memory a few keys
  // ahead of its use.
  std::vector<uint32_t> hashes(keys.size());
  WideText wide;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    ToWide(keys[i], wide);
    hashes[i] = SlotHash(Polynomial(wide), wide.size());
    if (!wide.empty()) MarkBits(wide, hashes[i]);
  }
  if (bits_.WouldFill(0)) RemarkBits(keys, bits_.added());
  WideText other;
  // From the last position down, each goes in front of the later ones with
  // its key, so that every chain runs in ascending order.
  for (std::size_t i = keys.size(); i-- > 0;) {
    if (i >= kAhead) slots_.Prefetch(hashes[i - kAhead]);
    if (keys[i].empty()) continue;
    // The key is converted only when a slot of its hash is met.
    bool converted = false;
    HashSlots::Slot& slot = slots_.Probe(hashes[i], [&](int32_t position) {
      if (!converted) ToWide(keys[i], wide);
      converted = true;
      ToWide(keys[static_cast<std::size_t>(position)], other);
      return other == wide;
    });
    const auto position = static_cast<int32_t>(i);
    if (slot.position >= 0) {
      next_[i] = slot.position;
      slot.position = position;
    } else {
      if (!converted) ToWide(keys[i], wide);
      slots_.Fill(slot, hashes[i], position);
      CountKey(wide, position);
    }
    if (wide.size() == 1) single_[wide[0]] = position;
  }
}

void SubstringIndex::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  next_.resize(keys.size(), -1);
  const NarrowText& key = keys[static_cast<std::size_t>(i)];
  if (key.empty()) return;
  const WideText wide = ToWide(key);
  if (bits_.WouldFill(wide.size())) {
    RemarkBits(keys, 2 * (bits_.added() + wide.size()));
  }
  MarkBits(wide, SlotHash(Polynomial(wide), wide.size()));
  WideText scratch;
  Add(keys, i, wide, scratch);
}

void SubstringIndex::Add(const std::vector<NarrowText>& keys, int32_t i,
                         std::u16string_view wide, WideText& scratch) {
  slots_.Reserve(slots_.used() + 1);
  const uint32_t hash = SlotHash(Polynomial(wide), wide.size());
  HashSlots::Slot& slot = slots_.Probe(hash, Holding(keys, wide, scratch));
  if (slot.position < 0) {
    slots_.Fill(slot, hash, i);
    CountKey(wide, i);
    return;
  }
  int32_t last = slot.position;
  while (next_[static_cast<std::size_t>(last)] >= 0) {
    last = next_[static_cast<std::size_t>(last)];
  }
  next_[static_cast<std::size_t>(last)] = i;
}

void SubstringIndex::CountKey(std::u16string_view wide, int32_t i) {
  const std::size_t length = wide.size();
  if (keys_of_length_.size() <= length) keys_of_length_.resize(length + 1, 0);
  ++keys_of_length_[length];
  while (powers_.size() <= length) powers_.push_back(powers_.back() * kBase);
  if (length == 1) {
    if (single_.empty()) single_.assign(0x10000, -1);
    single_[wide[0]] = i;
  }
}

void SubstringIndex::MarkBits(std::u16string_view wide, uint32_t hash) {
  bits_.Add(HashBits::kA, hash);
  // One-character beginnings are not kept: nearly every character begins
  // some key of a large list, and a slice always grows past one.
  if (wide.empty()) return;
  uint64_t polynomial = wide[0];
  for (std::size_t length = 2; length < wide.size(); ++length) {
    polynomial = polynomial * kBase + wide[length - 1];
    bits_.Add(HashBits::kB, SlotHash(polynomial, length));
  }
}

void SubstringIndex::RemarkBits(const std::vector<NarrowText>& keys,
                                std::size_t hashes) {
  bits_.Size(hashes, kBitsPerHash);
  WideText wide;
  for (const NarrowText& key : keys) {
    if (key.empty()) continue;
    ToWide(key, wide);
    MarkBits(wide, SlotHash(Polynomial(wide), wide.size()));
  }
}

void SubstringIndex::ForEachKeyIn(
    const std::vector<NarrowText>& keys, std::u16string_view line,
    const std::function<bool(int32_t)>& visit) const {
  if (slots_.used() == 0 || line.empty()) return;
  std::vector<uint64_t> prefix(line.size() + 1, 0);
  for (std::size_t k = 0; k < line.size(); ++k) {
    prefix[k + 1] = prefix[k] * kBase + line[k];
  }
  // Every slice whose hash some key has; whether the key really is that slice
  // is checked only when its turn comes, since visit usually stops early.
  struct Candidate {
    int32_t first;
    uint32_t start;
    uint32_t length;
  };
  std::vector<Candidate> candidates;
  const std::size_t longest = keys_of_length_.size() - 1;
  // Every start asks about its first character and its first two: fetch
  // those from memory all together before the answers are needed.
  for (std::size_t start = 0; start < line.size(); ++start) {
    if (!single_.empty()) __builtin_prefetch(&single_[line[start]]);
    if (longest >= 2 && start + 2 <= line.size()) {
      bits_.Prefetch(
          SlotHash(prefix[start + 2] - prefix[start] * powers_[2], 2));
    }
  }
  for (std::size_t start = 0; start < line.size(); ++start) {
    const std::size_t room = std::min(line.size() - start, longest);
    for (std::size_t length = 1; length <= room; ++length) {
      const uint32_t hash = SlotHash(
          prefix[start + length] - prefix[start] * powers_[length], length);
      if (length == 1) {
        const int32_t first = single_.empty() ? -1 : single_[line[start]];
        if (first >= 0) {
          candidates.push_back({first, static_cast<uint32_t>(start), 1});
        }
      } else if (keys_of_length_[length] > 0 &&
                 bits_.MayHold(HashBits::kA, hash)) {
        slots_.ForEachOf(hash, [&](int32_t first) {
          candidates.push_back({first, static_cast<uint32_t>(start),
                                static_cast<uint32_t>(length)});
        });
      }
      if (length > 1 && !bits_.MayHold(HashBits::kB, hash)) break;
    }
  }
  std::sort(
      candidates.begin(), candidates.end(),
      [](const Candidate& a, const Candidate& b) { return a.first < b.first; });
  // Merges the ascending chains of the keys found. An entry is a position
  // and, for the first position of a key not yet checked, where its
  // candidates begin (-1 once checked).
  using Entry = std::pair<int32_t, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> pending;
  for (std::size_t c = 0; c < candidates.size(); ++c) {
    if (c == 0 || candidates[c].first != candidates[c - 1].first) {
      pending.push({candidates[c].first, static_cast<int32_t>(c)});
    }
  }
  WideText wide;
  while (!pending.empty()) {
    const auto [i, from] = pending.top();
    pending.pop();
    if (from >= 0) {
      ToWide(keys[static_cast<std::size_t>(i)], wide);
      bool occurs = false;
      for (auto c = static_cast<std::size_t>(from);
           c < candidates.size() && candidates[c].first == i && !occurs; ++c) {
        occurs = line.substr(candidates[c].start, candidates[c].length) == wide;
      }
      if (!occurs) continue;
    }
    if (visit(i)) return;
    const int32_t next = next_[static_cast<std::size_t>(i)];
    if (next >= 0) pending.push({next, -1});
  }
}

}  // namespace holvan
