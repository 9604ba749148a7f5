#include "os/lock_messages.h"

#include <cstring>
#include <string>

#include "text/cp932.h"
#include "text/literal.h"

namespace holvan {
namespace {

using namespace holvan::literals;

/// "フォルダ /x をロックできません（Permission denied）".
NarrowText NoLockText(const NarrowText& folder, const FolderLock& lock) {
  const char* reason = ::strerrordesc_np(lock.error());
  return "フォルダ "_sj + Utf8ToNarrow(folder) + " をロックできません（"_sj +
         (reason != nullptr ? NarrowText(reason)
                            : "error " + std::to_string(lock.error())) +
         "）"_sj;
}

}  // namespace

NarrowText FolderBusyMessage(const std::optional<LockHolder>& holder) {
  const NarrowText& started = "Holvan はこのフォルダですでに起動しています"_sj;
  if (!holder) return started;
  return IsHolvan(*holder) ? started + WhichHolvan(*holder)
                           : HolderUsesFolder(*holder);
}

NarrowText UnlockedStartMessage(const NarrowText& folder,
                                const FolderLock& lock) {
  return NoLockText(folder, lock) + "。ロックせずに起動します"_sj;
}

NarrowText UnlockedEditMessage(const NarrowText& folder,
                               const FolderLock& lock) {
  return NoLockText(folder, lock) + "。ロックできないときは編集しません"_sj;
}

}  // namespace holvan
