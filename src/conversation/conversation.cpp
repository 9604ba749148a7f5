#include "conversation/conversation.h"

namespace holvan {

void Conversation::Say(std::string_view text) {
  const std::size_t appended_size = transcript.Add(text).size();
  view.TranscriptAppended(transcript.Text(), appended_size);
}

void Conversation::SayLines(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) Say(line);
}

void Conversation::SayOneOf(std::initializer_list<std::string_view> replies) {
  const int32_t i = random.Below(static_cast<int32_t>(replies.size()));
  Say(replies.begin()[i]);
}

}  // namespace holvan
