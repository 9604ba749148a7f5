#pragma once

#include <string>
#include <string_view>

namespace holvan::testing {

/// Notes the files of a folder that a process reads, through inotify.
class FileReads {
 public:
  explicit FileReads(const std::string& folder);
  ~FileReads();
  FileReads(const FileReads&) = delete;
  FileReads& operator=(const FileReads&) = delete;

  /// Whether the watch was set up.
  bool watching() const { return watch_ >= 0; }
  /// Whether a file of that name was opened for reading and closed since
  /// the last look.
  bool Read(std::string_view name);

 private:
  int watch_;
};

}  // namespace holvan::testing
