#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Ways to make file operations fail even for root, who passes every
// permission check.

namespace holvan::testing {

/// Runs a command line without a shell, its output thrown away; true when it
/// exits 0.
bool RunQuietly(const std::vector<std::string>& argv);

/// A file attribute set with chattr on a file or folder for the object's
/// lifetime: 'i' (immutable: nothing can replace, rename or add entries to
/// it) or 'a' (append only), which not even root can write through.
class FileAttribute {
 public:
  explicit FileAttribute(std::string path, char flag = 'i');
  ~FileAttribute();
  FileAttribute(const FileAttribute&) = delete;
  FileAttribute& operator=(const FileAttribute&) = delete;
  /// False where the file system or privileges refuse it.
  bool ok() const { return ok_; }
  /// Lifts it early.
  void Lift();

 private:
  std::string path_;
  char flag_;
  bool ok_ = false;
};

/// A small tmpfs mounted on a folder for its lifetime (root only).
class SmallDisk {
 public:
  SmallDisk(std::string folder, std::size_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool ok() const { return ok_; }
  /// Fills the disk with a filler file until about free_bytes are left.
  void FillLeaving(std::size_t free_bytes);
  /// Removes the filler.
  void Free();

 private:
  std::string folder_;
  bool ok_ = false;
};

}  // namespace holvan::testing
