#pragma once

namespace holvan {

class TForm1;

/// Saves the stores without the closing box when the program ends other than
/// by its close: the desktop session ending, SIGTERM or SIGHUP (which also
/// end the program), or the application quitting.
void SaveOnSessionEnd(TForm1& form);

}  // namespace holvan
