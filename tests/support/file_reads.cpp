#include "support/file_reads.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace holvan::testing {

FileReads::FileReads(const std::string& folder)
    : watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (watch_ >= 0 &&
      ::inotify_add_watch(watch_, folder.c_str(), IN_CLOSE_NOWRITE) < 0) {
    ::close(watch_);
    watch_ = -1;
  }
}

FileReads::~FileReads() {
  if (watch_ >= 0) ::close(watch_);
}

bool FileReads::Read(std::string_view name) {
  alignas(inotify_event) char buffer[4096];
  ssize_t got;
  while ((got = ::read(watch_, buffer, sizeof buffer)) > 0) {
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && std::string_view(event->name) == name) {
        return true;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return false;
}

}  // namespace holvan::testing
