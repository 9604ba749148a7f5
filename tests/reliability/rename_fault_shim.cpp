// Preloaded into holvan-memory to play renames that fail: every rename onto
// a path that ends in $HOLVAN_FAIL_RENAME_TO fails (EIO), and with
// $HOLVAN_NO_RENAME_EXCHANGE set the file system cannot exchange two names
// (EINVAL), as some cannot.
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>

#include <string_view>

extern "C" int rename(const char* from, const char* to) {
  using Rename = int (*)(const char*, const char*);
  static const Rename real =
      reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  const char* failing = getenv("HOLVAN_FAIL_RENAME_TO");
  if (failing != nullptr && std::string_view(to).ends_with(failing)) {
    errno = EIO;
    return -1;
  }
  return real(from, to);
}

extern "C" int renameat2(int from_dir, const char* from, int to_dir,
                         const char* to, unsigned int flags) {
  using Renameat2 = int (*)(int, const char*, int, const char*, unsigned int);
  static const Renameat2 real =
      reinterpret_cast<Renameat2>(dlsym(RTLD_NEXT, "renameat2"));
  if ((flags & RENAME_EXCHANGE) != 0 &&
      getenv("HOLVAN_NO_RENAME_EXCHANGE") != nullptr) {
    errno = EINVAL;
    return -1;
  }
  return real(from_dir, from, to_dir, to, flags);
}
