#include "os/lock_holder.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "os/descriptors.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan {
namespace {

using namespace literals;

/// The whole text of a file of /proc, whose size stat does not tell; empty
/// when it cannot be read.
std::string ReadProcFile(const std::string& path) {
  const Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NOCTTY));
  std::string text;
  if (!fd.ok()) return text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

HolderProgram ProgramNamed(std::string_view command) {
  if (command == "holvan") return HolderProgram::kWindow;
  if (command == "holvan-term") return HolderProgram::kTerm;
  // holvan-memory-editor, cut.
  if (command == "holvan-memory-e") return HolderProgram::kEditor;
  if (command == "holvan-memory") return HolderProgram::kMemoryTool;
  return HolderProgram::kOther;
}

NarrowText HolderName(const LockHolder& holder) {
  switch (holder.program) {
    case HolderProgram::kWindow:
      return "Holvan のウィンドウ"_sj;
    case HolderProgram::kTerm:
      return "holvan-term";
    case HolderProgram::kEditor:
      return "「記憶の整理」"_sj;
    case HolderProgram::kMemoryTool:
      return "holvan-memory";
    case HolderProgram::kOther:
      break;
  }
  return holder.command;
}

NarrowText ProcessNumber(const LockHolder& holder) {
  return "プロセス "_sj + IntText(holder.pid);
}

}  // namespace

std::optional<pid_t> FlockTaker(std::string_view table, dev_t device,
                                ino_t inode) {
  std::optional<pid_t> exact;
  std::optional<pid_t> by_inode;
  bool one_by_inode = true;
  while (!table.empty() && !exact) {
    const std::size_t end = table.find('\n');
    const std::string line(table.substr(0, end));
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    // "1: FLOCK  ADVISORY  WRITE 1234 fe:00:10960944 0 EOF"; a waiter's line
    // has "->" before FLOCK.
    char kind[16];
    int pid;
    unsigned major_number;
    unsigned minor_number;
    uintmax_t inode_number;
    if (std::sscanf(line.c_str(), "%*d: %15s %*s %*s %d %x:%x:%" SCNuMAX, kind,
                    &pid, &major_number, &minor_number, &inode_number) != 5 ||
        std::strcmp(kind, "FLOCK") != 0 || inode_number != inode) {
      continue;
    }
    if (major_number == major(device) && minor_number == minor(device)) {
      exact = pid;
    } else if (!by_inode) {
      by_inode = pid;
    } else if (*by_inode != pid) {
      one_by_inode = false;
    }
  }
  if (exact) return exact;
  return one_by_inode ? by_inode : std::nullopt;
}

std::string KernelLockTable() { return ReadProcFile("/proc/locks"); }

std::optional<LockHolder> HolderOf(pid_t pid) {
  if (pid <= 0) return std::nullopt;
  std::string command = ReadProcFile("/proc/" + std::to_string(pid) + "/comm");
  if (command.empty()) return std::nullopt;
  if (command.back() == '\n') command.pop_back();
  for (char& c : command) {
    if (c < 0x20 || c > 0x7e) c = '?';
  }
  return LockHolder{pid, ProgramNamed(command), command};
}

std::optional<LockHolder> FlockHolder(dev_t device, ino_t inode) {
  const std::optional<pid_t> pid = FlockTaker(KernelLockTable(), device, inode);
  return pid ? HolderOf(*pid) : std::nullopt;
}

bool IsHolvan(const LockHolder& holder) {
  return holder.program == HolderProgram::kWindow ||
         holder.program == HolderProgram::kTerm;
}

NarrowText HolderUsesFolder(const LockHolder& holder) {
  return HolderName(holder) + "（"_sj + ProcessNumber(holder) +
         "）がこのフォルダを使っています"_sj;
}

NarrowText WhichHolvan(const LockHolder& holder) {
  return "（"_sj + HolderName(holder) + "、"_sj + ProcessNumber(holder) +
         "）"_sj;
}

}  // namespace holvan
