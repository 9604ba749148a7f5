#include "store/substring_index.h"

#include <algorithm>
#include <queue>

#include "store/growth_room.h"
#include "text/cp932.h"
#include "text/cp932_decode.h"

namespace holvan {
namespace {

// How many keys ahead a bulk build fetches slots.
constexpr int32_t kAhead = 16;
// How many keys a bulk build shapes at a time.
constexpr int32_t kChunk = 1 << 16;
// Bits per hash in the bit sets, kept small enough to stay in the
// processor's cache (many beginnings are shared by several keys).
constexpr std::size_t kBitsPerHash = 4;

constexpr uint64_t kBase = 0x100000001B3ull;

// Spreads a polynomial (with its length, so that runs of zero units differ)
// over all 32 bits of a slot hash.
uint32_t SlotHash(uint64_t polynomial, std::size_t length) {
  uint64_t h = polynomial ^ (static_cast<uint64_t>(length) << 56);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  return static_cast<uint32_t>(h);
}

// Walks the characters of key once: calls on_beginning with the slot hash of
// each proper beginning of two characters or more, and returns the key's.
template <typename OnBeginning>
SubstringIndex::KeyShape ShapeOf(std::string_view key,
                                 OnBeginning on_beginning) {
  SubstringIndex::KeyShape shape;
  uint64_t polynomial = 0;
  for (std::size_t at = 0; at < key.size();) {
    const char16_t unit = UnitAt(key, at);
    polynomial = polynomial * kBase + unit;
    if (++shape.length == 1) {
      shape.first = unit;
    } else if (at < key.size()) {
      on_beginning(SlotHash(polynomial, shape.length));
    }
  }
  shape.hash = SlotHash(polynomial, shape.length);
  return shape;
}

SubstringIndex::KeyShape ShapeOf(std::string_view key) {
  return ShapeOf(key, [](uint32_t) {});
}

// Accepts the slot whose position holds a key of UTF-16 form wide; scratch
// holds the keys converted on the way.
auto Holding(const StoredPairs& pairs, std::u16string_view wide,
             WideText& scratch) {
  return [&pairs, wide, &scratch](int32_t position) {
    ToWide(pairs.Key(position), scratch);
    return scratch == wide;
  };
}

}  // namespace

void SubstringIndex::Clear() {
  slots_.Clear();
  next_.clear();
  single_.clear();
  single_.shrink_to_fit();
  keys_of_length_.clear();
  bits_.Clear();
  powers_.assign(1, 1);
}

void SubstringIndex::Build(const StoredPairs& pairs, const StopFlag& stop) {
  Clear();
  const int32_t count = pairs.Count();
  slots_.Reserve(GrowthRoom(static_cast<std::size_t>(count)));
  // A key of two-byte characters has about half as many beginnings as bytes,
  // less the first.
  std::size_t bytes = 0;
  for (int32_t i = 0; i < count; ++i) bytes += pairs.Key(i).size();
  bits_.Size(bytes / 2, kBitsPerHash);
  // From the last position down, each goes in front of the later ones with
  // its key, so that every chain runs in ascending order. The keys go in
  // chunks, shaped first, so that each slot can be fetched from memory a few
  // keys ahead of its use.
  std::vector<KeyShape> shapes(
      static_cast<std::size_t>(std::min(count, kChunk)));
  WideText wide;
  WideText other;
  for (int32_t end = count; end > 0; end -= kChunk) {
    if (StopsAt(stop, 0)) return;
    const int32_t begin = std::max(0, end - kChunk);
    for (int32_t i = begin; i < end; ++i) {
      shapes[static_cast<std::size_t>(i - begin)] = MarkKey(pairs.Key(i));
    }
    for (int32_t i = end - 1; i >= begin; --i) {
      if (i - kAhead >= begin) {
        slots_.Prefetch(
            shapes[static_cast<std::size_t>(i - kAhead - begin)].hash);
      }
      const KeyShape& shape = shapes[static_cast<std::size_t>(i - begin)];
      if (shape.length > 0) Place(pairs, i, shape, wide, other);
    }
  }
  if (bits_.WouldFill(0)) RemarkBits(pairs, bits_.added());
}

void SubstringIndex::Place(const StoredPairs& pairs, int32_t position,
                           const KeyShape& shape, WideText& wide,
                           WideText& other) {
  // Keys are converted only when a slot of their hash is met.
  bool converted = false;
  const std::size_t slot = slots_.Probe(shape.hash, [&](int32_t at) {
    if (!converted) ToWide(pairs.Key(position), wide);
    converted = true;
    ToWide(pairs.Key(at), other);
    return other == wide;
  });
  if (slots_.empty(slot)) {
    slots_.Fill(slot, shape.hash, position);
    CountKey(shape, position);
    return;
  }
  next_[position] = slots_.position(slot);
  slots_.Replace(slot, position);
  if (shape.length == 1) single_[shape.first] = position;
}

void SubstringIndex::Insert(const StoredPairs& pairs, int32_t i) {
  const std::string_view key = pairs.Key(i);
  if (key.empty()) return;
  const KeyShape shape = ShapeOf(key);
  if (bits_.WouldFill(shape.length)) {
    RemarkBits(pairs, 2 * (bits_.added() + shape.length));
  }
  MarkKey(key);
  slots_.Reserve(slots_.used() + 1);
  const WideText wide = ToWide(key);
  WideText scratch;
  const std::size_t slot =
      slots_.Probe(shape.hash, Holding(pairs, wide, scratch));
  if (slots_.empty(slot)) {
    slots_.Fill(slot, shape.hash, i);
    CountKey(shape, i);
    return;
  }
  int32_t last = slots_.position(slot);
  for (auto next = next_.find(last); next != next_.end();
       next = next_.find(last)) {
    last = next->second;
  }
  next_[last] = i;
}

void SubstringIndex::CountKey(const KeyShape& shape, int32_t i) {
  const std::size_t length = shape.length;
  if (keys_of_length_.size() <= length) keys_of_length_.resize(length + 1, 0);
  ++keys_of_length_[length];
  while (powers_.size() <= length) powers_.push_back(powers_.back() * kBase);
  if (length == 1) {
    if (single_.empty()) single_.assign(0x10000, -1);
    single_[shape.first] = i;
  }
}

SubstringIndex::KeyShape SubstringIndex::MarkKey(std::string_view key) {
  // One-character beginnings are not kept: nearly every character begins
  // some key of a large list, and a slice always grows past one.
  const KeyShape shape =
      ShapeOf(key, [this](uint32_t hash) { bits_.Add(HashBits::kB, hash); });
  if (shape.length > 0) bits_.Add(HashBits::kA, shape.hash);
  return shape;
}

void SubstringIndex::RemarkBits(const StoredPairs& pairs, std::size_t hashes) {
  bits_.Size(hashes, kBitsPerHash);
  for (int32_t i = 0; i < pairs.Count(); ++i) MarkKey(pairs.Key(i));
}

void SubstringIndex::ForEachKeyIn(
    const StoredPairs& pairs, std::u16string_view line,
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
      ToWide(pairs.Key(i), wide);
      bool occurs = false;
      for (auto c = static_cast<std::size_t>(from);
           c < candidates.size() && candidates[c].first == i && !occurs; ++c) {
        occurs = line.substr(candidates[c].start, candidates[c].length) == wide;
      }
      if (!occurs) continue;
    }
    if (visit(i)) return;
    if (next_.empty()) continue;
    const auto next = next_.find(i);
    if (next != next_.end()) pending.push({next->second, -1});
  }
}

}  // namespace holvan
