#pragma once

#include "text/narrow_text.h"

namespace holvan {

/// How the window looks; diary mode changes all of it at once.
struct Look {
  NarrowText caption;
  /// The Talk button's caption.
  NarrowText talk_caption;
  /// Long lines of the Transcript wrap (true) or run past the right edge.
  bool word_wrap = true;
  /// The standard arrow over the Transcript (true) or its default pointer.
  bool arrow_pointer = false;
};

/// The conversation's look: "Holvan", Talk "話す", wrapping, default pointer.
const Look& ConversationLook();
/// Diary mode's: "日記モード      コマンド: セーブ 削除 終了", Talk "記入", no
/// wrapping, the arrow.
const Look& DiaryLook();

}  // namespace holvan
