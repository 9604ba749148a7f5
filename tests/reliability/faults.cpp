#include "faults.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace holvan::testing {

bool RunQuietly(const std::vector<std::string>& argv) {
  std::vector<std::string> copy = argv;
  std::vector<char*> args;
  for (std::string& arg : copy) args.push_back(arg.data());
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Immutable::Immutable(std::string path) : path_(std::move(path)) {
  ok_ = RunQuietly({"chattr", "+i", path_});
}

Immutable::~Immutable() { Lift(); }

void Immutable::Lift() {
  if (ok_) RunQuietly({"chattr", "-i", path_});
  ok_ = false;
}

SmallDisk::SmallDisk(std::string folder, std::size_t bytes)
    : folder_(std::move(folder)) {
  std::filesystem::create_directories(folder_);
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  ok_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  if (ok_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallDisk::FillLeaving(std::size_t free_bytes) {
  struct statvfs fs;
  if (::statvfs(folder_.c_str(), &fs) != 0) return;
  const std::size_t available =
      static_cast<std::size_t>(fs.f_bavail) * fs.f_frsize;
  if (available <= free_bytes) return;
  const std::string filler = folder_ + "/.filler";
  const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  std::string block(4096, 'x');
  std::size_t left = available - free_bytes;
  while (left > 0) {
    const std::size_t n = std::min(left, block.size());
    if (::write(fd, block.data(), n) <= 0) break;
    left -= n;
  }
  ::close(fd);
}

void SmallDisk::Free() { ::unlink((folder_ + "/.filler").c_str()); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ReportCase(const std::string& group, const std::string& name,
                const std::string& outcome, const std::string& verified) {
  std::printf("@@reliability|%s|%s|%s|%s\n", group.c_str(), name.c_str(),
              outcome.c_str(), verified.c_str());
  std::fflush(stdout);
}

std::string Reported(bool ok, const std::string& outcome) {
  return std::string(ok ? "ok" : "FAILED") + ": " + outcome;
}

}  // namespace holvan::testing
