#include "errors/error.h"

#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace holvan {
namespace {

using namespace literals;

// The message with its "%s" replaced by the path, shown in code page 932.
NarrowText WithPath(const NarrowText& pattern, std::string_view path) {
  NarrowText out = pattern;
  size_t at = out.find("%s");
  if (at != NarrowText::npos) out.replace(at, 2, Utf8ToNarrow(path));
  return out;
}

}  // namespace

Error::Error(NarrowText message, int system_error)
    : std::runtime_error(NarrowToUtf8(message)),
      message_(std::move(message)),
      system_error_(system_error) {}

NarrowText Error::BoxText() const {
  if (!message_.empty() && static_cast<unsigned char>(message_.back()) > '.') {
    return message_ + ".";
  }
  return message_;
}

Error ListIndexError(int32_t index) {
  return Error(FormatText("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (%d)"_sj, {index}));
}

Error AppendError() { return Error("行を挿入できません"_sj); }

Error OpenError(std::string_view path, int system_error) {
  return Error(WithPath("ﾌｧｲﾙ %s は開けません"_sj, path), system_error);
}

Error CreateError(std::string_view path) {
  return Error(WithPath("ﾌｧｲﾙ %s を作成できません"_sj, path));
}

Error WriteError() { return Error("ｽﾄﾘｰﾑへの書き込みｴﾗｰ"_sj); }

Error CapacityError() {
  return Error("文字列の大きさが ﾒﾓ の制限を越えました"_sj);
}

Error OutOfMemoryError() { return Error("メモリが足りません"_sj); }

}  // namespace holvan
