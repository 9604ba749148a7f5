#pragma once

namespace holvan {

class SavingWindow;

/// Runs the program's event loop with window as its window until the program
/// ends, and returns the loop's status. The window's start (the loading of
/// its work and any error box it shows) runs inside the loop, so that a quit
/// that arrives while a start-up box waits ends the program as at any other
/// moment.
int RunWindow(SavingWindow& window);

/// Returns status, the program's exit status, once its window has ended and
/// its work is saved; under Wayland it ends the process there instead.
int EndProgram(int status);

}  // namespace holvan
