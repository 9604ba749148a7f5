#include "files/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <new>
#include <optional>

#include "errors/error.h"
#include "files/memory_room.h"
#include "text/numbers.h"

namespace holvan {
namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now; false when the close reports an error.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd, p, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    p += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a chain of symbolic links ends at (the path itself when it is no
// link); a link target that is relative is taken beside the link.
std::string FollowLinks(std::string path) {
  constexpr int kMaxLinks = 40;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256),
                       '\0');
    ssize_t n;
    while ((n = ::readlink(path.c_str(), target.data(), target.size())) ==
           static_cast<ssize_t>(target.size())) {
      target.resize(target.size() * 2);
    }
    if (n < 0) return path;
    target.resize(static_cast<size_t>(n));
    if (target.empty()) return path;
    path = target[0] == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  return path;
}

// A temporary's name is the target's, this mark, the process id of the
// save, "-" and a number, both in shortest decimal form.
constexpr std::string_view kTemporaryMark = ".tmp";

std::string TemporaryName(const std::string& target, int32_t pid,
                          int32_t number) {
  return target + std::string(kTemporaryMark) + IntText(pid) + "-" +
         IntText(number);
}

// The value of digits in shortest decimal form up to INT32_MAX, or nothing.
std::optional<int32_t> ShortestDecimal(std::string_view digits) {
  if (digits.empty() || digits.size() > 10 ||
      (digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// The process id in name when it is a temporary of target_name's save.
std::optional<int32_t> TemporaryOwner(std::string_view name,
                                      std::string_view target_name) {
  if (target_name.empty() || !name.starts_with(target_name)) {
    return std::nullopt;
  }
  name.remove_prefix(target_name.size());
  if (!name.starts_with(kTemporaryMark)) return std::nullopt;
  name.remove_prefix(kTemporaryMark.size());
  const size_t dash = name.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> pid = ShortestDecimal(name.substr(0, dash));
  if (!pid || *pid == 0 || !ShortestDecimal(name.substr(dash + 1))) {
    return std::nullopt;
  }
  return pid;
}

// Whether the process that named a temporary with pid may still be saving.
// This process has not saved yet, so a name with its own id is stale too.
bool StillRunning(int32_t pid) {
  return pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM);
}

// A temporary file beside target with the given mode (less the umask),
// created exclusively and never through a link; returns its name in name, or
// -1.
int CreateTemporary(const std::string& target, mode_t mode, std::string& name) {
  static uint32_t counter = 0;
  uint64_t stamp = static_cast<uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    uint32_t mix = static_cast<uint32_t>(stamp ^ (stamp >> 32)) +
                   (++counter) * 2654435761u;
    name = TemporaryName(target, static_cast<int32_t>(::getpid()),
                         static_cast<int32_t>(mix & 0x7FFFFFFF));
    int fd = OpenRetrying(name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void SyncDirectory(const std::string& directory) {
  Fd dir(OpenRetrying(directory.c_str(), O_RDONLY | O_DIRECTORY));
  // A folder that cannot be synced (some file systems refuse) still holds the
  // renamed file; the data itself was synced before the rename.
  if (dir.ok()) ::fsync(dir.get());
}

}  // namespace

void RemoveStaleTemporaries(const NarrowText& folder,
                            std::span<const std::string_view> targets) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    for (std::string_view target : targets) {
      const std::optional<int32_t> pid = TemporaryOwner(name, target);
      if (!pid || StillRunning(*pid)) continue;
      struct stat st;
      if (::fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISREG(st.st_mode)) {
        ::unlinkat(dir_fd, entry->d_name, 0);
      }
      break;
    }
  }
  ::closedir(dir);
}

bool FileExists(const NarrowText& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

NarrowText ReadFileBytes(const NarrowText& path, TooLarge too_large) {
  // Non-blocking, so that a FIFO planted in a data file's place cannot hang
  // the program; only a regular file is read.
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
  struct stat st;
  if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    throw OpenError(path);
  }
  const auto refuse = [&] {
    return too_large == TooLarge::kCapacityError ? CapacityError()
                                                 : OpenError(path);
  };
  // The size is a hint: the file may grow or shrink while it is read.
  const uint64_t hint = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
  if (!FitsInMemory(hint + 1)) throw refuse();
  NarrowText bytes;
  size_t used = 0;
  try {
    bytes.resize(hint > 0 ? static_cast<size_t>(hint) + 1 : 65536);
    for (;;) {
      if (used == bytes.size()) bytes.resize(bytes.size() * 2);
      ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw OpenError(path);
      }
      if (n == 0) break;
      used += static_cast<size_t>(n);
    }
  } catch (const std::bad_alloc&) {
    throw refuse();
  }
  bytes.resize(used);
  return bytes;
}

AtomicFileWriter::AtomicFileWriter(const NarrowText& path) : path_(path) {
  if (path.empty()) throw CreateError(path);
  target_ = FollowLinks(path);

  struct stat old;
  bool exists = ::stat(target_.c_str(), &old) == 0;
  // Anything but a plain absence (a link loop, a folder that cannot be
  // searched) means the target cannot be told apart safely.
  if (!exists && errno != ENOENT) throw CreateError(path);
  if (exists) {
    // Only a regular file is replaced, and only one that could be written in
    // place: a read-only or immutable file is not swapped behind its back.
    if (!S_ISREG(old.st_mode)) throw CreateError(path);
    Fd probe(OpenRetrying(target_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK));
    if (!probe.ok()) throw CreateError(path);
  }

  // A new file gets the usual mode; a replacement starts private and then
  // takes the old file's owner (only root can) and permission bits. Where the
  // file system keeps neither, the private mode stays.
  fd_ = CreateTemporary(target_, exists ? 0600 : 0666, temporary_);
  if (fd_ < 0) throw CreateError(path);
  if (exists) {
    if (::geteuid() == 0) {
      [[maybe_unused]] int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    }
    [[maybe_unused]] int ignored = ::fchmod(fd_, old.st_mode & 07777);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicFileWriter::AppendPastBuffer(std::string_view bytes) {
  Flush();
  if (bytes.size() < kBufferSize) {
    Append(bytes);
  } else if (!WriteAll(fd_, bytes)) {
    FailWriting();
  }
}

void AtomicFileWriter::Commit() {
  Flush();
  if (::fsync(fd_) != 0) Fail(WriteError());
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(WriteError());
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(CreateError(path_));
  }
  temporary_.clear();
  SyncDirectory(DirectoryOf(target_));
}

void AtomicFileWriter::Flush() {
  if (!WriteAll(fd_, std::string_view(buffer_.get(), used_))) FailWriting();
  used_ = 0;
}

void AtomicFileWriter::FailWriting() {
  // Past the file-size limit the file cannot be made at all: the create
  // error names it.
  if (errno == EFBIG) Fail(CreateError(path_));
  Fail(WriteError());
}

void AtomicFileWriter::Fail(const Error& error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temporary_.c_str());
  temporary_.clear();
  throw error;
}

void SaveFileAtomically(const NarrowText& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.Append(bytes);
  writer.Commit();
}

}  // namespace holvan
