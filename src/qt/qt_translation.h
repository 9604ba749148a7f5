#pragma once

namespace holvan {

/// Installs Qt's own Japanese texts (qtbase_ja from Qt's translations folder:
/// the editing menus, the buttons of the boxes) for the rest of the run,
/// whatever the user's locale: the program speaks only Japanese. Returns
/// whether they were found.
bool InstallQtJapanese();

}  // namespace holvan
