#include "memory/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "errors/error.h"
#include "os/descriptors.h"

namespace holvan::memory {

bool MakePrivateFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);;
       slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) == 0) {
      // The umask may have taken the owner's own bits.
      if (::chmod(part.c_str(), 0700) != 0) return false;
      const std::size_t above = part.rfind('/');
      SyncFolder(above == std::string::npos ? "."
                 : above == 0               ? "/"
                                            : part.substr(0, above));
    } else if (errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void WriteNewFile(int folder_fd, const std::string& name,
                  std::string_view bytes, const std::string& path) {
  Fd file(::openat(folder_fd, name.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!file.ok()) throw CreateError(path);
  if (::fchmod(file.get(), 0600) == 0 && WriteAll(file.get(), bytes) &&
      ::fsync(file.get()) == 0) {
    return;
  }
  const bool too_large = errno == EFBIG;
  ::unlinkat(folder_fd, name.c_str(), 0);
  throw too_large ? CreateError(path) : WriteError();
}

void SyncFolder(const std::string& folder) {
  const Fd fd(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.ok()) ::fsync(fd.get());
}

}  // namespace holvan::memory
