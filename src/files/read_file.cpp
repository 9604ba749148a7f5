#include "files/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "errors/error.h"
#include "files/descriptors.h"
#include "files/memory_room.h"

namespace holvan {

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

}  // namespace holvan
