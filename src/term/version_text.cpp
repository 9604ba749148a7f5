#include "term/version_text.h"

#include "os/user_language.h"
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

std::string AboutText() {
  // GNU Readline's licence covers the program that links it.
  return VersionText() + "\n" +
         InUserLanguage(
             "この holvan-term は GNU Readline を使うため、GNU GPL "
             "バージョン 3 以降で配布されます\n"
             "（ソースは MIT ライセンスです）。無保証です。\n",
             "This holvan-term binary links GNU Readline and is therefore "
             "distributed\nunder the GNU GPL version 3 or later; its sources "
             "are under the MIT (Expat)\nlicence. There is NO WARRANTY.\n");
}

}  // namespace holvan::term
