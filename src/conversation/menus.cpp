#include <algorithm>
#include <cstdint>
#include <limits>

#include "conversation/branches.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {

using namespace literals;

namespace {

/// The menu number 1 to 4 that the line is, in ASCII or full-width digits
/// with nothing around it; 0 for anything else.
int MenuNumber(const NarrowText& line) {
  static const NarrowText* const kFullWidth[] = {&"１"_sj, &"２"_sj, &"３"_sj,
                                                 &"４"_sj};
  for (int d = 1; d <= 4; ++d) {
    if (TextEquals(line, NarrowText(1, static_cast<char>('0' + d))) ||
        TextEquals(line, *kFullWidth[d - 1])) {
      return d;
    }
  }
  return 0;
}

/// What a menu says to any other answer.
const NarrowText& NotUnderstood() {
  return "何を言っているのかわかりません"_sj;
}

void ReportUptime(Conversation& conversation) {
  const uint64_t seconds = conversation.platform.UptimeMilliseconds() / 1000;
  // Kept 64-bit up to here so that long uptimes stay right; the hours only
  // overflow after some 245000 years.
  const auto hours = static_cast<int32_t>(
      std::min<uint64_t>(seconds / 3600, std::numeric_limits<int32_t>::max()));
  const auto minutes = static_cast<int32_t>(seconds / 60 % 60);
  const auto rest = static_cast<int32_t>(seconds % 60);
  conversation.Say(FormatText("パソコンを起動してから %d時間%d分%d秒"_sj,
                              {hours, minutes, rest}));
  if (hours > 5) {
    conversation.Say(IntText(hours) +
                     "時間ですか たまには目を休めて下さいね"_sj);
  }
}

}  // namespace

bool OpenMenu(Conversation& conversation, const NarrowText& line) {
  if (StartsWith(line, "命令"_sj) || TextEquals(line, "command")) {
    conversation.SayLines({"何かしますか？"_sj,
                           "１: マインスイーパ起動 ２: メモ帳起動"_sj,
                           "３: 電卓起動 ４: 起動させるプログラム名を言う"_sj,
                           "番号を言って下さい たぶんできます"_sj});
    conversation.state.mode = Mode::kCommandMenu;
    return true;
  }
  if (StartsWith(line, "質問"_sj)) {
    conversation.SayLines({"なんでしょう？"_sj,
                           "１: パソコンを起動してからの時間が知りたい"_sj,
                           "番号を言って下さい 調べてみます"_sj});
    conversation.state.mode = Mode::kQuestionMenu;
    return true;
  }
  return false;
}

void HandleCommandMenu(Conversation& conversation, const NarrowText& line) {
  // The programs of numbers 1 to 3; 4 asks for a program's command line.
  static constexpr std::string_view kPrograms[] = {"winmine.exe", "notepad.exe",
                                                   "calc.exe"};
  const int number = MenuNumber(line);
  if (number == 4) {
    conversation.Say("それでは言ってみて下さい"_sj);
    conversation.state.mode = Mode::kAwaitProgram;
    return;
  }
  if (number > 0) {
    conversation.platform.StartProgram(NarrowText(kPrograms[number - 1]));
  } else {
    conversation.Say(NotUnderstood());
  }
  conversation.state.mode = Mode::kFree;
}

void HandleAwaitProgram(Conversation& conversation, const NarrowText& line) {
  conversation.platform.StartProgram(line);
  conversation.state.mode = Mode::kFree;
}

void HandleQuestionMenu(Conversation& conversation, const NarrowText& line) {
  if (MenuNumber(line) == 1) {
    ReportUptime(conversation);
  } else {
    conversation.Say(NotUnderstood());
  }
  conversation.state.mode = Mode::kFree;
}

}  // namespace holvan
