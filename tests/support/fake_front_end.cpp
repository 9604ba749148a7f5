#include "support/fake_front_end.h"

namespace holvan::testing {

void FakeFrontEnd::RequestClose() {
  ++close_requests;
  companion->FormClose();
  closed = true;
}

}  // namespace holvan::testing
