// Preloaded into holvan-memory to make one file impossible to put in place:
// every rename onto a path that ends in $HOLVAN_FAIL_RENAME_TO fails (EIO).
#include <dlfcn.h>
#include <errno.h>
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
