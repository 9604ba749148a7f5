#include "conversation/branches.h"

namespace holvan {

void AnswerQuestion(Session&, const NarrowText&) {}
void HandleAwaitDefinition(Session&, const NarrowText&) {}
void HandleAwaitConsent(Session&, const NarrowText&) {}
void HandleAwaitGender(Session&, const NarrowText&) {}

}  // namespace holvan
