#include "store/store_bytes.h"

#include <algorithm>
#include <utility>

#include "errors/error.h"

namespace holvan {

void StoreBytes::Assign(FileBytes file) {
  file_ = std::move(file);
  added_.clear();
  added_.shrink_to_fit();
}

StoreOffset StoreBytes::AddLine(
    std::initializer_list<std::string_view> pieces) {
  const StoreOffset offset = end();
  uint64_t length = 2;
  for (std::string_view piece : pieces) length += piece.size();
  if (length > kMaxStoreBytes - offset) throw AppendError();
  if (length <= added_.capacity() - added_.size()) {
    for (std::string_view piece : pieces) added_.append(piece);
    added_.append("\r\n");
    return offset;
  }
  // A larger block, filled while the pieces still lie where they are.
  NarrowText larger;
  larger.reserve(std::max(added_.size() + length, 2 * added_.capacity()));
  larger.append(added_);
  for (std::string_view piece : pieces) larger.append(piece);
  larger.append("\r\n");
  added_ = std::move(larger);
  return offset;
}

NarrowText StoreBytes::TakeAdded(std::size_t room) {
  NarrowText fresh;
  fresh.reserve(room);
  return std::exchange(added_, std::move(fresh));
}

}  // namespace holvan
