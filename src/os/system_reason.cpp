#include "os/system_reason.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "os/user_language.h"

namespace holvan {
namespace {

// glibc's Japanese messages come only with a generated ja_JP locale, which
// many systems lack: the common reasons are the program's own.
constexpr std::pair<int, std::string_view> kJapanese[] = {
    {ENOENT, "ファイルがありません"},
    {EACCES, "許可がありません"},
    {EPERM, "許可がありません"},
    {EISDIR, "フォルダです"},
    {ENOTDIR, "フォルダではありません"},
    {ENOSPC, "空き容量がありません"},
    {EDQUOT, "容量の割り当てを超えました"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {EFBIG, "ファイルが大きすぎます"},
    {EIO, "入出力エラー"},
    {ENAMETOOLONG, "名前が長すぎます"},
    {ELOOP, "シンボリックリンクが多すぎます"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "開いているファイルが多すぎます"},
    {ENOMEM, "メモリが足りません"},
    {EEXIST, "すでにあります"},
    {EBUSY, "使用中です"},
    {EPIPE, "読む側が閉じました"},
    {EXDEV, "ファイルシステムをまたいでいます"},
};

}  // namespace

std::string SystemReason(int errnum) {
  if (JapaneseUser()) {
    for (const auto& [number, reason] : kJapanese) {
      if (number == errnum) return std::string(reason);
    }
  }
  // English whatever the locale, or the number when glibc knows no name.
  const char* english = ::strerrordesc_np(errnum);
  return english != nullptr ? english : "error " + std::to_string(errnum);
}

}  // namespace holvan
