#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace holvan::testing {

/// chattr +i on a file or folder for its lifetime: nothing can replace,
/// rename or add entries to it, not even root.
class Immutable {
 public:
  explicit Immutable(std::string path);
  ~Immutable();
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;
  /// False where the file system or privileges refuse it.
  bool ok() const { return ok_; }
  /// Lifts it early.
  void Lift();

 private:
  std::string path_;
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

/// Writes bytes to path exactly.
void WriteFile(const std::string& path, const std::string& bytes);
/// All bytes of path; "" when it cannot be read.
std::string ReadFile(const std::string& path);

/// The entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

/// Runs a shell-free command line; true when it exits 0.
bool RunQuietly(const std::vector<std::string>& argv);

/// One row of the reliability summary: scripts/reliability collects these
/// lines from the test output into its table.
void ReportCase(const std::string& group, const std::string& name,
                const std::string& outcome, const std::string& verified);
/// The outcome column of a case: "ok: " or "FAILED: " before what it shows.
std::string Reported(bool ok, const std::string& outcome);

}  // namespace holvan::testing
