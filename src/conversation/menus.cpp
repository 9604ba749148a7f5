#include "conversation/branches.h"

namespace holvan {

bool OpenMenu(Session&, const NarrowText&) { return false; }
void HandleCommandMenu(Session&, const NarrowText&) {}
void HandleAwaitProgram(Session&, const NarrowText&) {}
void HandleQuestionMenu(Session&, const NarrowText&) {}

}  // namespace holvan
