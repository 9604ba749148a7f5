#include "support/fuzz_front_end.h"

namespace holvan::fuzz {

void FuzzFrontEnd::RequestClose() {
  companion->FormClose();
  closed = true;
}

}  // namespace holvan::fuzz
