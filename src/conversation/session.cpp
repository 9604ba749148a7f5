#include "conversation/session.h"

namespace holvan {

void Session::Say(std::string_view text) {
  const std::size_t appended_size = transcript.Add(text).size();
  view.TranscriptAppended(transcript.Text(), appended_size);
}

}  // namespace holvan
