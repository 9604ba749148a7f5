#pragma once

#include <string>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan::testing {

/// The code page 932 bytes of a UTF-8 text.
NarrowText Sj(std::string_view utf8);

/// A fresh temporary folder for one test, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  /// path() + "/" + name.
  std::string File(std::string_view name) const;
  /// Writes bytes exactly.
  void WriteBytes(std::string_view name, std::string_view bytes) const;
  /// Writes a UTF-8 text as code page 932.
  void WriteSj(std::string_view name, std::string_view utf8) const;
  /// All bytes of the file; "" when it is absent.
  std::string ReadBytes(std::string_view name) const;
  bool Exists(std::string_view name) const;

 private:
  std::string path_;
};

}  // namespace holvan::testing
