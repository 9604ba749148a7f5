#include "conversation/look.h"

#include "text/literal.h"

namespace holvan {

using namespace literals;

const Look& ConversationLook() {
  static const Look look{"Holvan", "話す"_sj, true, false};
  return look;
}

const Look& DiaryLook() {
  static const Look look{"日記モード      コマンド: セーブ 削除 終了"_sj,
                         "記入"_sj, false, true};
  return look;
}

}  // namespace holvan
