#include "term/line_reader.h"

#include <unistd.h>

#include <cerrno>

namespace holvan::term {

bool LineReader::Fill() {
  buffer_.erase(0, start_);
  start_ = 0;
  char chunk[65536];
  while (true) {
    const ssize_t got = read(fd_, chunk, sizeof chunk);
    if (got > 0) {
      buffer_.append(chunk, static_cast<std::size_t>(got));
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    ended_ = true;
    return false;
  }
}

std::optional<std::string> LineReader::Next() {
  std::size_t end = buffer_.find('\n', start_);
  std::size_t next = end + 1;
  if (end == std::string::npos) {
    if (!ended_ || start_ == buffer_.size()) return std::nullopt;
    end = next = buffer_.size();
  }
  std::string line = buffer_.substr(start_, end - start_);
  start_ = next;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace holvan::term
