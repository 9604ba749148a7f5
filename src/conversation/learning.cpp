#include "conversation/branches.h"

namespace holvan {

void LearnAndReply(Session&, WideText) {}

}  // namespace holvan
