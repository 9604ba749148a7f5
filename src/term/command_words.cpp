#include "term/command_words.h"

#include <array>
#include <span>

namespace holvan::term {
namespace {

constexpr std::array<std::string_view, 6> kConversationWords = {
    "日記", "命令", "質問", "おみくじ", "独り言禁止", "独り言許可"};
constexpr std::array<std::string_view, 4> kDiaryWords = {"セーブ", "削除",
                                                         "終了", "止める"};

}  // namespace

std::vector<std::string> CommandWordsStartingWith(std::string_view typed,
                                                  bool diary) {
  const std::span<const std::string_view> candidates =
      diary ? std::span<const std::string_view>(kDiaryWords)
            : std::span<const std::string_view>(kConversationWords);
  std::vector<std::string> words;
  for (const std::string_view word : candidates) {
    if (word.starts_with(typed)) words.emplace_back(word);
  }
  return words;
}

}  // namespace holvan::term
