#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace holvan {

/// Bytes in one block of memory that is not cleared before it is filled (a
/// file read, a copy), with room after them for more.
class FileBytes {
 public:
  FileBytes() = default;
  /// A copy of bytes with room for room more.
  FileBytes(std::string_view bytes, std::size_t room);

  const char* data() const { return data_.get(); }
  char* data() { return data_.get(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  /// The bytes that fit after these before a larger block is needed.
  std::size_t spare() const { return capacity_ - size_; }
  std::string_view view() const { return {data_.get(), size_}; }
  operator std::string_view() const { return view(); }

  /// Makes room for capacity bytes in all, moving the bytes to a larger
  /// block when theirs is too small.
  void Reserve(std::size_t capacity);
  /// The size becomes size, at most the room made; bytes past the old size
  /// are whatever was written there.
  void Resize(std::size_t size);
  /// Adds bytes at the end, in a larger block when there is no room left.
  void Append(std::string_view bytes);

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace holvan
