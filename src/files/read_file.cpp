#include "files/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "errors/error.h"
#include "os/descriptors.h"
#include "os/ram_room.h"

namespace holvan {

bool FileExists(const NarrowText& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileBytes ReadFileBytes(const NarrowText& path, TooLarge too_large,
                        std::size_t room, uint64_t most) {
  // Non-blocking, so that a FIFO planted in a data file's place cannot hang
  // the program; only a regular file is read.
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
  struct stat st;
  if (!fd.ok() || ::fstat(fd.get(), &st) != 0) throw OpenError(path, errno);
  if (!S_ISREG(st.st_mode)) {
    throw OpenError(path, S_ISDIR(st.st_mode) ? EISDIR : 0);
  }
  const auto refuse = [&] {
    return too_large == TooLarge::kCapacityError ? CapacityError()
                                                 : OpenError(path);
  };
  // The size is a hint: the file may grow or shrink while it is read.
  const uint64_t hint = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
  if (hint > most || !FitsInRam(hint + 1 + room)) throw refuse();
  FileBytes bytes;
  try {
    // One byte past the hint, so that the end of the file is found without
    // first making the block larger.
    bytes.Reserve((hint > 0 ? static_cast<size_t>(hint) + 1 : 65536) + room);
    for (;;) {
      if (bytes.spare() == room) bytes.Reserve(2 * bytes.size() + room);
      ssize_t n;
      do {
        n = ::read(fd.get(), bytes.data() + bytes.size(), bytes.spare() - room);
      } while (n < 0 && errno == EINTR);
      if (n < 0) throw OpenError(path, errno);
      if (n == 0) break;
      bytes.Resize(bytes.size() + static_cast<size_t>(n));
      if (bytes.size() > most) throw refuse();
    }
  } catch (const std::bad_alloc&) {
    throw refuse();
  }
  return bytes;
}

}  // namespace holvan
