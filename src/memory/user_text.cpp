#include "memory/user_text.h"

#include "errors/error.h"
#include "memory/wording.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {

using namespace holvan::literals;

NarrowText FromUser(std::string_view utf8) {
  if (!FitsCodePage932(utf8)) {
    throw Error(Quoted(Utf8ToNarrow(utf8)) +
                "にはコードページ 932 にない文字があります"_sj);
  }
  return Utf8ToNarrow(utf8);
}

}  // namespace holvan::memory
