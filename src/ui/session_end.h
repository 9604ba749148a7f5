#pragma once

namespace holvan {

class MainWindow;

/// Saves the stores without the closing box when the program ends other than
/// by its close: the desktop session ending, SIGTERM or SIGHUP (which also
/// end the program), or the application quitting.
void SaveOnSessionEnd(MainWindow& window);

}  // namespace holvan
