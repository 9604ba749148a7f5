#include "system/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "store/data_files.h"

namespace holvan::system {
namespace {

/// Takes fd's flock without waiting; false, errno set, when it is not taken.
bool Lock(int fd) {
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

bool IsRegular(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

/// Who holds the flock on fd's file.
std::optional<LockHolder> HolderOfFileOf(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return FlockHolder(st.st_dev, st.st_ino);
}

}  // namespace

FolderLock FolderLock::TryLock(const NarrowText& folder) {
  Fd folder_fd(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOCTTY));
  if (!folder_fd.ok()) return TryLockFile(folder);
  if (!Lock(folder_fd.get())) {
    return errno == EWOULDBLOCK ? Busy(HolderOfFileOf(folder_fd.get()))
                                : TryLockFile(folder);
  }
  FolderLock lock;
  lock.folder_ = std::move(folder_fd);
  // The lock file of a holder that could not lock the folder itself. No such
  // holder follows a link or locks what is not a regular file.
  Fd file(OpenRetrying(DataFilePath(folder, kLockFileName).c_str(),
                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
  if (!file.ok()) {
    return errno == ENOENT || errno == ELOOP ? std::move(lock)
                                             : Unavailable(errno);
  }
  if (!IsRegular(file.get())) return lock;
  if (!Lock(file.get())) {
    return errno == EWOULDBLOCK ? Busy(HolderOfFileOf(file.get()))
                                : Unavailable(errno);
  }
  lock.file_ = std::move(file);
  return lock;
}

FolderLock FolderLock::TryLockFile(const NarrowText& folder) {
  Fd file(OpenRetrying(DataFilePath(folder, kLockFileName).c_str(),
                       O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY,
                       0600));
  if (!file.ok()) return Unavailable(errno);
  if (!IsRegular(file.get())) return Unavailable(EINVAL);
  if (!Lock(file.get())) {
    return errno == EWOULDBLOCK ? Busy(HolderOfFileOf(file.get()))
                                : Unavailable(errno);
  }
  // A holder of the folder's own lock that looked for this file before it
  // was made holds the folder without it.
  struct stat st;
  if (::stat(folder.c_str(), &st) == 0) {
    if (const std::optional<pid_t> taker =
            FlockTaker(KernelLockTable(), st.st_dev, st.st_ino)) {
      return Busy(HolderOf(*taker));
    }
  }
  FolderLock lock;
  lock.file_ = std::move(file);
  return lock;
}

FolderLock FolderLock::Busy(std::optional<LockHolder> holder) {
  FolderLock busy;
  busy.state_ = State::kBusy;
  busy.holder_ = std::move(holder);
  return busy;
}

FolderLock FolderLock::Unavailable(int error) {
  FolderLock unavailable;
  unavailable.state_ = State::kUnavailable;
  unavailable.error_ = error;
  return unavailable;
}

}  // namespace holvan::system
