#include "term/run_event.h"

#include <algorithm>
#include <new>
#include <string>

#include "text/cp932.h"
#include "errors/error.h"

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
  try {
    event();
    return true;
  } catch (const Error& error) {
    Report(console, error);
  } catch (const std::bad_alloc&) {
    // What failed to fit is gone again: the run goes on and can still save.
    Report(console, OutOfMemoryError());
  }
  return false;
}

}  // namespace holvan::term
