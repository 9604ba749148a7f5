#include "term/run_event.h"

#include <algorithm>
#include <string>

#include "text/cp932.h"
#include "text/error.h"

namespace holvan::term {

bool RunEvent(Console& console, const std::function<void()>& event) {
  try {
    event();
    return true;
  } catch (const Error& error) {
    // A path in the message may hold a break; the report stays one line.
    std::string line = NarrowToUtf8(error.BoxText());
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; },
        ' ');
    console.WriteErrorLine(line);
    return false;
  }
}

}  // namespace holvan::term
