#include "conversation/session.h"

namespace holvan {

void Session::Say(std::string_view text) {
  front_end.TranscriptAppended(transcript.Add(text));
}

}  // namespace holvan
