#pragma once

#include <optional>
#include <string>

namespace holvan::term {

/// Splits what arrives on a file descriptor into lines, as it arrives.
class LineReader {
 public:
  explicit LineReader(int fd) : fd_(fd) {}

  /// Reads what is there (blocking when nothing is). Returns false at the end
  /// of input or on a read error.
  bool Fill();
  /// The next whole line without its "\n" and a trailing CR; after the end of
  /// input also the last line that had no "\n".
  std::optional<std::string> Next();

 private:
  int fd_;
  std::string buffer_;
  /// Where the lines not yet taken start in buffer_.
  std::size_t start_ = 0;
  bool ended_ = false;
};

}  // namespace holvan::term
