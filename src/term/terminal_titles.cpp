#include "term/terminal_titles.h"

#include <term.h>
#include <unistd.h>

namespace holvan::term {

bool TerminalTakesTitles() {
  if (isatty(STDOUT_FILENO) != 1) return false;
  int found = 0;
  // 0 for OK (curses.h, with its macros, is not needed for more).
  if (setupterm(nullptr, STDOUT_FILENO, &found) != 0) return false;
  // tigetstr answers (char*)-1 for a name that is no string capability.
  char* status_line = tigetstr("tsl");
  const bool titles =
      tigetflag("XT") > 0 || (tigetflag("hs") > 0 && status_line != nullptr &&
                              status_line != reinterpret_cast<char*>(-1));
  // Readline reads the entry again for itself.
  del_curterm(cur_term);
  return titles;
}

}  // namespace holvan::term
