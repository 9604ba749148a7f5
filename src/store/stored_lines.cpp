#include "store/stored_lines.h"

#include "store/growth_room.h"
#include "store/stored_text.h"
#include "text/line_breaks.h"

namespace holvan {

int32_t StoredLines::Add(std::string_view line) {
  if (Count() == INT32_MAX) throw AppendError();
  // Room first, so that a failure leaves no line behind.
  if (starts_.size() == starts_.capacity()) {
    starts_.reserve(GrowthRoom(starts_.size()));
  }
  bytes_.AddLine({line});
  starts_.push_back(bytes_.end());
  return Count() - 1;
}

void StoredLines::Load(FileBytes file) {
  std::vector<StoreOffset> starts;
  starts.reserve(GrowthRoom(CountLineFeeds(UpToZero(file))));
  ForEachStoredLine(file, [&](std::size_t offset, std::size_t length) {
    if (starts.size() >= static_cast<std::size_t>(INT32_MAX) ||
        offset + length + 2 > kMaxStoreBytes) {
      throw AppendError();
    }
    starts.push_back(static_cast<StoreOffset>(offset));
  });
  starts.push_back(static_cast<StoreOffset>(file.size()));
  bytes_.Assign(std::move(file));
  starts_ = std::move(starts);
}

void StoredLines::Write(AtomicFileWriter& writer) const {
  writer.Append(bytes_.file_text());
  writer.Append(bytes_.added());
}

}  // namespace holvan
