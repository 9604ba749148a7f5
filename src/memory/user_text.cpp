#include "memory/user_text.h"

#include <cstdio>

#include "errors/error.h"
#include "memory/wording.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

/// "「〜」(U+301C)"
std::string Shown(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof code, "(U+%04X)",
                static_cast<unsigned>(character));
  return "「" + Utf8Of(character) + "」" + code;
}

}  // namespace

NarrowText FromUser(std::string_view utf8) {
  if (!FitsCodePage932(utf8)) {
    throw Error(InCornerBrackets(Utf8ToNarrow(utf8)) +
                "にはコードページ 932 にない文字があります"_sj);
  }
  return Utf8ToNarrow(utf8);
}

std::string ReplacementNotice(std::string_view utf8) {
  std::string notice;
  for (const LookAlike& look_alike : LookAlikesIn(utf8)) {
    notice += notice.empty()
                  ? "コードページ 932 にない文字を似た文字に置き換えました: "
                  : "、";
    notice += Shown(look_alike.given) + " → " + Shown(look_alike.stored);
  }
  return notice;
}

}  // namespace holvan::memory
