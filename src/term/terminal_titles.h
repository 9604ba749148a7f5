#pragma once

namespace holvan::term {

/// Whether standard output is a terminal that takes a window title, as its
/// terminfo entry (TERM) says: a status line written with tsl (hs), or the
/// xterm title sequences (XT). Never for TERM=dumb or an unknown terminal.
bool TerminalTakesTitles();

}  // namespace holvan::term
