#include "support/file_faults.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "support/waiting.h"

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
  return ExitStatus(WaitForChild(pid)) == 0;
}

FileAttribute::FileAttribute(std::string path, char flag)
    : path_(std::move(path)), flag_(flag) {
  ok_ = RunQuietly({"chattr", std::string("+") + flag_, path_});
}

FileAttribute::~FileAttribute() { Lift(); }

void FileAttribute::Lift() {
  if (ok_) RunQuietly({"chattr", std::string("-") + flag_, path_});
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

}  // namespace holvan::testing
