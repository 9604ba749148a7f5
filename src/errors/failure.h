#pragma once

#include <functional>
#include <optional>

#include "errors/error.h"

namespace holvan {

/// Runs event and gives the failure that ended it, if any: its holvan::Error,
/// or the out-of-memory error for a failed allocation (what failed to fit is
/// gone again, so the program goes on and can still save). For the front
/// ends, at the edge of each event.
std::optional<Error> FailureOf(const std::function<void()>& event);

}  // namespace holvan
