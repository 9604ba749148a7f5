#include "conversation/branches.h"

namespace holvan {

void EnterDiary(Session&) {}
void HandleDiary(Session&, const NarrowText&) {}

}  // namespace holvan
