#include "conversation/branches.h"

namespace holvan {

void ReactToStatement(Session&, const WideText&) {}

}  // namespace holvan
