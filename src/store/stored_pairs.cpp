#include "store/stored_pairs.h"

#include "store/growth_room.h"
#include "store/stored_text.h"
#include "text/line_breaks.h"

namespace holvan {
namespace {

// The unused added lines are dropped only once they hold this many bytes
// and one for each pair.
constexpr uint64_t kFewUnusedBytes = 64 << 10;
// The longest key a pair holds.
constexpr std::size_t kMostKeyBytes = (1 << 30) - 1;

}  // namespace

StoredPairs::Pair StoredPairs::PairAt(uint64_t offset, std::size_t key,
                                      std::size_t separator,
                                      std::size_t value) {
  if (key > kMostKeyBytes ||
      offset + key + separator + value + 2 > kMaxStoreBytes) {
    throw AppendError();
  }
  return {static_cast<StoreOffset>(offset), static_cast<uint32_t>(key),
          static_cast<uint32_t>(separator), static_cast<uint32_t>(value)};
}

int32_t StoredPairs::Add(std::string_view key, std::string_view value) {
  if (pairs_.size() >= static_cast<std::size_t>(INT32_MAX)) {
    throw AppendError();
  }
  // Room first, so that a failure leaves no pair behind.
  if (pairs_.size() == pairs_.capacity()) {
    pairs_.reserve(GrowthRoom(pairs_.size()));
  }
  pairs_.push_back(LineOf(key, value));
  return Count() - 1;
}

void StoredPairs::SetValue(int32_t i, std::string_view value) {
  const Pair& old = At(i);
  const Pair pair = LineOf(Key(i), value);
  if (old.offset >= bytes_.file_text().size()) unused_ += LineLength(old) + 2;
  pairs_[static_cast<std::size_t>(i)] = pair;
  DropUnusedLines();
}

void StoredPairs::Load(FileBytes file, Split split) {
  std::vector<Pair> pairs;
  pairs.reserve(GrowthRoom(CountLineFeeds(UpToZero(file))));
  ForEachStoredLine(file, [&](std::size_t offset, std::size_t length) {
    const std::optional<KeyAndValue> cut =
        split(std::string_view(file.data() + offset, length));
    if (!cut) return;
    if (pairs.size() >= static_cast<std::size_t>(INT32_MAX)) {
      throw AppendError();
    }
    const std::size_t key = cut->key.size();
    const std::size_t value = cut->value.size();
    pairs.push_back(PairAt(offset, key, length - key - value, value));
  });
  bytes_.Assign(std::move(file));
  pairs_ = std::move(pairs);
  unused_ = 0;
}

void StoredPairs::Write(AtomicFileWriter& writer) const {
  // The lines of pairs that lie one after another as they are written go out
  // in one piece; such a run ends where the file's text does.
  const std::size_t file_end = bytes_.file_text().size();
  StoreOffset run_begin = 0;
  StoreOffset run_end = 0;
  const auto write_run = [&] {
    if (run_end > run_begin) {
      writer.Append(bytes_.View(run_begin, run_end - run_begin));
    }
    run_begin = run_end;
  };
  for (int32_t i = 0; i < Count(); ++i) {
    const Pair& pair = pairs_[static_cast<std::size_t>(i)];
    if (!WrittenAsItLies(pair)) {
      write_run();
      writer.Append(Key(i));
      writer.Append(separator_);
      writer.Append(Value(i));
      writer.Append("\r\n");
      continue;
    }
    if (pair.offset != run_end || run_end == file_end) {
      write_run();
      run_begin = run_end = pair.offset;
    }
    run_end += static_cast<StoreOffset>(LineLength(pair) + 2);
  }
  write_run();
}

bool StoredPairs::WrittenAsItLies(const Pair& pair) const {
  return pair.separator == separator_.size() &&
         bytes_.View(pair.offset + pair.key_length, pair.separator) ==
             separator_;
}

StoredPairs::Pair StoredPairs::LineOf(std::string_view key,
                                      std::string_view value) {
  // Checked before the line is added, which then checks the bytes.
  PairAt(0, key.size(), separator_.size(), value.size());
  return PairAt(bytes_.AddLine({key, separator_, value}), key.size(),
                separator_.size(), value.size());
}

void StoredPairs::DropUnusedLines() {
  const uint64_t added = bytes_.added().size();
  if (unused_ * 2 <= added || unused_ < kFewUnusedBytes + pairs_.size()) {
    return;
  }
  const uint64_t file_end = bytes_.file_text().size();
  // With room for the lines in use, adding them again cannot fail.
  const NarrowText old = bytes_.TakeAdded(added - unused_);
  for (Pair& pair : pairs_) {
    if (pair.offset < file_end) continue;
    const std::string_view line =
        std::string_view(old).substr(pair.offset - file_end, LineLength(pair));
    pair.offset = bytes_.AddLine({line});
  }
  unused_ = 0;
}

}  // namespace holvan
