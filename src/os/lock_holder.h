#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan {

/// The programs that hold a memory folder's lock, told apart by the name the
/// kernel keeps for a process (/proc/PID/comm, cut at 15 bytes).
enum class HolderProgram { kWindow, kTerm, kEditor, kMemoryTool, kOther };

/// A process that holds a lock.
struct LockHolder {
  pid_t pid = 0;
  HolderProgram program = HolderProgram::kOther;
  /// Its name as the kernel keeps it, each byte that is not printable ASCII
  /// shown as "?".
  std::string command;
};

/// The process id that a text of the kernel's lock table (/proc/locks) gives
/// for a flock on the file (device, inode): nothing when it lists none; 0 when
/// the holder lives where this process cannot see it. Where no line names the
/// device too (file systems whose stat tells another device, as btrfs does),
/// a flock on that inode number serves when all such lines name one process.
std::optional<pid_t> FlockTaker(std::string_view table, dev_t device,
                                ino_t inode);

/// The text of /proc/locks; empty when it cannot be read.
std::string KernelLockTable();

/// The process pid as a holder; nothing when it is gone or cannot be seen.
std::optional<LockHolder> HolderOf(pid_t pid);

/// The holder of the flock on the file (device, inode), as the kernel tells.
std::optional<LockHolder> FlockHolder(dev_t device, ino_t inode);

/// Whether the holder is Holvan itself: its window or holvan-term.
bool IsHolvan(const LockHolder& holder);

/// "「記憶の整理」（プロセス 1234）がこのフォルダを使っています".
NarrowText HolderUsesFolder(const LockHolder& holder);

/// "（holvan-term、プロセス 1234）": which Holvan, after a sentence about it.
NarrowText WhichHolvan(const LockHolder& holder);

}  // namespace holvan
