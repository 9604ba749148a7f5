#include "conversation/branches.h"

namespace holvan {

void SayIdleRemark(Session&) {}

}  // namespace holvan
