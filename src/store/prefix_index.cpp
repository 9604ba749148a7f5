#include "store/prefix_index.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace holvan {
namespace {

// A block splits in two halves when it grows past twice this size.
constexpr std::size_t kBlockSize = 64;

// The key cut to n bytes compared with prefix, as unsigned bytes.
int CompareHead(std::string_view key, std::string_view prefix) {
  return key.substr(0, prefix.size()).compare(prefix);
}

int32_t SmallestOf(const int32_t* begin, const int32_t* end) {
  return begin == end ? std::numeric_limits<int32_t>::max()
                      : *std::min_element(begin, end);
}

// The first eight bytes of a key, big-endian, as a number that orders keys
// as their bytes do as far as it reaches.
uint64_t HeadNumber(std::string_view key) {
  uint64_t n = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    n = n << 8 | (i < key.size() ? static_cast<uint8_t>(key[i]) : 0u);
  }
  return n;
}

}  // namespace

void PrefixIndex::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  last_heads_.clear();
  last_heads_.shrink_to_fit();
}

void PrefixIndex::SetLast(std::size_t b, std::string_view key) {
  blocks_[b].last = key;
  last_heads_[b] = HeadNumber(key);
}

std::size_t PrefixIndex::BlockOfBound(std::string_view prefix,
                                      bool after) const {
  // Compares the first bytes, up to eight, by number; only a tie needs the
  // bytes themselves.
  const std::size_t cut = std::min<std::size_t>(prefix.size(), 8);
  const uint64_t mask = cut == 0 ? 0 : ~uint64_t{0} << (8 * (8 - cut));
  const uint64_t head = HeadNumber(prefix);
  std::size_t low = 0;
  std::size_t high = blocks_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const uint64_t last = last_heads_[middle] & mask;
    const int c = last < head   ? -1
                  : last > head ? 1
                                : CompareHead(blocks_[middle].last, prefix);
    if (after ? c <= 0 : c < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

void PrefixIndex::Build(const std::vector<NarrowText>& keys) {
  Clear();
  struct Entry {
    uint64_t head;
    int32_t index;
  };
  std::vector<Entry> order;
  order.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i].empty()) {
      order.push_back({HeadNumber(keys[i]), static_cast<int32_t>(i)});
    }
  }
  // A stable radix sort by the first eight bytes, sixteen bits at a time,
  // keeps equal heads in list order; runs of equal heads are then sorted by
  // their whole keys.
  std::vector<Entry> spare(order.size());
  for (int shift = 0; shift < 64; shift += 16) {
    std::vector<std::size_t> starts(65537, 0);
    for (const Entry& e : order) ++starts[((e.head >> shift) & 0xFFFF) + 1];
    if (std::find(starts.begin(), starts.end(), order.size()) != starts.end()) {
      continue;
    }
    for (std::size_t d = 1; d < starts.size(); ++d) starts[d] += starts[d - 1];
    for (const Entry& e : order)
      spare[starts[(e.head >> shift) & 0xFFFF]++] = e;
    order.swap(spare);
  }
  for (std::size_t begin = 0; begin < order.size();) {
    std::size_t end = begin + 1;
    while (end < order.size() && order[end].head == order[begin].head) ++end;
    if (end - begin > 1) {
      std::stable_sort(order.begin() + begin, order.begin() + end,
                       [&keys](const Entry& a, const Entry& b) {
                         return keys[static_cast<std::size_t>(a.index)] <
                                keys[static_cast<std::size_t>(b.index)];
                       });
    }
    begin = end;
  }
  for (std::size_t begin = 0; begin < order.size(); begin += kBlockSize) {
    const std::size_t end = std::min(order.size(), begin + kBlockSize);
    Block block;
    block.indexes.reserve(end - begin);
    for (std::size_t k = begin; k < end; ++k) {
      block.indexes.push_back(order[k].index);
    }
    block.smallest =
        SmallestOf(block.indexes.data(), block.indexes.data() + end - begin);
    blocks_.push_back(std::move(block));
    last_heads_.push_back(0);
    SetLast(blocks_.size() - 1,
            keys[static_cast<std::size_t>(blocks_.back().indexes.back())]);
  }
}

void PrefixIndex::Insert(const std::vector<NarrowText>& keys, int32_t i) {
  const std::string_view key = keys[static_cast<std::size_t>(i)];
  if (key.empty()) return;
  auto key_of = [&keys](int32_t k) -> std::string_view {
    return keys[static_cast<std::size_t>(k)];
  };
  // The newest position goes after every equal key: in the first block whose
  // last key is above it.
  std::size_t b = blocks_.empty() ? 0 : BlockOfBound(key, true);
  if (b == blocks_.size()) {
    if (blocks_.empty()) {
      blocks_.push_back({{}, i, {}});
      last_heads_.push_back(0);
    }
    b = blocks_.size() - 1;
  }
  auto block = blocks_.begin() + static_cast<std::ptrdiff_t>(b);
  std::vector<int32_t>& indexes = block->indexes;
  auto at = std::upper_bound(
      indexes.begin(), indexes.end(), key,
      [&](std::string_view k, int32_t index) { return k < key_of(index); });
  indexes.insert(at, i);
  block->smallest = std::min(block->smallest, i);
  SetLast(b, key_of(indexes.back()));
  if (indexes.size() <= 2 * kBlockSize) return;
  Block upper;
  upper.indexes.assign(indexes.begin() + kBlockSize, indexes.end());
  indexes.resize(kBlockSize);
  block->smallest = SmallestOf(indexes.data(), indexes.data() + indexes.size());
  upper.smallest = SmallestOf(upper.indexes.data(),
                              upper.indexes.data() + upper.indexes.size());
  const NarrowText upper_last = std::move(block->last);
  blocks_.insert(block + 1, std::move(upper));
  last_heads_.insert(last_heads_.begin() + static_cast<std::ptrdiff_t>(b) + 1,
                     0);
  SetLast(b, key_of(blocks_[b].indexes.back()));
  SetLast(b + 1, upper_last);
}

int32_t PrefixIndex::FirstStartingWith(const std::vector<NarrowText>& keys,
                                       std::string_view prefix) const {
  if (prefix.empty() || blocks_.empty()) return -1;
  const Place from = Bound(keys, prefix, false);
  // Most topics begin no key: the first key not below tells.
  if (from.block == blocks_.size() ||
      CompareHead(
          keys[static_cast<std::size_t>(blocks_[from.block].indexes[from.at])],
          prefix) != 0) {
    return -1;
  }
  return Smallest(from, Bound(keys, prefix, true));
}

PrefixIndex::Place PrefixIndex::Bound(const std::vector<NarrowText>& keys,
                                      std::string_view prefix,
                                      bool after) const {
  auto below = [&](std::string_view key) {
    const int c = CompareHead(key, prefix);
    return after ? c <= 0 : c < 0;
  };
  // The first block whose last key is not below: the bound lies in it.
  const std::size_t b = BlockOfBound(prefix, after);
  if (b == blocks_.size()) return {blocks_.size(), 0};
  auto block = blocks_.begin() + static_cast<std::ptrdiff_t>(b);
  auto at = std::partition_point(
      block->indexes.begin(), block->indexes.end(), [&](int32_t index) {
        return below(keys[static_cast<std::size_t>(index)]);
      });
  return {static_cast<std::size_t>(block - blocks_.begin()),
          static_cast<std::size_t>(at - block->indexes.begin())};
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

}  // namespace holvan
