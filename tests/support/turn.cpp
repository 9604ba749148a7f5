#include "support/turn.h"

namespace holvan::testing {

bool TalkAndCloseIfAsked(Companion& companion) {
  companion.Talk();
  if (!companion.close_requested()) return false;
  companion.Close();
  return true;
}

}  // namespace holvan::testing
