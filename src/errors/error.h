#pragma once

#include <cstdint>
#include <stdexcept>

#include "text/narrow_text.h"

namespace holvan {

/// The program's one failure: carries its own message (code page 932). It ends
/// the handler that was running; only front ends catch it, at the edge of each
/// event, and show BoxText() in an error box.
class Error : public std::runtime_error {
 public:
  /// system_error: the errno of the system call that failed, or 0.
  explicit Error(NarrowText message, int system_error = 0);

  const NarrowText& message() const { return message_; }
  /// The errno behind the failure, which a terminal adds to the message; 0
  /// when none is known.
  int system_error() const { return system_error_; }
  /// The message as the error box shows it: "." appended when its last byte
  /// sorts after ".".
  NarrowText BoxText() const;

 private:
  NarrowText message_;
  int system_error_;
};

/// "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (%d)"
Error ListIndexError(int32_t index);
/// "行を挿入できません"
Error AppendError();
// Paths are the system's bytes (UTF-8 on Linux); the messages show them
// converted to code page 932.

/// "ﾌｧｲﾙ %s は開けません", for the errno system_error (0: none known).
Error OpenError(std::string_view path, int system_error = 0);
/// "ﾌｧｲﾙ %s を作成できません"
Error CreateError(std::string_view path);
/// "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"
Error WriteError();
/// "文字列の大きさが ﾒﾓ の制限を越えました"
Error CapacityError();
/// "メモリが足りません": an allocation failed. The front ends show it for the
/// event that failed and go on, so that the close can still save.
Error OutOfMemoryError();

}  // namespace holvan
