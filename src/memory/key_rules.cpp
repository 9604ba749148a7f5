#include "memory/key_rules.h"

#include "memory/wording.h"
#include "store/definition_list.h"
#include "store/line_forms.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan::memory {

using namespace holvan::literals;

std::optional<NarrowText> NotOneLine(std::string_view text) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) ==
      std::string_view::npos) {
    return std::nullopt;
  }
  return "改行やゼロのバイトは入れられません"_sj;
}

std::optional<NarrowText> Unaskable(std::string_view key) {
  if (key.empty()) return "言葉が空なので、質問で尋ねられません"_sj;
  const int32_t end = QuestionTopicEnd(key);
  if (end == 0) return std::nullopt;
  return InCornerBrackets(key) + "は質問で尋ねられません（"_sj + IntText(end) +
         " 文字目の"_sj + InCornerBrackets(WideCopy(key, end, 1)) +
         "で話題が切れます）"_sj;
}

std::optional<NarrowText> BadFactKey(std::string_view key) {
  if (auto problem = NotOneLine(key)) return problem;
  if (key.empty()) return "言葉が空です"_sj;
  if (SplitDictionaryLine(key)) {
    return "言葉に「*」は使えません（言葉と説明を分ける印です）"_sj;
  }
  return Unaskable(key);
}

std::optional<NarrowText> BadBrainKey(std::string_view key) {
  if (auto problem = NotOneLine(key)) return problem;
  if (key.empty()) return "言葉が空です"_sj;
  // Without "＝" the whole key is the value.
  if (SplitBrainLine(key).value.size() != key.size()) {
    return "言葉に「＝」は使えません（次に読むときそこで分かれます）"_sj;
  }
  return std::nullopt;
}

std::optional<NarrowText> BadDefinition(std::string_view definition) {
  if (auto problem = NotOneLine(definition)) return problem;
  if (definition.empty()) return "意味が空です"_sj;
  if (SplitDefinitions(definition).size() > 1) {
    return "意味に「＊」は使えません（意味を分ける印です）"_sj;
  }
  return std::nullopt;
}

}  // namespace holvan::memory
