#include "store/prefix_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace holvan {
namespace {

// A block splits in two halves when it grows past twice this size.
constexpr std::size_t kBlockSize = 64;

int32_t SmallestOf(const int32_t* begin, const int32_t* end) {
  return begin == end ? std::numeric_limits<int32_t>::max()
                      : *std::min_element(begin, end);
}

// The first eight bytes of a key, big-endian and padded with zeros, as a
// number that orders keys as their bytes do as far as it reaches.
uint64_t HeadNumber(std::string_view key) {
  uint64_t n = 0;
  if (key.size() >= 8) {
    std::memcpy(&n, key.data(), 8);
  } else if (!key.empty()) {
    std::memcpy(&n, key.data(), key.size());
  }
  if constexpr (std::endian::native == std::endian::little) {
    n = __builtin_bswap64(n);
  }
  return n;
}

}  // namespace

PrefixIndex::Probe::Probe(std::string_view text, bool whole)
    : text_(text), whole_(whole), head_(HeadNumber(text)) {
  const std::size_t cut = whole ? 8 : std::min<std::size_t>(text.size(), 8);
  mask_ = cut == 0 ? 0 : ~uint64_t{0} << (8 * (8 - cut));
  head_ &= mask_;
  // Equal heads cut to a text of up to eight bytes mean equal bytes, unless
  // a zero in the text could stand for the padding of a shorter key.
  heads_settle_ =
      !whole && text.size() <= 8 && text.find('\0') == std::string_view::npos;
}

int PrefixIndex::Probe::CompareHeads(uint64_t head) const {
  head &= mask_;
  if (head != head_) return head < head_ ? -1 : 1;
  return heads_settle_ ? 0 : 2;
}

int PrefixIndex::Probe::Compare(uint64_t head, std::string_view key) const {
  const int c = CompareHeads(head);
  if (c != 2) return c;
  return whole_ ? key.compare(text_)
                : key.substr(0, text_.size()).compare(text_);
}

void PrefixIndex::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  last_heads_.clear();
  last_heads_.shrink_to_fit();
}

void PrefixIndex::Build(const StoredPairs& pairs, const StopFlag& stop) {
  Clear();
  // Twelve bytes a key: the order lasts only while the blocks are made.
  struct Entry {
    uint32_t high;
    uint32_t low;
    int32_t index;
    uint64_t head() const { return uint64_t{high} << 32 | low; }
  };
  std::vector<Entry> order;
  order.reserve(static_cast<std::size_t>(pairs.Count()));
  for (int32_t i = 0; i < pairs.Count(); ++i) {
    if (StopsAt(stop, i)) return;
    const std::string_view key = pairs.Key(i);
    if (key.empty()) continue;
    const uint64_t head = HeadNumber(key);
    order.push_back(
        {static_cast<uint32_t>(head >> 32), static_cast<uint32_t>(head), i});
  }
  // A stable radix sort by the head numbers, sixteen bits at a time, keeps
  // equal heads in list order; runs of equal heads are then sorted by their
  // whole keys.
  {
    std::vector<Entry> spare(order.size());
    std::vector<std::size_t> starts(65537);
    for (int shift = 0; shift < 64; shift += 16) {
      if (StopsAt(stop, 0)) return;
      std::fill(starts.begin(), starts.end(), 0);
      for (const Entry& e : order) ++starts[((e.head() >> shift) & 0xFFFF) + 1];
      if (std::find(starts.begin(), starts.end(), order.size()) !=
          starts.end()) {
        continue;
      }
      for (std::size_t d = 1; d < starts.size(); ++d)
        starts[d] += starts[d - 1];
      for (const Entry& e : order) {
        spare[starts[(e.head() >> shift) & 0xFFFF]++] = e;
      }
      order.swap(spare);
    }
  }
  int64_t runs = 0;
  for (std::size_t begin = 0; begin < order.size();) {
    if (StopsAt(stop, runs++)) return;
    std::size_t end = begin + 1;
    while (end < order.size() && order[end].head() == order[begin].head()) {
      ++end;
    }
    if (end - begin > 1) {
      std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(begin),
                       order.begin() + static_cast<std::ptrdiff_t>(end),
                       [&pairs](const Entry& a, const Entry& b) {
                         return pairs.Key(a.index) < pairs.Key(b.index);
                       });
    }
    begin = end;
  }
  blocks_.reserve((order.size() + kBlockSize - 1) / kBlockSize);
  last_heads_.reserve(blocks_.capacity());
  for (std::size_t begin = 0; begin < order.size(); begin += kBlockSize) {
    if (StopsAt(stop, static_cast<int64_t>(begin))) return;
    const std::size_t end = std::min(order.size(), begin + kBlockSize);
    Block block;
    block.indexes.reserve(end - begin);
    block.heads.reserve(end - begin);
    for (std::size_t k = begin; k < end; ++k) {
      block.indexes.push_back(order[k].index);
      block.heads.push_back(order[k].head());
    }
    block.smallest =
        SmallestOf(block.indexes.data(), block.indexes.data() + end - begin);
    blocks_.push_back(std::move(block));
    last_heads_.push_back(order[end - 1].head());
  }
}

void PrefixIndex::Insert(const StoredPairs& pairs, int32_t i) {
  const std::string_view key = pairs.Key(i);
  if (key.empty()) return;
  if (blocks_.empty()) {
    blocks_.push_back({{i}, {HeadNumber(key)}, i});
    last_heads_.push_back(HeadNumber(key));
    return;
  }
  // The newest position goes after every equal key.
  Place place = Bound(pairs, Probe(key, true), true);
  if (place.block == blocks_.size()) {
    place = {blocks_.size() - 1, blocks_.back().indexes.size()};
  }
  Block& block = blocks_[place.block];
  const auto at = static_cast<std::ptrdiff_t>(place.at);
  block.indexes.insert(block.indexes.begin() + at, i);
  block.heads.insert(block.heads.begin() + at, HeadNumber(key));
  block.smallest = std::min(block.smallest, i);
  NoteLast(place.block);
  if (block.indexes.size() <= 2 * kBlockSize) return;
  Block upper;
  upper.indexes.assign(block.indexes.begin() + kBlockSize, block.indexes.end());
  upper.heads.assign(block.heads.begin() + kBlockSize, block.heads.end());
  block.indexes.resize(kBlockSize);
  block.heads.resize(kBlockSize);
  block.smallest = SmallestOf(block.indexes.data(),
                              block.indexes.data() + block.indexes.size());
  upper.smallest = SmallestOf(upper.indexes.data(),
                              upper.indexes.data() + upper.indexes.size());
  const auto next = static_cast<std::ptrdiff_t>(place.block) + 1;
  blocks_.insert(blocks_.begin() + next, std::move(upper));
  last_heads_.insert(last_heads_.begin() + next, 0);
  NoteLast(place.block);
  NoteLast(place.block + 1);
}

int32_t PrefixIndex::FirstStartingWith(const StoredPairs& pairs,
                                       std::string_view prefix) const {
  if (prefix.empty() || blocks_.empty()) return -1;
  const Probe probe(prefix, false);
  const Place from = Bound(pairs, probe, false);
  // Most topics begin no key: the first key not below tells.
  if (from.block == blocks_.size()) return -1;
  const Block& block = blocks_[from.block];
  if (probe.Compare(block.heads[from.at], pairs.Key(block.indexes[from.at])) !=
      0) {
    return -1;
  }
  return Smallest(from, Bound(pairs, probe, true));
}

PrefixIndex::Place PrefixIndex::Bound(const StoredPairs& pairs,
                                      const Probe& probe, bool after) const {
  auto below = [&](int c) { return after ? c <= 0 : c < 0; };
  // The first block whose last key is not below: the bound lies in it.
  std::size_t low = 0;
  std::size_t high = blocks_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const Block& block = blocks_[middle];
    const int c =
        probe.Compare(last_heads_[middle], pairs.Key(block.indexes.back()));
    if (below(c)) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == blocks_.size()) return {blocks_.size(), 0};
  const Block& block = blocks_[low];
  std::size_t first = 0;
  std::size_t last = block.indexes.size();
  while (first < last) {
    const std::size_t middle = first + (last - first) / 2;
    const int c =
        probe.Compare(block.heads[middle], pairs.Key(block.indexes[middle]));
    if (below(c)) {
      first = middle + 1;
    } else {
      last = middle;
    }
  }
  return {low, first};
}

int32_t PrefixIndex::Smallest(Place from, Place to) const {
  if (from.block >= blocks_.size()) return std::numeric_limits<int32_t>::max();
  const std::vector<int32_t>& first = blocks_[from.block].indexes;
  if (from.block == to.block) {
    return SmallestOf(first.data() + from.at, first.data() + to.at);
  }
  int32_t smallest = from.at == 0 ? blocks_[from.block].smallest
                                  : SmallestOf(first.data() + from.at,
                                               first.data() + first.size());
  for (std::size_t b = from.block + 1; b < to.block; ++b) {
    smallest = std::min(smallest, blocks_[b].smallest);
  }
  if (to.block < blocks_.size()) {
    const std::vector<int32_t>& last = blocks_[to.block].indexes;
    smallest = std::min(smallest, SmallestOf(last.data(), last.data() + to.at));
  }
  return smallest;
}

void PrefixIndex::NoteLast(std::size_t b) {
  last_heads_[b] = blocks_[b].heads.back();
}

}  // namespace holvan
