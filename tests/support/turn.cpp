#include "support/turn.h"

namespace holvan::testing {

bool TalkAndCloseIfAsked(Companion& companion) {
  companion.Button1Click();
  if (!companion.close_requested()) return false;
  companion.FormClose();
  return true;
}

}  // namespace holvan::testing
