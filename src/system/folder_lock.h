#pragma once

#include "text/narrow_text.h"

namespace holvan::system {

/// An exclusive advisory lock (flock) on a folder, taken on a descriptor of
/// the folder itself: no lock file is made, and the lock goes with the last
/// descriptor, so a killed holder never leaves it behind. Held for the life
/// of the object; programs started meanwhile do not inherit it.
class FolderLock {
 public:
  enum class State {
    kHeld,
    /// Another holder has it.
    kBusy,
    /// The folder cannot be opened or its file system takes no locks.
    kUnavailable,
  };

  /// Takes the lock of folder if it is free, without waiting.
  static FolderLock TryLock(const NarrowText& folder);

  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  ~FolderLock();

  State state() const { return state_; }
  bool held() const { return state_ == State::kHeld; }
  bool busy() const { return state_ == State::kBusy; }

 private:
  FolderLock(int fd, State state) : fd_(fd), state_(state) {}

  int fd_;
  State state_;
};

/// "Holvan はこのフォルダですでに起動しています": what a start on a folder
/// whose lock another holds says.
NarrowText FolderBusyMessage();

}  // namespace holvan::system
