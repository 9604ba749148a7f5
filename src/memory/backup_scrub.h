#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "text/narrow_text.h"

namespace holvan::memory {

/// What RemovePhrasesFromBackups did.
struct PhrasesRemoved {
  /// The backups that held one of the phrases and no longer do.
  int64_t backups = 0;
  /// Folders in the root whose res.dat still holds one, left as they are
  /// because they are not wholly Holvan's: without its mark (backups made
  /// before backups had one), or holding something more.
  std::vector<std::string> left;
};

/// Removes every line of res.dat equal to one of phrases (code page 932)
/// from each backup in root, whole or damaged: the backup is copied with its
/// new res.dat and manifest into a hidden folder, synced, and put in its
/// place whole, every other byte as it was. Removes first what processes
/// killed part way left in root. Raises the error of a backup that cannot be
/// changed; those changed before stay changed.
PhrasesRemoved RemovePhrasesFromBackups(const std::string& root,
                                        std::span<const NarrowText> phrases);

}  // namespace holvan::memory
