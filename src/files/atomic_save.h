#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "errors/error.h"
#include "text/narrow_text.h"

namespace holvan {

/// Replaces the file's content by bytes without ever leaving a partial file:
/// a temporary beside the target (without a name until it is whole and
/// synced where the file system allows, else exclusive; never following a
/// planted link), every write checked, fsync, rename over the target, fsync
/// of the folder.
/// Keeps the target's permission bits and writes through a symbolic link to
/// the file it names. Raises the create error when the target or temporary
/// cannot be created or would grow past the process's file-size limit, the
/// write error when another write or flush fails; the old file then stays
/// intact and the temporary is removed.
void SaveFileAtomically(const NarrowText& path, std::string_view bytes);

/// SaveFileAtomically with the content given piece by piece, gathered into
/// large writes. The temporary is removed unless Commit succeeds.
class AtomicFileWriter {
 public:
  /// Creates the temporary beside path; raises the create error as
  /// SaveFileAtomically does.
  explicit AtomicFileWriter(const NarrowText& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  /// Adds bytes at the end; raises as SaveFileAtomically does when a write
  /// fails.
  void Append(std::string_view bytes) {
    if (bytes.size() <= kBufferSize - used_) {
      // An empty view may have no data at all, which memcpy must not see.
      if (!bytes.empty()) {
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
      }
      used_ += bytes.size();
      return;
    }
    AppendPastBuffer(bytes);
  }
  /// Writes the rest and syncs: the temporary then holds the whole content,
  /// and Commit only renames. Raises as SaveFileAtomically does.
  void Prepare();
  /// Prepares when that is still to do and puts the file in the target's
  /// place; raises as SaveFileAtomically does.
  void Commit();
  /// The file that Commit replaces: the path, its links followed.
  const std::string& target() const { return target_; }

 private:
  static constexpr std::size_t kBufferSize = 1 << 20;

  /// Append for bytes that do not fit in what is left of the buffer.
  void AppendPastBuffer(std::string_view bytes);
  void Flush();
  /// Fails for the write that just failed, as errno tells.
  [[noreturn]] void FailWriting();
  /// Closes and removes the temporary, then raises error.
  [[noreturn]] void Fail(const Error& error);

  NarrowText path_;
  std::string target_;
  /// Empty while the temporary has no name.
  std::string temporary_;
  int fd_ = -1;
  /// Whether the temporary was made without a name, to be named by Prepare.
  bool unnamed_ = false;
  std::unique_ptr<char[]> buffer_ =
      std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
};

}  // namespace holvan
