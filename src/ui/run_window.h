#pragma once

namespace holvan {

class TForm1;

/// Runs the program's event loop with form1 as its window until the program
/// ends, and returns the loop's status. The window's creation (FormCreate and
/// any error box it shows) runs inside the loop, so that a quit that arrives
/// while a start-up box waits ends the program as at any other moment.
int RunWindow(TForm1& form1);

}  // namespace holvan
