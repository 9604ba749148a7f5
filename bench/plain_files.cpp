// What a start and close cannot do without: reads the four data files of the
// current folder whole, then writes the three that the close writes back as
// a save does (a temporary beside each, written, synced and renamed over
// it; then the folder synced). Nothing of Holvan: the floor that holvan-term's
// start and close are measured against, timed from outside the same way.
//
// usage: holvan-bench-plain-files

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The file's bytes, read whole; exits on a failure.
std::string ReadWhole(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    std::perror(path);
    std::exit(1);
  }
  std::string bytes;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  ::lseek(fd, 0, SEEK_SET);
  bytes.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::perror(path);
      std::exit(1);
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return bytes;
}

// bytes written to a temporary beside path, synced and renamed over it.
void SaveWhole(const char* path, const std::string& bytes) {
  const std::string temporary = std::string(path) + ".plain-tmp";
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror(temporary.c_str());
    std::exit(1);
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::perror(temporary.c_str());
      std::exit(1);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0 ||
      std::rename(temporary.c_str(), path) != 0) {
    std::perror(path);
    std::exit(1);
  }
}

}  // namespace

int main() {
  constexpr const char* kRead[] = {"brain.dat", "dic.dat", "res.dat",
                                   "holv.dat"};
  // dic.dat is only read: the close never writes it.
  constexpr const char* kWritten[] = {"holv.dat", "brain.dat", "res.dat"};
  std::vector<std::string> contents;
  for (const char* name : kRead) contents.push_back(ReadWhole(name));
  for (const char* name : kWritten) {
    for (std::size_t i = 0; i < std::size(kRead); ++i) {
      if (std::strcmp(kRead[i], name) == 0) SaveWhole(name, contents[i]);
    }
  }
  const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0 || ::fsync(folder) != 0) {
    std::perror(".");
    return 1;
  }
  ::close(folder);
  return 0;
}
