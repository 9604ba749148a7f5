#include "term/version_text.h"

#include "term/transcript_output.h"
#include "text/literal.h"

namespace holvan::term {

using namespace holvan::literals;

std::string VersionText() {
  const NarrowText memo =
      "\r\n"
      "同じフォルダに辞書ファイルを名前\r\n"
      "dic.datで置いておくと，質問して\r\n"
      "聞くことができます。他もろもろ。\r\n"
      "\r\n"
      "詳しくはHPへ\r\n"_sj;
  return "Holvan Ver1.0\n" + TerminalText(memo) +
         TerminalText("(C) Holvan 開発チーム MIT"_sj) + "\n";
}

}  // namespace holvan::term
