#pragma once

#include <string>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan::memory {

/// A text the user typed or gave (UTF-8) as code page 932; raises when it
/// holds a character the code page lacks and has nothing like, rather than
/// store another one. A character that the code page lacks but has a
/// look-alike for is stored as the look-alike: ReplacementNotice tells which.
NarrowText FromUser(std::string_view utf8);

/// What FromUser stores in place of the characters of utf8 that code page 932
/// lacks, for the user, in UTF-8: "コードページ 932 にない文字を似た文字に
/// 置き換えました: 「〜」(U+301C) → 「～」(U+FF5E)"; empty when nothing is
/// replaced.
std::string ReplacementNotice(std::string_view utf8);

}  // namespace holvan::memory
