#include "term/term_front_end.h"

#include "system/system.h"
#include "term/transcript_output.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::term {

using namespace holvan::literals;

TermFrontEnd::TermFrontEnd(const Options& options, Console& console)
    : options_(options), console_(console), talk_caption_("話す"_sj) {}

void TermFrontEnd::SetCaption(const NarrowText& caption) {
  console_.SetTitle(NarrowToUtf8(caption));
}

void TermFrontEnd::TranscriptAppended(const NarrowText& bytes) {
  console_.Write(SaidTextOutput(companion_->Transcript().Text(), bytes));
}

void TermFrontEnd::TranscriptLoaded() {
  console_.Write(LoadedTextOutput(companion_->Transcript().Text()));
}

void TermFrontEnd::SetIdleRemarksEnabled(bool on) {
  if (on && !idle_remarks_ && restart_idle_) restart_idle_();
  idle_remarks_ = on;
}

void TermFrontEnd::RequestClose() {
  companion_->FormClose();
  closed_ = true;
}

void TermFrontEnd::ShowClosingMessage() {
  console_.Write(NarrowToUtf8("終了します　　"_sj) + "\n");
}

void TermFrontEnd::StartProgram(const NarrowText& command_line) {
  system::StartProgram(command_line);
}

uint64_t TermFrontEnd::UptimeMilliseconds() {
  return system::UptimeMilliseconds();
}

uint32_t TermFrontEnd::RandomSeedAtStart() {
  return options_.seed ? *options_.seed : system::SeedFromClock();
}

Moment TermFrontEnd::LocalNow() {
  return options_.now ? *options_.now : system::LocalNow();
}

NarrowText TermFrontEnd::CurrentDirectory() {
  return system::CurrentDirectory();
}

}  // namespace holvan::term
