#pragma once

#include "files/text_lines.h"
#include "store/brain.h"
#include "store/dictionary.h"
#include "store/phrase_log.h"

namespace holvan {

/// The four stores the companion keeps for the whole run.
struct Stores {
  Dictionary dictionary;
  Brain brain;
  PhraseLog phrase_log;
  /// holv.dat's lines, which the close writes back with the Profile's fields
  /// in the first seven.
  TextLines profile_lines;
  /// Set while a file may hold data that its store lacks: before start-up
  /// has read it, or because start-up stopped at an unreadable file before
  /// it. The close then leaves that file as it is instead of overwriting it
  /// with an empty store.
  bool brain_unread = true;
  bool phrase_log_unread = true;
  bool profile_unread = true;
};

}  // namespace holvan
