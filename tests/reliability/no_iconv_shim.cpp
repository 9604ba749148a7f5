// Preloaded into holvan-term to play a system without glibc's conversion
// modules: no converter can ever be opened.
#include <errno.h>
#include <iconv.h>

extern "C" iconv_t iconv_open(const char*, const char*) {
  errno = EINVAL;
  return reinterpret_cast<iconv_t>(-1);
}
