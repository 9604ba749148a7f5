#pragma once

#include <optional>
#include <string_view>

#include "os/descriptors.h"
#include "os/lock_holder.h"
#include "text/narrow_text.h"

namespace holvan {

/// The hidden file whose lock stands for the folder's own where the folder
/// cannot be opened to be locked (a folder that may be written and searched
/// but not read, or a file system that locks files but not folders).
inline constexpr std::string_view kLockFileName = ".holvan.lock";

/// An exclusive advisory lock (flock) on a folder, held for the life of the
/// object; the lock goes with the last descriptor, so a killed holder never
/// leaves it behind, and programs started meanwhile do not inherit it.
///
/// It is taken on a descriptor of the folder itself, and then also on the
/// lock file when that file is there. Where the folder cannot be opened or
/// locked, the lock file (made when missing, never followed through a link)
/// is locked instead, and the folder's own lock, which a holder of that kind
/// cannot take, is looked for in the kernel's lock table. So the two kinds of
/// holder always exclude each other.
class FolderLock {
 public:
  enum class State {
    kHeld,
    /// Another holder has it.
    kBusy,
    /// Neither the folder nor the lock file can be locked.
    kUnavailable,
  };

  /// Takes the lock of folder if it is free, without waiting.
  static FolderLock TryLock(const NarrowText& folder);

  State state() const { return state_; }
  bool held() const { return state_ == State::kHeld; }
  bool busy() const { return state_ == State::kBusy; }
  /// Who holds it, when it is busy and the kernel tells.
  const std::optional<LockHolder>& holder() const { return holder_; }
  /// Why it is unavailable: the errno of the step that failed.
  int error() const { return error_; }

 private:
  FolderLock(State state, Fd folder, Fd file, int error = 0);
  static FolderLock Busy(std::optional<LockHolder> holder);
  static FolderLock Unavailable(int error);
  /// The lock file's lock alone, for a folder that cannot be locked itself.
  static FolderLock TryLockFile(const NarrowText& folder);

  Fd folder_;
  Fd file_;
  State state_;
  std::optional<LockHolder> holder_;
  int error_;
};

}  // namespace holvan
