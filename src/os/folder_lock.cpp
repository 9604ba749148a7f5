#include "os/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace holvan {
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

NarrowText LockFilePath(const NarrowText& folder) {
  return folder + "/" + NarrowText(kLockFileName);
}

/// Who holds the flock on fd's file.
std::optional<LockHolder> FlockHolderOn(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return FlockHolder(st.st_dev, st.st_ino);
}

}  // namespace

FolderLock FolderLock::TryLock(const NarrowText& folder) {
  Fd folder_fd(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOCTTY));
  if (!folder_fd.ok()) return TryLockFile(folder);
  if (!Lock(folder_fd.get())) {
    return errno == EWOULDBLOCK ? Busy(FlockHolderOn(folder_fd.get()))
                                : TryLockFile(folder);
  }
  // The lock file of a holder that could not lock the folder itself. No such
  // holder follows a link or locks what is not a regular file.
  Fd file(OpenRetrying(LockFilePath(folder).c_str(),
                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
  if (!file.ok()) {
    if (errno != ENOENT && errno != ELOOP) return Unavailable(errno);
  } else if (!IsRegular(file.get())) {
    file = Fd(-1);
  } else if (!Lock(file.get())) {
    return errno == EWOULDBLOCK ? Busy(FlockHolderOn(file.get()))
                                : Unavailable(errno);
  }
  return FolderLock(State::kHeld, std::move(folder_fd), std::move(file));
}

FolderLock FolderLock::TryLockFile(const NarrowText& folder) {
  Fd file(OpenRetrying(LockFilePath(folder).c_str(),
                       O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY,
                       0600));
  if (!file.ok()) return Unavailable(errno);
  if (!IsRegular(file.get())) return Unavailable(EINVAL);
  if (!Lock(file.get())) {
    return errno == EWOULDBLOCK ? Busy(FlockHolderOn(file.get()))
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
  return FolderLock(State::kHeld, Fd(-1), std::move(file));
}

FolderLock::FolderLock(State state, Fd folder, Fd file, int error)
    : folder_(std::move(folder)),
      file_(std::move(file)),
      state_(state),
      error_(error) {}

FolderLock FolderLock::Busy(std::optional<LockHolder> holder) {
  FolderLock busy(State::kBusy, Fd(-1), Fd(-1));
  busy.holder_ = std::move(holder);
  return busy;
}

FolderLock FolderLock::Unavailable(int error) {
  return FolderLock(State::kUnavailable, Fd(-1), Fd(-1), error);
}

}  // namespace holvan
