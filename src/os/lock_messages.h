#pragma once

#include <optional>

#include "os/folder_lock.h"
#include "os/lock_holder.h"
#include "text/narrow_text.h"

namespace holvan {

// What the programs say when the folder's lock is not theirs. Folders are the
// system's bytes (UTF-8 on Linux), shown in code page 932.

/// What a start of Holvan on a folder that another holds says: "Holvan
/// はこのフォルダですでに起動しています" with which Holvan holds it
/// ("（holvan-term、プロセス 1234）"), or who else does
/// ("「記憶の整理」（プロセス 1234）がこのフォルダを使っています"); the first
/// alone when it is not known.
NarrowText FolderBusyMessage(const std::optional<LockHolder>& holder);

/// What Holvan says before it starts without a lock: "フォルダ /x
/// をロックできません（Permission denied）。ロックせずに起動します".
NarrowText UnlockedStartMessage(const NarrowText& folder,
                                const FolderLock& lock);

/// Why the memory tools do not edit a folder that cannot be locked:
/// "フォルダ /x をロックできません（…）。ロックできないときは編集しません".
NarrowText UnlockedEditMessage(const NarrowText& folder,
                               const FolderLock& lock);

}  // namespace holvan
