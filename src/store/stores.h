#pragma once

#include "store/brain.h"
#include "store/dictionary.h"
#include "store/phrase_log.h"
#include "text/text_lines.h"

namespace holvan {

/// The four stores the companion keeps for the whole run.
struct Stores {
  Dictionary dictionary;
  Brain brain;
  PhraseLog phrase_log;
  TextLines profile;
};

}  // namespace holvan
