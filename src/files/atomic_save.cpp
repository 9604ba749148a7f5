#include "files/atomic_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/temporaries.h"
#include "os/descriptors.h"

namespace holvan {
namespace {

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

void SyncDirectory(const std::string& directory) {
  Fd dir(OpenRetrying(directory.c_str(), O_RDONLY | O_DIRECTORY));
  // A folder that cannot be synced (some file systems refuse) still holds the
  // renamed file; the data itself was synced before the rename.
  if (dir.ok()) ::fsync(dir.get());
}

}  // namespace

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
  const mode_t mode = exists ? 0600 : 0666;
  // Unnamed where the folder allows, so that a kill leaves nothing behind.
  fd_ = CreateUnnamedTemporary(DirectoryOf(target_), mode);
  unnamed_ = fd_ >= 0;
  if (!unnamed_) fd_ = CreateTemporary(target_, mode, temporary_);
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

void AtomicFileWriter::Prepare() {
  if (fd_ < 0) return;
  Flush();
  if (::fsync(fd_) != 0) Fail(WriteError());
  // Named only now, whole and synced; Commit then only renames.
  if (unnamed_ && !NameTemporary(fd_, target_, temporary_)) {
    temporary_.clear();
    Fail(CreateError(path_));
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(WriteError());
}

void AtomicFileWriter::Commit() {
  Prepare();
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
