#include "files/file_bytes.h"

#include <algorithm>
#include <cstring>

namespace holvan {

FileBytes::FileBytes(std::string_view bytes, std::size_t room) {
  Reserve(bytes.size() + room);
  Append(bytes);
}

void FileBytes::Reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  std::unique_ptr<char[]> larger =
      std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(larger.get(), data_.get(), size_);
  data_ = std::move(larger);
  capacity_ = capacity;
}

void FileBytes::Resize(std::size_t size) { size_ = std::min(size, capacity_); }

void FileBytes::Append(std::string_view bytes) {
  if (bytes.empty()) return;
  if (bytes.size() > capacity_ - size_) {
    Reserve(std::max(size_ + bytes.size(), capacity_ * 2));
  }
  std::memcpy(data_.get() + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

}  // namespace holvan
