#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

namespace holvan::fuzz {

/// One temporary folder for the whole fuzzing process, emptied between runs
/// and removed at exit.
class ScratchDir {
 public:
  /// The process's folder, created on first use.
  static ScratchDir& Get();

  const std::string& path() const { return path_; }
  /// path() + "/" + name.
  std::string File(std::string_view name) const;
  /// Removes every entry of the folder.
  void Empty() const;
  /// Writes bytes exactly to name.
  void Write(std::string_view name, std::string_view bytes) const;
  /// All bytes of name; "" when it is absent.
  std::string Read(std::string_view name) const;
  bool Exists(std::string_view name) const;
  /// Empties the folder and writes into it each section named in names;
  /// returns those sections by name.
  std::map<std::string, std::string> PlaceFiles(
      const std::map<std::string, std::string>& sections,
      std::span<const char* const> names) const;

 private:
  ScratchDir();
  ~ScratchDir();
  std::string path_;
};

}  // namespace holvan::fuzz
