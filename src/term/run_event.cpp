#include "term/run_event.h"

#include <algorithm>
#include <optional>
#include <string>

#include "errors/error.h"
#include "errors/failure.h"
#include "text/cp932.h"

namespace holvan::term {
namespace {

// A path in the message may hold a break; the report stays one line.
void Report(Console& console, const Error& error) {
  std::string line = NarrowToUtf8(error.BoxText());
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; },
      ' ');
  console.WriteErrorLine(line);
}

}  // namespace

bool RunEvent(Console& console, const std::function<void()>& event) {
  const std::optional<Error> failure = FailureOf(event);
  if (failure) Report(console, *failure);
  return !failure;
}

}  // namespace holvan::term
