#include "term/term_view.h"

#include "term/transcript_output.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::term {

using namespace holvan::literals;

TermView::TermView(Console& console)
    : console_(console), talk_caption_(ConversationLook().talk_caption) {}

void TermView::SetLook(const Look& look) {
  console_.SetTitle(NarrowToUtf8(look.caption));
  talk_caption_ = look.talk_caption;
}

void TermView::TranscriptAppended(std::string_view text,
                                  std::size_t appended_size) {
  console_.Write(
      SaidTextOutput(text, text.substr(text.size() - appended_size)));
}

void TermView::TranscriptLoaded(std::string_view text) {
  console_.Write(LoadedTextOutput(text));
}

void TermView::SetIdleRemarksEnabled(bool on) {
  if (on == idle_remarks_) return;
  idle_remarks_ = on;
  if (idle_remarks_switched_) idle_remarks_switched_(on);
}

void TermView::ShowClosingMessage() {
  console_.Write(NarrowToUtf8("終了します　　"_sj) + "\n");
}

}  // namespace holvan::term
