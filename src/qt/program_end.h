#pragma once

#include "qt/saving_window.h"

namespace holvan {

/// Saves the window's work without asking when the program ends other than
/// by its close: the desktop session ending, SIGTERM or SIGHUP (which also
/// end the program), or the application quitting.
void SaveAtProgramEnd(SavingWindow& window);

}  // namespace holvan
